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

// A NURBS from its control points' coordinates in pairs.
std::unique_ptr<Curve> nurbs(int degree, std::vector<double> knots, const std::vector<double>& xy,
                             std::vector<double> weights = {}) {
    std::vector<Point> control;
    for (std::size_t k = 0; k + 1 < xy.size(); k += 2) control.push_back({xy[k], xy[k + 1]});
    return std::make_unique<Nurbs>(degree, std::move(knots), control, std::move(weights));
}

// A periodic cubic B-spline whose 16 control points stand on a regular
// polygon of radius 10, its knots given for one period: within 4e-4 of a
// circle.
SplineData polygon_spline() {
    SplineData s;
    s.flags = SplineData::closed | SplineData::periodic | SplineData::planar;
    for (int k = 0; k < 16; ++k)
        s.control.push_back({10 * std::cos(2 * kPi * k / 16), 10 * std::sin(2 * kPi * k / 16)});
    for (int k = 0; k <= 16; ++k) s.knots.push_back(k);
    return s;
}

struct Case {
    const char* name;
    std::function<std::unique_ptr<Curve>()> curve;
    std::size_t fewest, most;  // pieces
    int lines, corners;        // -1: any number of lines
    double tolerance = 0.002;
};

TEST(Fit, ClosedFormsWithinToleranceTangentAndFew) {
    const Case cases[] = {
        {"circle as a rational quadratic NURBS",
         [] {
             return nurbs(2, {0, 0, 0, 1, 1, 2, 2, 3, 3, 4, 4, 4},
                          {4, 2, 4, 5, 1, 5, -2, 5, -2, 2, -2, -1, 1, -1, 4, -1, 4, 2},
                          {1, kW, 1, kW, 1, kW, 1, kW, 1});
         },
         2, 4, 0, 0},
        {"circle as a periodic cubic", [] { return spline(polygon_spline()); }, 2, 4, 0, 0},
        {"rational quarter circle",
         [] {
             return nurbs(2, {0, 0, 0, 1, 1, 1}, {5, 0, 5, 5, 0, 5}, {1, kW, 1});
         },
         1, 1, 0, 0},
        {"rational quadratic that runs fast near its ends (weight 1000)",
         [] {
             return nurbs(2, {0, 0, 0, 1, 1, 1}, {0, 0, 1, 5, 2, 0}, {1, 1000, 1});
         },
         2, 20, -1, 0},
        {"straight cubic spline, uneven control points",
         [] {
             return nurbs(3, {0, 0, 0, 0, 0.2, 0.7, 1, 1, 1, 1},
                          {0, 0, 1, 0.5, 1.5, 0.75, 1.6, 0.8, 3, 1.5, 4, 2});
         },
         1, 1, 1, 0},
        {"cubic Bezier with an inflection",
         [] {
             return std::make_unique<Bezier>(Point{0, 0}, Point{3, 4}, Point{-1, 4}, Point{2, 0});
         },
         2, 40, -1, 0},
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
             return nurbs(2, {0, 0, 0, 1, 1, 2, 2, 2}, {0, 0, 1, 2, 2, 0, 4, 0, 5, 3});
         },
         2, 20, -1, 1},
        {"quadratic NURBS smooth over a double knot",
         [] {
             return nurbs(2, {0, 0, 0, 1, 1, 2, 2, 2}, {0, 0, 1, 2, 2, 2, 3, 2, 4, 0});
         },
         2, 20, -1, 0},
        {"closed contour that turns by 0.3 degrees where it starts",
         [] {
             auto p = std::make_unique<Path>();
             p->add(Bezier({0, 0}, {0, 2}, {2, 2}));
             p->add(Bezier({2, 2}, {4, 2}, {4, 0}));
             p->add(Bezier({4, 0}, {4, -2}, {2, -2}));
             p->add(Bezier({2, -2}, {-2 * std::tan(0.3 * kPi / 180), -2}, {0, 0}));
             return p;
         },
         2, 40, -1, 0},
        // Random curves that once came out off the curve.
        {"NURBS that ends in a hook a hair long (a light last weight)",
         [] {
             return nurbs(3,
                          {0.904085, 0.904085, 2.2927, 3.51452, 4.60603, 4.78673, 5.07623, 5.07623,
                           5.93118, 7.53184},
                          {4.85489, -13.4197, 2.03439, 7.64819, 12.679, 14.1683, 9.49949, 12.0308,
                           0.383424, -10.9996, -0.0841613, -11.9139},
                          {0.520932, 3.48239, 0.149137, 7.89713, 3.29507, 0.10038});
         },
         2, 60, -1, 0},
        {"polyline NURBS turning 0.25 degrees beside a stretch its weights rush through",
         [] {
             return nurbs(1,
                          {0, 0, 1.35101, 1.74905, 1.8949, 3.647, 4.14477, 4.28078, 5.58378,
                           7.23771, 8.23771, 8.23771},
                          {0.753702, -2.48637, -0.899985, 3.90321, -0.602705, -1.11936, 0.317762,
                           0.65454,  1.19722,  2.33164,   2.08176, 3.20952,   2.52722,  2.39745,
                           1.39816,  1.47237,  -0.719805, 1.69295, -2.61328,  0.726172},
                          {1.11285, 4.25862, 0.214309, 0.104729, 2.85484, 1.13707, 1.24639, 2.62265,
                           0.115466, 1.50791});
         },
         8, 40, -1, 7, 0.00029},
        {"NURBS with a tight arc's worth beside a nearly straight stretch",
         [] {
             return nurbs(
                 3,
                 {1.00558, 2.88512, 3.77226, 5.74917, 5.74917, 7.33431, 7.67315, 8.80166, 8.80166,
                  10.6778, 12.0129, 12.637, 13.5975, 14.4549, 15.3587, 16.1992, 16.1992, 17.2902},
                 {1.95251,  -0.347179, -1.91066, -0.772152, -0.990951, -0.455738, -0.830776,
                  2.3656,   -1.87423,  1.4483,   -1.46314,  0.680372,  1.61136,   -2.26339,
                  -1.20559, 0.07954,   -1.74689, 2.94202,   2.34361,   -2.02238,  1.14282,
                  2.7063,   1.02697,   -1.14246, 1.84768,   1.05602,   -2.30768,  -1.18324},
                 {0.472574, 0.57178, 1.33073, 5.60877, 1.36971, 0.831651, 0.502428, 0.596617,
                  0.739128, 0.22525, 1.35837, 1.2298, 9.46765, 2.60449});
         },
         2, 200, -1, 0},
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
        FitOptions options;
        options.tolerance = c.tolerance;
        ASSERT_EQ(fit(*curve, pieces, options), "");
        measure::Chain m = measure::check(*curve, pieces, c.tolerance);
        EXPECT_LE(m.deviation, c.tolerance);
        EXPECT_GE(pieces.size(), c.fewest);
        EXPECT_LE(pieces.size(), c.most);
        EXPECT_TRUE(c.lines < 0 || m.lines == c.lines) << m.lines << " lines";
        EXPECT_EQ(m.corners, c.corners);
        EXPECT_EQ(m.other, 0);
        EXPECT_LE(m.largest_sweep, 180 + 1e-6);
        bool closed = distance(curve->point(curve->first()), curve->point(curve->last())) < 1e-9;
        EXPECT_EQ(m.smooth + m.corners + 1 - closed, static_cast<int>(pieces.size()));
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
