// A figure whose walls do not come out as lengths the machine can feed is not
// planned, so nothing is moved or counted for it.
#include <cfloat>
#include <cmath>

#include "import/shapes.h"
#include "planning/walls.h"
#include "records/notice.h"
#include "records/settings.h"
#include "sequencing/jobrun.h"
#include "tests/support/figures.h"
#include "tests/support/support.h"

namespace {

using Unmeasurable = PlanningTest;

TEST_F(Unmeasurable, WallsOrTotalsThatAreNoNumbersAreRefused) {
    const float inf = INFINITY, nan = NAN, big = FLT_MAX / 2;
    struct Case {
        std::vector<Vertex> figure;
        const char* says;
    };
    const Case cases[] = {
        {{{0, 0}, {inf, 0}, {0, 5}}, "Figure 1 was not planned: wall 1 comes out as inf in."},
        {{{0, 0}, {5, 0}, {5, nan}, {0, 0}},
         "Figure 1 was not planned: its element 2 has a point that is not a number"},
        {{{0, 0}, {big, 0}, {0, 0}, {big, 0}},
         "its walls add up to inf in., more than the machine can feed"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.says);
        load_figures({c.figure});
        EXPECT_FALSE(plan_job());
        EXPECT_EQ(wall_list.walls, 0);
        EXPECT_EQ(wall_list.l_a_dimensions[0], kWallEnd);
        auto notes = take_notices();
        ASSERT_EQ(notes.size(), 1u);
        EXPECT_NE(notes[0].find(c.says), std::string::npos) << notes[0];
        EXPECT_EQ(Run_Job(1), 0.0f);
        take_notices();
    }
}

}  // namespace
