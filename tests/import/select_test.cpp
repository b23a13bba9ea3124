// Start point rotation, hit testing and the selection commands.
#include <cstring>

#include "import/select.h"
#include "shell/settings.h"
#include "shell/window_state.h"
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

    load_text("  0\nEOF\n");
    before = shapes;
    rotate(1, 1);
    select_next();
    select_at(0, 0);
    EXPECT_EQ(get_selected(0, 0), 1);
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

constexpr int kNone = 7;  // the selection before the click, kept on a miss

TEST_F(Selection, HitNeedsLessThanTenPixelsBothWays) {
    load_text(three_figures());
    ASSERT_EQ(screen_points(),
              "M 0,0 30,0 30,30 0,30 0,0 M 60,0 63,-3 66,0 63,3 60,0 "
              "M 66,0 72,0 69,3 66,0 $");
    shapes.selected = kNone;
    EXPECT_EQ(get_selected(21, 39), 1);  // 9 left of and 9 above the corner (30, 30)
    EXPECT_EQ(get_selected(39, 21), 1);
    EXPECT_EQ(get_selected(20, 30), kNone);
    EXPECT_EQ(get_selected(30, 40), kNone);
    EXPECT_EQ(get_selected(63, -12), 2);  // an arc's middle point
    EXPECT_EQ(get_selected(66, 0), 2);    // shared by figures 2 and 3: the first wins
    EXPECT_EQ(get_selected(81, 0), 3);
    EXPECT_EQ(get_selected(kPointMarker, 0), kNone);  // markers are not drawn points

    win.zoom = 2;  // the corner is drawn at (60, 60)
    EXPECT_EQ(get_selected(51, 69), 1);
    EXPECT_EQ(get_selected(50, 60), kNone);
    EXPECT_EQ(get_selected(21, 39), kNone);
}

TEST_F(Selection, NextAndClickCommands) {
    win.toggle = 0;
    select_next();  // no drawing yet: nothing happens
    select_at(0, 0);
    EXPECT_EQ(shapes.selected, 0);
    EXPECT_EQ(win.toggle, 0);

    load_text(three_figures());
    auto divide_mode = [] {
        win.pause = 4;
        win.toggle = 0;
        win.whole_job = 1;
        win.repeat_count = 3;
    };
    auto start_point_mode = [] {
        return win.pause == 0 && win.toggle == 1 && win.whole_job == 0 && win.repeat_count == 1;
    };
    shapes.selected = 2;
    divide_mode();
    select_next();
    EXPECT_EQ(shapes.selected, 3);
    EXPECT_TRUE(start_point_mode());
    select_next();
    EXPECT_EQ(shapes.selected, 1);

    settings.XOFFSET = 100;  // the view frame is (x - XOFFSET, YOFFSET - y)
    settings.YOFFSET = 400;
    divide_mode();
    select_at(100 + 63, 400 + 12);
    EXPECT_EQ(shapes.selected, 2);
    EXPECT_TRUE(start_point_mode());
    divide_mode();
    select_at(0, 0);  // a miss keeps the figure, not the divide mode
    EXPECT_EQ(shapes.selected, 2);
    EXPECT_TRUE(start_point_mode());
    settings.XOFFSET = INT32_MIN;
    select_at(INT32_MAX, 0);
    EXPECT_EQ(shapes.selected, 2);
}

}  // namespace
