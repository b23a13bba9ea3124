// What a new drawing resets, and what a drawing that is not taken leaves.
#include "import/shapes.h"
#include "planning/new_drawing.h"
#include "planning/walls.h"
#include "records/job.h"
#include "records/notice.h"
#include "tests/import/drawing.h"
#include "tests/support/support.h"

namespace {

using NewDrawing = ProgramDirTest;

TEST_F(NewDrawing, ResetsWhatBelongedToTheDrawingBefore) {
    write("two.dxf", Drawing().square().square().text());
    write("empty.dxf", Drawing().text());
    auto worked_on = [] {
        shapes.selected = 2;
        job.toggle = 0;
        job.pause = 3;
        wall_list.walls = 1;
        wall_list.l_a_dimensions[0] = 12.0f;
    };
    for (const char* name : {"missing.dxf", "empty.dxf"}) {
        SCOPED_TRACE(name);
        worked_on();
        EXPECT_NE(load_new_drawing(dir.file(name)), DrawingLoad::loaded);
        EXPECT_EQ(std::vector<int>({shapes.selected, job.toggle, job.pause}),
                  std::vector<int>({2, 0, 3}));
        EXPECT_EQ(wall_list.l_a_dimensions[0], 12.0f);
    }
    take_notices();
    ASSERT_EQ(load_new_drawing(dir.file("two.dxf")), DrawingLoad::loaded);
    EXPECT_EQ(std::vector<int>({shapes.selected, job.toggle, job.pause}),
              std::vector<int>({1, 1, 0}));
    EXPECT_EQ(wall_list.l_a_dimensions[0], 0.0f);
    EXPECT_EQ(wall_list.walls, 1);  // a job end before the next plan reads a last wall of 0
}

}  // namespace
