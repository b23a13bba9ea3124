// The view's transform: where a point is drawn, fit, zoom about a point,
// the zoom buttons and the scroll bars, on literal numbers.
#include <gtest/gtest.h>

#include <array>
#include <climits>

#include "shell/viewport.h"

namespace {

TEST(Viewport, WindowPositionsAndBack) {
    EXPECT_EQ(to_window({0.5, 10.25, 20}, {3, -3}), (WinPoint{12, 22}));  // 11.75, 21.5
    FramePoint f = to_frame({2, 100, 400}, 160, 280);
    EXPECT_EQ(f.x, 30);
    EXPECT_EQ(f.y, 60);
}

TEST(Viewport, PixelsRoundToTheNearestAndStayWithinAnInt) {
    const struct {
        double v;
        int pixel;
    } cases[] = {{2.5, 3}, {2.49, 2}, {-2.5, -2}, {-2.51, -3}, {1e12, INT_MAX}, {-1e12, INT_MIN}};
    for (const auto& c : cases) EXPECT_EQ(pixel(c.v), c.pixel) << c.v;
}

TEST(Viewport, ExtentOfTheDrawnPointsOnly) {
    std::array<PTS, 7> list{{{kPointMarker, 0}, {3, -6}, {9, 12}, {kPointMarker, 0}, {-3, 0},
                             {0, kPointMarker}, {500, 500}}};
    auto e = extent_of(list);
    ASSERT_TRUE(e);
    EXPECT_EQ(e->xmin, -3);
    EXPECT_EQ(e->xmax, 9);
    EXPECT_EQ(e->ymin, -6);
    EXPECT_EQ(e->ymax, 12);
    std::array<PTS, 2> empty{{{kPointMarker, 0}, {0, kPointMarker}}};
    EXPECT_FALSE(extent_of(empty));
}

TEST(Viewport, FitCentresTheDrawingAtTheLargestScaleThatFits) {
    // 100 x 50 units into 200 x 50 pixels: the height decides, scale 1.
    ViewTransform v = fitted({0, 0, 100, 50}, {10, 10, 210, 60}, 3);
    EXPECT_EQ(v.scale, 1);
    EXPECT_EQ(v.ox, 60);  // the drawing runs 60 to 160, centred in 10 to 210
    EXPECT_EQ(v.oy, 60);
    // 10 x 40 units into 400 x 400: scale 10, the extent's centre (5, 20) at (200, 200).
    v = fitted({0, 0, 10, 40}, {0, 0, 400, 400}, 3);
    EXPECT_EQ(v.scale, 10);
    EXPECT_EQ(v.ox, 150);
    EXPECT_EQ(v.oy, 400);
    // A straight line across: its length decides. A single point keeps the scale.
    EXPECT_EQ(fitted({-50, 7, 50, 7}, {0, 0, 400, 300}, 3).scale, 4);
    v = fitted({6, 6, 6, 6}, {0, 0, 400, 300}, 3);
    EXPECT_EQ(v.scale, 3);
    EXPECT_EQ(to_window(v, {6, 6}), (WinPoint{200, 150}));
    // Within the zoom limits.
    EXPECT_EQ(fitted({0, 0, 1, 1}, {0, 0, 1000, 1000}, 1).scale, kMaxZoom);
    EXPECT_EQ(fitted({-32766, 0, 32766, 1}, {0, 0, 100, 100}, 1).scale, kMinZoom);
}

TEST(Viewport, ZoomAboutAPointKeepsTheDrawingPointUnderIt) {
    ViewTransform v{1, 100, 400};
    ViewTransform z = zoomed_about(v, 2, 130, 340);  // on drawing point (30, 60)
    EXPECT_EQ(z.scale, 2);
    EXPECT_EQ(to_window(z, {30, 60}), (WinPoint{130, 340}));
    EXPECT_EQ(z.ox, 70);
    EXPECT_EQ(z.oy, 460);
    // Beyond the limits the scale stops there, and the point still stays.
    z = zoomed_about({50, 0, 0}, 4, 10, 20);
    EXPECT_EQ(z.scale, kMaxZoom);
    EXPECT_EQ(z.ox, -10);
    EXPECT_EQ(z.oy, -20);
    EXPECT_EQ(zoomed_about({0.02, 0, 0}, 0.1, 0, 0).scale, kMinZoom);
}

TEST(Viewport, ZoomButtonsStepToWholeNumbers) {
    const struct {
        double zoom;
        int step;
        double to;
    } cases[] = {
        {1, 1, 2},   {2, 1, 3},     {2.4, 1, 3},   {0.3, 1, 1},   {kMaxZoom, 1, kMaxZoom},
        {1, -1, 1},  {3, -1, 2},    {2.4, -1, 2},  {1.5, -1, 1},  {0.3, -1, 0.3},
    };
    for (const auto& c : cases) EXPECT_EQ(button_zoom(c.zoom, c.step), c.to) << c.zoom << c.step;
}

TEST(Viewport, ScrollRangeFromTheDrawingsStartToItsEndTakingInTheView) {
    const struct {
        double origin, start, end, area_start, area_end;
        ScrollRange range;
    } cases[] = {
        // A drawing wider than the area, its start 100 left of the area.
        {-40, -80, 900, 20, 780, {-60, 160, 760, 40}},
        // One that fits: it may go from the area's start to its end.
        {60, 60, 160, 20, 780, {-680, -20, 760, -60}},
        // Wholly outside, to the right: the range reaches back to the view.
        {1000, 1000, 1100, 20, 780, {-1000, -20, 760, -1000}},
    };
    for (const auto& c : cases) {
        ScrollRange r = scroll_range(c.origin, c.start, c.end, c.area_start, c.area_end);
        EXPECT_EQ(r, c.range) << r.min << " " << r.max << " " << r.page << " " << r.value;
    }
}

TEST(Viewport, ShowsInWhenAnyPixelIsInTheArea) {
    Area area{0, 45, 800, 600};
    const struct {
        Area box;
        bool shows;
    } cases[] = {
        {{-50, 300, 0, 350}, true},   {{-50, 300, -1, 350}, false},  // at column 0, left of it
        {{800, 300, 900, 350}, false}, {{100, 0, 200, 45}, true},     // right of it, on row 45
        {{100, 0, 200, 44.9}, false},  {{-10, 40, 900, 700}, true},   // behind the buttons, round
    };
    for (const auto& c : cases) EXPECT_EQ(shows_in(c.box, area), c.shows) << c.box.left;
}

}  // namespace
