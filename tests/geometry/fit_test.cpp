// The fitter against curves whose shape is known in closed form: element
// counts, the largest deviation measured densely both ways, tangents at every
// joint, and the corners kept.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <memory>
#include <numbers>
#include <string>

#include "geometry/fit.h"
#include "geometry/nurbs.h"
#include "geometry/spline.h"
#include "tests/geometry/measure.h"

namespace {

using namespace geo;
constexpr double kPi = std::numbers::pi;
const double kW = std::sqrt(0.5);  // the weight of a quarter circle's corner point

std::unique_ptr<Curve> spline(SplineData s) {
    SplineCurve made = make_spline(s);
    EXPECT_EQ(made.fault, "");
    return std::move(made.curve);
}

// A periodic cubic B-spline whose 16 control points stand on a regular
// polygon of radius 10: within 4e-4 of a circle.
SplineData polygon_spline(bool wrapped) {
    SplineData s;
    s.flags = SplineData::closed | SplineData::periodic | SplineData::planar;
    int n = 16, extra = wrapped ? 3 : 0;
    for (int k = 0; k < n + extra; ++k)
        s.control.push_back({10 * std::cos(2 * kPi * k / n), 10 * std::sin(2 * kPi * k / n)});
    for (int k = 0; k <= (wrapped ? n + 2 * 3 + 0 : n); ++k) s.knots.push_back(k);
    return s;
}

struct Case {
    const char* name;
    std::function<std::unique_ptr<Curve>()> curve;
    std::size_t fewest, most;  // pieces
    int lines, corners;        // -1: any number of lines
};

TEST(Fit, ClosedFormsWithinToleranceTangentAndFew) {
    const Case cases[] = {
        {"circle as a rational quadratic NURBS",
         [] {
             return std::make_unique<Nurbs>(
                 2, std::vector<double>{0, 0, 0, 1, 1, 2, 2, 3, 3, 4, 4, 4},
                 std::vector<Point>{
                     {4, 2}, {4, 5}, {1, 5}, {-2, 5}, {-2, 2}, {-2, -1}, {1, -1}, {4, -1}, {4, 2}},
                 std::vector<double>{1, kW, 1, kW, 1, kW, 1, kW, 1});
         },
         2, 4, 0, 0},
        {"circle as a periodic cubic, knots for one period",
         [] { return spline(polygon_spline(false)); }, 2, 4, 0, 0},
        {"circle as a periodic cubic, control points wrapped",
         [] { return spline(polygon_spline(true)); }, 2, 4, 0, 0},
        {"rational quarter circle",
         [] {
             return std::make_unique<Nurbs>(2, std::vector<double>{0, 0, 0, 1, 1, 1},
                                            std::vector<Point>{{5, 0}, {5, 5}, {0, 5}},
                                            std::vector<double>{1, kW, 1});
         },
         1, 1, 0, 0},
        {"rational quadratic that runs fast near its ends (weight 1000)",
         [] {
             return std::make_unique<Nurbs>(2, std::vector<double>{0, 0, 0, 1, 1, 1},
                                            std::vector<Point>{{0, 0}, {1, 5}, {2, 0}},
                                            std::vector<double>{1, 1000, 1});
         },
         2, 20, -1, 0},
        {"straight cubic spline, uneven control points",
         [] {
             return std::make_unique<Nurbs>(
                 3, std::vector<double>{0, 0, 0, 0, 0.2, 0.7, 1, 1, 1, 1},
                 std::vector<Point>{{0, 0}, {1, 0.5}, {1.5, 0.75}, {1.6, 0.8}, {3, 1.5}, {4, 2}});
         },
         1, 1, 1, 0},
        {"cubic Bezier with an inflection",
         [] {
             return std::make_unique<Bezier>(Point{0, 0}, Point{3, 4}, Point{-1, 4}, Point{2, 0});
         },
         2, 40, -1, 0},
        {"quadratic Bezier",
         [] {
             return std::make_unique<Bezier>(Point{0, 0}, Point{1, 2}, Point{2, 0});
         },
         1, 20, -1, 0},
        {"full circle",
         [] {
             return std::make_unique<CircularArc>(Point{2, 2}, 7, 0, 0, true);
         },
         2, 2, 0, 0},
        {"ellipse of ratio 1",
         [] {
             return std::make_unique<EllipticalArc>(Point{0, 0}, Point{3, 4}, 1.0, 0.3, 0.3);
         },
         2, 4, 0, 0},
        {"ellipse 0.3, turned 30 degrees",
         [] {
             return std::make_unique<EllipticalArc>(Point{5, -3}, rotated({4, 0}, kPi / 6), 0.3, 0,
                                                    2 * kPi);
         },
         4, 40, 0, 0},
        {"ellipse 0.8, turned 120 degrees, clockwise",
         [] {
             return std::make_unique<EllipticalArc>(Point{0, 0}, rotated({20, 0}, 2 * kPi / 3),
                                                    -0.8, 0, 0);
         },
         4, 60, 0, 0},
        {"part of an ellipse 0.5, turned -75 degrees",
         [] {
             return std::make_unique<EllipticalArc>(Point{1, 1}, rotated({6, 0}, -5 * kPi / 12),
                                                    0.5, 0.5, 4.0);
         },
         2, 40, 0, 0},
        {"flat ellipse 0.05",
         [] {
             return std::make_unique<EllipticalArc>(Point{0, 0}, Point{10, 0}, 0.05, 0, 0);
         },
         4, 80, 0, 0},
        {"two Beziers meeting at a corner",
         [] {
             auto p = std::make_unique<Path>();
             p->add(std::make_unique<Bezier>(Point{0, 0}, Point{1, 1}, Point{2, 0}));
             p->add(Bezier({2, 0}, {2, -1}, {2, -2}));
             return p;
         },
         2, 20, -1, 1},
        {"quadratics of a font contour meeting smoothly",
         [] {
             auto p = std::make_unique<Path>();
             p->add(Bezier({0, 0}, {1, 1}, {2, 1}));
             p->add(Bezier({2, 1}, {3, 1}, {4, 0}));
             p->add(Bezier({4, 0}, {4, -3}));
             return p;
         },
         2, 20, -1, 1},
        {"quadratic NURBS with a corner at a double knot",
         [] {
             return std::make_unique<Nurbs>(
                 2, std::vector<double>{0, 0, 0, 1, 1, 2, 2, 2},
                 std::vector<Point>{{0, 0}, {1, 2}, {2, 0}, {4, 0}, {5, 3}});
         },
         2, 20, -1, 1},
        {"quadratic NURBS smooth over a double knot",
         [] {
             return std::make_unique<Nurbs>(
                 2, std::vector<double>{0, 0, 0, 1, 1, 2, 2, 2},
                 std::vector<Point>{{0, 0}, {1, 2}, {2, 2}, {3, 2}, {4, 0}});
         },
         2, 20, -1, 0},
        {"fit points of a closed curve",
         [] {
             return std::make_unique<Path>(
                 interpolate({{0, 0}, {3, -1}, {6, 1}, {5, 4}, {2, 5}, {-1, 3}}, std::nullopt,
                             std::nullopt, true));
         },
         2, 40, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto curve = c.curve();
        std::vector<Piece> pieces;
        ASSERT_EQ(fit(*curve, pieces), "");
        measure::Chain m = measure::check(*curve, pieces);
        EXPECT_LE(m.deviation, 0.002);
        EXPECT_GE(pieces.size(), c.fewest);
        EXPECT_LE(pieces.size(), c.most);
        EXPECT_TRUE(c.lines < 0 || m.lines == c.lines) << m.lines << " lines";
        EXPECT_EQ(m.corners, c.corners);
        EXPECT_EQ(m.other, 0);
        EXPECT_LE(m.largest_sweep, 180 + 1e-6);
        EXPECT_EQ(pieces.front().start, curve->point(curve->first()));
        EXPECT_EQ(pieces.back().end, curve->point(curve->last()));
    }
}

TEST(Fit, CircleArcsLieOnTheCircle) {
    // The quarter circle is one arc whose middle is at 45 degrees.
    Nurbs quarter(2, {0, 0, 0, 1, 1, 1}, {{5, 0}, {5, 5}, {0, 5}}, {1, kW, 1});
    std::vector<Piece> pieces;
    ASSERT_EQ(fit(quarter, pieces), "");
    ASSERT_EQ(pieces.size(), 1u);
    EXPECT_NEAR(pieces[0].middle.x, 5 * kW, 1e-12);
    EXPECT_NEAR(pieces[0].middle.y, 5 * kW, 1e-12);
}

TEST(Fit, TransformedArcFollowsTheMappedCircle) {
    CircularArc arc({1, 1}, 2, 20 * kPi / 180, 290 * kPi / 180, true);
    const Affine maps[] = {
        Affine::scaling(1.5, -0.6) * Affine::rotation(0.4),
        Affine::translation({3, -2}) * Affine::mirroring(1.1) * Affine::scaling(0.2, 3),
        Affine::rotation(2) * Affine::scaling(-4, -4),
    };
    for (const Affine& m : maps) {
        auto mapped = arc.transformed(m);
        std::vector<Piece> pieces;
        ASSERT_EQ(fit(*mapped, pieces), "");
        measure::Chain c = measure::check([&](double t) { return m * arc.point(t); }, arc.first(),
                                          arc.last(), pieces);
        EXPECT_LE(c.deviation, 0.002);
        EXPECT_EQ(c.corners + c.other, 0);
        EXPECT_LE(distance(pieces.front().start, m * arc.point(0)), 1e-12);
    }
}

TEST(Fit, NothingToFitOrAClearFault) {
    const struct {
        const char* name;
        std::function<std::unique_ptr<Curve>()> curve;
        FitOptions options;
        std::string fault;
    } cases[] = {
        {"a line of no length",
         [] {
             return std::make_unique<Line>(Point{1, 1}, Point{1, 1});
         },
         {},
         ""},
        {"a Bezier on one point",
         [] {
             return std::make_unique<Bezier>(Point{2, 3}, Point{2, 3}, Point{2, 3}, Point{2, 3});
         },
         {},
         ""},
        {"a Bezier with a point that is not a number",
         [] {
             return std::make_unique<Bezier>(Point{0, 0}, Point{NAN, 1}, Point{2, 0});
         },
         {},
         "a point of the curve is not a number"},
        {"a tolerance of 0",
         [] {
             return std::make_unique<Line>(Point{0, 0}, Point{1, 1});
         },
         {0.0, 0.5, 100},
         "the fit tolerance must be a number above 0"},
        {"more pieces than allowed",
         [] {
             return std::make_unique<CircularArc>(Point{0, 0}, 1, 0, 0, true);
         },
         {0.002, 0.5, 1},
         "the curve needs more than 1 lines and arcs to follow within the tolerance"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<Piece> pieces(1);
        EXPECT_EQ(fit(*c.curve(), pieces, c.options), c.fault);
        EXPECT_EQ(pieces.size(), 1u) << "nothing added";
    }
}

TEST(Fit, ControlPointsThatRepeatLeaveNoGapAndNoNumberlessPiece) {
    Nurbs c(3, {0, 0, 0, 0, 1, 2, 3, 3, 3, 3},
            {{0, 0}, {0, 0}, {0, 0}, {2, 0}, {2, 0}, {2, 0}});  // stands still at both ends
    std::vector<Piece> pieces;
    ASSERT_EQ(fit(c, pieces), "");
    ASSERT_EQ(pieces.size(), 1u);
    EXPECT_FALSE(pieces[0].arc);
    EXPECT_EQ(pieces[0].end, (Point{2, 0}));
}

}  // namespace
