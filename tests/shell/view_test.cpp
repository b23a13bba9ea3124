// The shape view: what is painted, where, and in which pen.
#include <algorithm>
#include <cmath>

#include "import/shapes.h"
#include "records/job.h"
#include "records/notice.h"
#include "records/settings.h"
#include "shell/view.h"
#include "shell/window_state.h"
#include "tests/support/support.h"
#include "tests/support/ui.h"

namespace {

class View : public ::testing::Test {
protected:
    void SetUp() override {
        reset_all_state();
        settings.XOFFSET = 100;
        settings.YOFFSET = 400;
        settings.direction = 1;
        win.button_x = 460;
    }
    void TearDown() override { reset_all_state(); }

    // Screen point lists as the drawing's point builder makes them.
    void points(std::vector<std::vector<PTS>> figures) {
        int w = 0;
        for (auto& f : figures) {
            shapes.points[w++] = {kPointMarker, 0};
            for (auto& p : f) shapes.points[w++] = p;
        }
        shapes.points[w] = {0, kPointMarker};
        shapes.objects = static_cast<int>(figures.size());
        shapes.selected = 1;
        shapes.PointsLoaded = 1;
    }
    std::vector<std::string> paint() {
        RecordingCanvas c;
        zelPaint(c);
        return c.calls;
    }
    // Square A(0,0) B(30,0) C(30,30) D(0,30), 3 screen units per drawing unit.
    std::vector<PTS> square() { return {{0, 0}, {30, 0}, {30, 30}, {0, 30}, {0, 0}}; }
};

bool has(const std::vector<std::string>& calls, const std::string& call) {
    return std::find(calls.begin(), calls.end(), call) != calls.end();
}

TEST_F(View, NothingButTheTextsBeforeADrawing) {
    EXPECT_EQ(paint(), (std::vector<std::string>{"text 565 20 No tabs"}));
    message_line.err = 1;
    message_line.record = "*** Error communicating with controller";
    settings.tab = 3;
    win.button_x = 545;
    EXPECT_EQ(paint(), (std::vector<std::string>{
                           "text 650 20 Both tabs",
                           "text 150 100 *** Error communicating with controller",
                           "text 150 120 Click anywhere to clear this message"}));
    settings.tab = 7;
    message_line.err = 0;
    EXPECT_TRUE(paint().empty());
}

// The calls the view has always made come first, unchanged; the marks of
// where the strip starts and divides are drawn after them.
TEST_F(View, WindowPositionsAtZoomOneAndTwo) {
    points({{{30, 60}, {60, 60}}});  // drawing (10, 20) to (20, 20)
    EXPECT_EQ(paint(), (std::vector<std::string>{
                           "pen 0 0 255", "rect 128 338 132 342", "move 130 340", "line 160 340",
                           "pen 0 0 0", "text 565 20 No tabs",
                           // the arrow, 8 pixels beside the line
                           "pen 0 0 255", "move 130 348", "line 154 348", "line 147 352",
                           "move 154 348", "line 147 344", "pen 0 0 0"}));
    win.zoom = 2;
    EXPECT_TRUE(has(paint(), "move 160 280"));
}

TEST_F(View, SelectedFigureInColourTheOthersInBlack) {
    points({square(), square(), square()});
    shapes.selected = 2;
    settings.direction = 0;
    auto calls = paint();
    std::vector<std::string> pens;
    for (auto& c : calls) {
        if (c.rfind("text", 0) == 0) break;  // the figures end with the tab text
        if (c.rfind("pen", 0) == 0) pens.push_back(c);
    }
    EXPECT_EQ(pens, (std::vector<std::string>{"pen 0 0 0", "pen 255 0 0", "pen 0 0 0",
                                              "pen 0 0 0"}));
}

// The arrow stands on the outside of the figure, beside its first line, and
// points along it: below the bottom line of a square drawn counter-clockwise,
// left of the first line of one drawn clockwise (up the screen from A).
TEST_F(View, StartArrowPointsAlongTheFirstLineOutsideTheFigure) {
    const std::vector<std::string> arrow_under_ab = {
        "pen 0 0 255", "move 100 408", "line 124 408", "line 117 412",
        "move 124 408", "line 117 404", "pen 0 0 0"};
    points({square()});
    auto calls = paint();
    EXPECT_EQ(std::vector<std::string>(calls.end() - 7, calls.end()), arrow_under_ab);

    points({{{0, 0}, {0, 30}, {30, 30}, {30, 0}, {0, 0}}});
    calls = paint();
    EXPECT_EQ(std::vector<std::string>(calls.end() - 6, calls.end()),
              (std::vector<std::string>{"move 92 400", "line 92 376", "line 88 383",
                                        "move 92 376", "line 96 383", "pen 0 0 0"}));

    // The same size at any zoom, on the figure where it is drawn; none for a
    // figure whose points all lie on its start.
    win.zoom = 3;
    win.pan_x = -40;
    calls = paint();
    EXPECT_TRUE(has(calls, "move 52 400"));
    EXPECT_TRUE(has(calls, "line 52 376"));
    points({{{6, 6}, {6, 6}}});
    calls = paint();
    EXPECT_EQ(calls.back(), "text 565 20 No tabs");
}

TEST_F(View, DivideLabelWhereverTheDivideIsSet) {
    points({square()});
    job.toggle = 0;
    job.pause = 3;
    EXPECT_EQ(paint().back(), "text 136 374 Divide");  // beside C at (130, 370)
    job.toggle = 1;  // out of divide mode the job still divides there
    auto calls = paint();
    EXPECT_EQ(calls.back(), "text 136 374 Divide");
    EXPECT_FALSE(has(calls, "rect 128 368 132 372"));
    job.pause = 0;
    EXPECT_FALSE(has(paint(), "text 136 374 Divide"));
}

TEST_F(View, ControlPointMarksOnEveryPointButTheLast) {
    points({square()});
    win.cp = 1;
    auto calls = paint();
    int small = 0;
    for (auto& c : calls) {
        int l, t, r, b;
        if (std::sscanf(c.c_str(), "rect %d %d %d %d", &l, &t, &r, &b) == 4 && r - l == 2) ++small;
    }
    EXPECT_EQ(small, 4);
    EXPECT_TRUE(has(calls, "rect 98 398 102 402"));   // the start mark
    EXPECT_TRUE(has(calls, "rect 99 399 101 401"));   // and a control mark on A
    EXPECT_TRUE(has(calls, "rect 129 369 131 371"));  // on C
}

TEST_F(View, DivideMarkOnThePauseThPoint) {
    points({square()});
    job.toggle = 0;
    job.pause = 3;
    auto calls = paint();
    EXPECT_TRUE(has(calls, "rect 128 368 132 372"));  // C at (130, 370)
    job.pause = 6;  // beyond the last line: no mark
    calls = paint();
    EXPECT_EQ(std::count_if(calls.begin(), calls.end(),
                            [](auto& c) { return c.rfind("rect", 0) == 0; }),
              1);
    job.toggle = 1;
    job.pause = 3;
    EXPECT_FALSE(has(paint(), "rect 128 368 132 372"));
}

// A circle of two arcs is painted as two arcs through their middle points,
// drawn as short lines on the circle, not as a diamond of chords.
TEST_F(View, ArcsArePaintedAsArcs) {
    points({{{0, 0}, {30, 30}, {60, 0}, {30, -30}, {0, 0}}});  // centre (30, 0), radius 30
    shapes.tp[0] = kArc;
    shapes.tp[1] = kArc;
    shapes.tp[2] = kFigureEnd;
    shapes.tp[3] = kTableEnd;
    auto calls = paint();
    EXPECT_TRUE(has(calls, "arc 130 370 160 400"));
    EXPECT_TRUE(has(calls, "arc 130 430 100 400"));
    EXPECT_FALSE(has(calls, "line 130 370"));

    std::vector<PixelPoint> half = arc_points(100, 400, 130, 370, 160, 400);
    EXPECT_GT(half.size(), 15u);
    EXPECT_EQ(half.back(), (PixelPoint{160, 400}));
    for (PixelPoint p : half) EXPECT_NEAR(std::hypot(p.x - 130, p.y - 400), 30, 0.75);
    EXPECT_LT(std::min_element(half.begin(), half.end(), [](auto a, auto b) { return a.y < b.y; })->y,
              372);  // over the top, the way through the middle point
    // Three points on a line, or too close to curve, stay chords.
    for (auto [mx, my] : {std::pair{120, 400}, std::pair{101, 401}})
        EXPECT_EQ(arc_points(100, 400, mx, my, 140, 400),
                  (std::vector<PixelPoint>{{mx, my}, {140, 400}}));
}

}  // namespace
