// Start point rotation, picking by the outline and the selection commands.
#include <cstring>

#include "import/select.h"
#include "records/job.h"
#include "records/settings.h"
#include "tests/import/drawing.h"
#include "tests/support/support.h"

namespace {

class Selection : public ProgramDirTest {
protected:
    void SetUp() override {
        ProgramDirTest::SetUp();
        settings.closed_figure = 1;
    }
};

const std::string kSquare = "L 0,0>1,0 L 1,0>1,1 L 1,1>0,1 L 0,1>0,0 |0,0";

TEST_F(Selection, RotateTurnsTheSquareBothWays) {
    load_text(Drawing().square().text());
    rotate(1, 1);
    EXPECT_EQ(entries(), "L 1,0>1,1 L 1,1>0,1 L 0,1>0,0 L 0,0>1,0 |0,0 $");
    EXPECT_EQ(screen_points(), "M 3,0 3,3 0,3 0,0 3,0 $");
    for (int i = 0; i < 3; ++i) rotate(1, 1);
    EXPECT_EQ(entries(), kSquare + " $");
    rotate(-1, 1);
    EXPECT_EQ(entries(), "L 0,1>0,0 L 0,0>1,0 L 1,0>1,1 L 1,1>0,1 |0,0 $");
}

TEST_F(Selection, RotateMovesArcsWholeAndLeavesOtherFiguresAlone) {
    load_text(Drawing().square().polyline().vertex(2, 0, 1.0).vertex(4, 0).vertex(3, 1).text());
    const std::string arc = "A 2,0>3,-1>4,0";
    ASSERT_EQ(entries(), kSquare + " " + arc + " L 4,0>3,1 L 3,1>2,0 |0,0 $");
    rotate(1, 2);
    EXPECT_EQ(entries(), kSquare + " L 4,0>3,1 L 3,1>2,0 " + arc + " |0,0 $");
    rotate(-1, 2);
    rotate(-1, 2);
    EXPECT_EQ(entries(), kSquare + " L 3,1>2,0 " + arc + " L 4,0>3,1 |0,0 $");
    EXPECT_EQ(screen_points(), "M 0,0 3,0 3,3 0,3 0,0 M 9,3 6,0 9,-3 12,0 9,3 $");
}

TEST_F(Selection, WithoutTheFigureTheTablesStayAsTheyAre) {
    load_text(Drawing().square().text());
    ShapeTables before = shapes;
    rotate(1, 2);
    rotate(-1, 0);
    rotate(0, 1);  // rebuilds the same point list
    EXPECT_EQ(std::memcmp(&before, &shapes, sizeof before), 0);

    reset_shapes();  // as before the first drawing
    before = shapes;
    rotate(1, 1);
    select_next();
    EXPECT_EQ(get_selected(0, 0, 100), 0);
    EXPECT_EQ(std::memcmp(&before, &shapes, sizeof before), 0);
}

// On the screen: a square with corners 30 units apart, a triangle with an
// arc (60,0)-(63,-3)-(66,0)-(63,3), and a triangle touching it at (66,0).
std::string three_figures() {
    Drawing d;
    d.polyline().vertex(0, 0).vertex(10, 0).vertex(10, 10).vertex(0, 10);
    d.polyline().vertex(20, 0, 1.0).vertex(22, 0).vertex(21, 1);
    d.polyline().vertex(22, 0).vertex(24, 0).vertex(23, 1);
    return d.text();
}

// The outline is hit anywhere along its lines, up to the reach and no
// further; the nearest figure wins, and of two as near the first.
TEST_F(Selection, HitAnywhereOnTheOutlineWithinTheReach) {
    load_text(three_figures());
    ASSERT_EQ(screen_points(),
              "M 0,0 30,0 30,30 0,30 0,0 M 60,0 63,-3 66,0 63,3 60,0 "
              "M 66,0 72,0 69,3 66,0 $");
    shapes.selected = 3;
    const struct {
        double x, y, reach;
        int hit;
    } cases[] = {
        {15, 5, 6, 1},        // inside, 5 above the bottom line's middle
        {15, -6, 6, 1},       // just within the reach below it
        {15, -6.01, 6, 0},    // just beyond
        {36, 0, 6, 1},        // past the line's end, 6 from the corner
        {-5, -5, 6, 0},       // off the corner by more than 6
        {15, 15, 6, 0},       // the middle of the square: empty space
        {63, -3, 6, 2},       // an arc's middle point
        {61.5, -1.5, 0.1, 2}, // on the chord to it
        {48, 0, 20, 2},       // between two figures: the nearer one
        {40, 0, 20, 1},
        {66, 0, 6, 2},        // shared by figures 2 and 3: the first wins
        {69, 1, 6, 3},        // 1 from figure 3, 3.2 from figure 2
        {kPointMarker, 0, 6, 0},  // markers are not drawn points
    };
    for (const auto& c : cases)
        EXPECT_EQ(get_selected(c.x, c.y, c.reach), c.hit) << c.x << "," << c.y;
    EXPECT_EQ(shapes.selected, 3);  // the test alone changes nothing
}

TEST_F(Selection, NextCommand) {
    job.toggle = 0;
    select_next();  // no drawing yet: nothing happens
    EXPECT_EQ(shapes.selected, 0);
    EXPECT_EQ(job.toggle, 0);

    load_text(three_figures());
    auto divide_mode = [] {
        job.pause = 4;
        job.toggle = 0;
        job.whole_job = 1;
        job.repeat_count = 3;
    };
    auto start_point_mode = [] {
        return job.pause == 0 && job.toggle == 1 && job.whole_job == 0 && job.repeat_count == 1;
    };
    shapes.selected = 2;
    divide_mode();
    select_next();
    EXPECT_EQ(shapes.selected, 3);
    EXPECT_TRUE(start_point_mode());
    select_next();
    EXPECT_EQ(shapes.selected, 1);
}

}  // namespace
