// SPLINE and ELLIPSE followed with lines and arcs, chains of every kind of
// piece, and the POLYLINEs that curve-fitting programs write.
#include <cmath>
#include <numbers>

#include "import/dxf.h"
#include "import/select.h"
#include "records/notice.h"
#include "tests/import/drawing.h"
#include "tests/support/support.h"

namespace {

using Curves = ReaderTest;

// A SPLINE of `degree` through the control points {x, y, weight}, with
// `knots` (a closed one marked so with `flags` 1).
Drawing spline(int degree, const std::vector<double>& knots,
               const std::vector<std::array<double, 3>>& control, int flags = 8) {
    Drawing d;
    d.code(0, "SPLINE").code(8, "0").code(210, "0.0").code(220, "0.0").code(230, "1.0");
    d.code(70, std::to_string(flags)).code(71, std::to_string(degree));
    for (double k : knots) d.code(40, Drawing::exact(k));
    bool rational = false;
    for (const auto& c : control) rational = rational || c[2] != 1;
    for (const auto& c : control) {
        d.code(10, Drawing::exact(c[0])).code(20, Drawing::exact(c[1])).code(30, "0.0");
        if (rational) d.code(41, Drawing::exact(c[2]));
    }
    return d;
}

// The elements of figure `f`: how many, and the farthest any of its points
// (ends and arc middles) lies from the curve `distance` measures.
template <typename Distance>
std::pair<int, double> elements_and_deviation(int f, Distance distance) {
    int first = 0, terminator = 0;
    if (!find_figure(f, first, terminator)) return {0, -1};
    double worst = 0;
    for (int k = first; k < terminator; ++k) {
        worst = std::max(worst, distance(shapes.p1[k], shapes.p2[k]));
        worst = std::max(worst, distance(shapes.p3[k], shapes.p4[k]));
    }
    return {terminator - first, worst};
}

TEST_F(Curves, SplinesAndEllipsesWithinTheFitTolerance) {
    const double h = std::sqrt(0.5);
    auto circle = [](float x, float y) { return std::fabs(std::hypot(x - 5.0, y) - 2.0); };
    auto ellipse = [](float x, float y) { return std::fabs(std::hypot((x - 20) / 3, y) - 1) * 1; };
    const struct {
        const char* name;
        Drawing d;
        int most_elements;
        std::function<double(float, float)> distance;
    } cases[] = {
        // A circle of radius 2 about (5, 0) as the usual rational quadratic.
        {"circle", spline(2, {0, 0, 0, 1, 1, 2, 2, 3, 3, 4, 4, 4},
                          {{7, 0, 1}, {7, 2, h}, {5, 2, 1}, {3, 2, h}, {3, 0, 1}, {3, -2, h},
                           {5, -2, 1}, {7, -2, h}, {7, 0, 1}},
                          9),
         4, circle},
        {"ellipse", Drawing().code(0, "ELLIPSE").code(10, "20.0").code(20, "0.0")
                        .code(11, "3.0").code(21, "0.0").code(40, "0.3333333333333333")
                        .code(41, "0.0").code(42, "6.283185307179586"),
         40, ellipse},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(load_text(c.d.text()));
        auto [elements, deviation] = elements_and_deviation(1, c.distance);
        EXPECT_GE(elements, 2);
        EXPECT_LE(elements, c.most_elements);
        EXPECT_LT(deviation, 0.002);
    }
}

// Pieces of every kind whose ends meet make one figure: a LINE, an ARC, an
// open LWPOLYLINE, an open POLYLINE and a straight SPLINE (one line).
TEST_F(Curves, AChainOfMixedPieces) {
    Drawing d;
    d.line(0, 0, 4, 0).arc(4, 1, 1, 270, 90);
    d.lwpolyline({{4, 2, 0}, {2, 3, 0}, {0, 2, 0}}, 0);
    d.polyline(false).vertex(0, 2).vertex(0, 1.5).vertex(0, 1).seqend();
    d.body += spline(1, {0, 0, 1, 1}, {{0, 1, 1}, {0, 0, 1}}).body;
    EXPECT_EQ(read(d), "L 0,0>4,0 A 4,0>5,1>4,2 L 4,2>2,3 L 2,3>0,2 L 0,2>0,1.5 L 0,1.5>0,1 "
                       "L 0,1>0,0 |0,0 $");
    EXPECT_EQ(shapes.objects, 1);
    EXPECT_EQ(drawing_notes.passed.open.count, 0);
    // An open POLYLINE that meets nothing stays a figure of its own, closed
    // by Close Figure as always, and the operator is told.
    d.polyline(true, "0").vertex(10, 10).vertex(11, 10).vertex(11, 11).seqend();
    std::string both = read(d);
    EXPECT_EQ(both.substr(both.find("|0,0 ") + 5),
              "L 10,10>11,10 L 11,10>11,11 L 11,11>10,10 |0,0 $");
    EXPECT_EQ(closed_note(), "Close Figure closed 1 open outline");
    EXPECT_EQ(drawing_status(), "Drawing in inches; Close Figure closed 1 open outline");
}

// A spline-fit POLYLINE: its spline frame control points (flag 16) lie off
// the curve and are left out; the fitted vertices (flag 8) make the figure.
TEST_F(Curves, SplineFitPolylinesLeaveOutTheirFrame) {
    auto polyline = [](bool frame) {
        Drawing d;
        d.polyline(true, "5");
        auto vertex = [&](double x, double y, const char* flags) {
            d.vertex(x, y).code(70, flags);
        };
        const double fitted[][2] = {{0, 0}, {1, 0.5}, {2, 0}, {1, -0.5}};
        for (int k = 0; k < 4; ++k) {
            if (frame) vertex(fitted[k][0] * 2, fitted[k][1] * 3, "16");
            vertex(fitted[k][0], fitted[k][1], "8");
        }
        return d.seqend();
    };
    std::string want = "L 0,0>1,0.5 L 1,0.5>2,0 L 2,0>1,-0.5 L 1,-0.5>0,0 |0,0 $";
    EXPECT_EQ(read(polyline(true)), want);
    EXPECT_EQ(read(polyline(false)), want);
}

// The join tolerance decides which ends meet; a drawing whose chains stay
// open says where the widest gap is and what closes it.
TEST_F(Curves, TheJoinTolerance) {
    Drawing d;
    d.line(0, 0, 1, 0).line(1, 0, 1, 1).line(1, 1, 0, 1).line(0, 1, 0, 0.003);
    EXPECT_FALSE(load_text(d.text()));
    EXPECT_NE(take_notices().at(0).find("1 open chain (the widest gap left open is 0.003 in., at "
                                        "x 0.000, y 0.002; a join tolerance of 0.003 in. closes "
                                        "it: Options, Drawing units)"),
              std::string::npos);
    unit_setting.join_tolerance = 0.003;
    EXPECT_EQ(read(d), "L 0,0>1,0 L 1,0>1,1 L 1,1>0,1 L 0,1>0,0 |0,0 $");
}

}  // namespace
