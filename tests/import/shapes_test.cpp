// The screen point list and the middle points of bulge arcs.
#include <cmath>
#include <limits>

#include "import/dxf.h"
#include "import/shapes.h"
#include "tests/import/drawing.h"
#include "tests/support/support.h"

namespace {

using Plot = ProgramDirTest;
using Polyarc = ProgramDirTest;

void put(int k, int tp, float x1, float y1, float x3, float y3, float x5 = 0, float y5 = 0) {
    shapes.tp[k] = tp;
    shapes.p1[k] = x1;
    shapes.p2[k] = y1;
    shapes.p3[k] = x3;
    shapes.p4[k] = y3;
    shapes.p5[k] = x5;
    shapes.p6[k] = y5;
}

TEST_F(Plot, LinesGiveOnePointArcsTwoFiguresAMarkerEach) {
    put(0, kLine, 0, 0, 1.9f, -1.9f);
    put(1, kArc, 1.9f, -1.9f, 2, 0, 1, 1);
    put(2, kFigureEnd, 1, 1, 0, 0);
    put(3, kLine, -0.5f, 0.34f, 10922, -10922);
    put(4, kFigureEnd, 10922, -10922, 0, 0);
    shapes.tp[5] = kTableEnd;
    plot();
    // Three per unit, truncated toward zero: 5.7 is 5 and -5.7 is -5.
    EXPECT_EQ(screen_points(), "M 0,0 5,-5 6,0 3,3 M -1,1 32766,-32766 $");
}

TEST_F(Plot, FarCoordinatesNeverTakeTheMarkerValue) {
    put(0, kLine, -10922.4f, 1e30f, -1e30f, std::numeric_limits<float>::quiet_NaN());
    put(1, kFigureEnd, 0, 0, 0, 0);
    shapes.tp[2] = kTableEnd;
    plot();
    EXPECT_EQ(screen_points(), "M -32766,32766 -32766,0 $");
}

TEST_F(Plot, TablesNeverLoadedGiveAListWithItsEnd) {
    plot();
    EXPECT_EQ(shapes.points[0].x, kPointMarker);
    EXPECT_EQ(shapes.points[2 + kShapeEntries].y, kPointMarker);
}

struct Middle {
    float x, y;
};

Middle middle(float x1, float y1, float x2, float y2, double bulge) {
    put(7, kArc, x1, y1, 0, 0, x2, y2);
    dxf.spoint = bulge;
    polyarc(7);
    return {shapes.p3[7], shapes.p4[7]};
}

TEST_F(Polyarc, UpToAHalfCircle) {
    Middle m = middle(1, 0, -1, 0, 1.0);
    EXPECT_NEAR(m.x, 0.0f, 1e-7);  // pi is rounded to a float
    EXPECT_EQ(m.y, 1.0f);
    m = middle(1, 0, -1, 0, -1.0);
    EXPECT_NEAR(m.x, 0.0f, 1e-7);
    EXPECT_EQ(m.y, -1.0f);
    m = middle(0, 0, 2, 0, 0.5);
    EXPECT_EQ(m.x, 1.0f);
    EXPECT_EQ(m.y, -0.5f);
    m = middle(0, 0, 2, 0, -0.5);
    EXPECT_EQ(m.y, 0.5f);
    m = middle(3, 1, 5, 5, 0.0);  // on the chord's midpoint
    EXPECT_FLOAT_EQ(m.x, 4.0f);
    EXPECT_FLOAT_EQ(m.y, 3.0f);
    m = middle(2, 3, 2, 3, 1.0);  // no chord: the start point
    EXPECT_EQ(m.x, 2.0f);
    EXPECT_EQ(m.y, 3.0f);
}

TEST_F(Polyarc, BulgesAboveOneGiveTheMiddleOfTheLongArc) {
    // Bulge 2: the arc of 4 atan 2 = 253.7 degrees, its middle 2 half chords
    // from the chord, on the same side as for bulge 0.5.
    Middle m = middle(0, 0, 2, 0, 2.0);
    EXPECT_FLOAT_EQ(m.x, 1.0f);
    EXPECT_FLOAT_EQ(m.y, -2.0f);
    m = middle(0, 0, 0, 2, -3.0);
    EXPECT_FLOAT_EQ(m.x, -3.0f);
    EXPECT_NEAR(m.y, 1.0f, 1e-6);
    // The circle through start, middle and end has the radius of the bulge's arc.
    double r = 1.0 / std::sin(2.0 * std::atan(1 / 3.0));  // half chord 1, quarter angle atan 3
    double cx = m.x + r;                                   // centre on the chord's normal
    EXPECT_NEAR(std::hypot(cx, 1.0), r, 1e-5);
}

}  // namespace
