// Curves, maps and arc helpers against closed forms.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <string>

#include "geometry/arcs.h"
#include "geometry/nurbs.h"
#include "geometry/spline.h"

namespace {

using namespace geo;
constexpr double kPi = std::numbers::pi;

::testing::AssertionResult near(Point got, Point want, double eps) {
    if (distance(got, want) <= eps) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure()
           << "(" << got.x << ", " << got.y << ") is " << distance(got, want) << " from (" << want.x
           << ", " << want.y << ")";
}

TEST(Arcs, MiddlesBulgesCentresAndLengths) {
    const struct {
        Point start, end;
        double bulge;
        Point middle, centre;
        double radius, length;
        bool ccw;
    } cases[] = {
        {{1, 0}, {-1, 0}, 1, {0, 1}, {0, 0}, 1, kPi, true},  // half circle
        {{1, 0}, {-1, 0}, -1, {0, -1}, {0, 0}, 1, kPi, false},
        {{0, 0}, {2, 0}, 0.5, {1, -0.5}, {1, 0.75}, 1.25, 2.5 * std::atan(4.0 / 3), true},
        {{0, 0}, {2, 0}, 2, {1, -2}, {1, -0.75}, 1.25, 2.5 * (kPi - std::atan(4.0 / 3)), true},
        {{3, 1},
         {3, 3},
         -std::tan(kPi / 8),
         {3 - (std::sqrt(2.0) - 1), 2},
         {4, 2},
         std::sqrt(2.0),
         std::sqrt(2.0) * kPi / 2,
         false},  // a quarter, clockwise
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.bulge);
        Point m = bulge_middle(c.start, c.end, c.bulge);
        EXPECT_TRUE(near(m, {c.middle.x, c.middle.y}, 1e-12));
        EXPECT_NEAR(bulge_of(c.start, m, c.end), c.bulge, 1e-12);
        EXPECT_NEAR(arc_length(c.start, m, c.end), c.length, 1e-12);
        auto arc = bulge_arc(c.start, c.end, c.bulge);
        ASSERT_TRUE(arc);
        EXPECT_TRUE(near(arc->centre, {c.centre.x, c.centre.y}, 1e-12));
        EXPECT_NEAR(arc->radius, c.radius, 1e-12);
        EXPECT_EQ(arc->ccw, c.ccw);
        EXPECT_TRUE(near(arc->point(arc->last()), {c.end.x, c.end.y}, 1e-12));
    }
    EXPECT_TRUE(near(bulge_middle({0, 0}, {2, 2}, 0), {1, 1}, 0));
    EXPECT_FALSE(bulge_arc({0, 0}, {2, 2}, 0));
    EXPECT_FALSE(arc_through({0, 0}, {1, 1}, {3, 3}));  // in a line
    EXPECT_FALSE(arc_through({0, 0}, {1, 1}, {0, 0}));
    EXPECT_DOUBLE_EQ(arc_length({0, 0}, {1, 1}, {2, 2}), std::sqrt(8.0));
}

TEST(Affine, ComposesAndKnowsWhenCirclesStayCircles) {
    Affine a = Affine::translation({3, -1}) * Affine::rotation(0.7) * Affine::scaling(2, -0.5);
    Affine b = Affine::mirroring(0.3) * Affine::translation({-2, 5});
    Point p{1.5, -2.5};
    Point ab = (a * b) * p, a_b = a * (b * p);
    EXPECT_TRUE(near(ab, {a_b.x, a_b.y}, 1e-12));
    EXPECT_TRUE(near(Affine::rotation(kPi / 2) * Point{1, 0}, {0, 1}, 1e-15));
    EXPECT_TRUE(near(Affine::mirroring(kPi / 4) * Point{1, 0}, {0, 1}, 1e-15));
    Affine twice = Affine::mirroring(0.3) * Affine::mirroring(0.3);
    EXPECT_TRUE(near(twice * p, {p.x, p.y}, 1e-12));
    EXPECT_LT(Affine::mirroring(0.3).determinant(), 0);
    EXPECT_TRUE((Affine::rotation(1) * Affine::scaling(-3, 3) * Affine::translation({4, 4}))
                    .keeps_circles());
    EXPECT_FALSE(Affine::scaling(2, 1).keeps_circles());
    EXPECT_FALSE((Affine::rotation(1) * Affine::scaling(1, 1.001)).keeps_circles());
}

TEST(Affine, EllipsesMapToEllipsesOnTheirOwnAxes) {
    const EllipticalArc arcs[] = {
        {{1, 2}, {3, 1}, 0.4, 0.2, 2.9},
        {{0, 0}, {0, 5}, -1, 0, 0},
        CircularArc({2, 2}, 3, 1, 5, false).elliptical(),
    };
    const Affine maps[] = {Affine::scaling(2, 0.5), Affine::rotation(1) * Affine::scaling(-1, 3),
                           Affine::mirroring(2) * Affine::translation({1, 1})};
    for (const EllipticalArc& e : arcs)
        for (const Affine& m : maps) {
            EllipticalArc f = m * e;
            EXPECT_LE(std::fabs(f.ratio), 1 + 1e-12);
            EXPECT_NEAR(f.last() - f.first(), e.last() - e.first(), 1e-12);
            for (double k = 0; k <= 1; k += 0.125) {
                Point want = m * e.point(e.first() + k * (e.last() - e.first()));
                Point got = f.point(f.first() + k * (f.last() - f.first()));
                EXPECT_TRUE(near(got, {want.x, want.y}, 1e-12));
            }
            EXPECT_EQ(e.ratio * f.ratio > 0, m.determinant() > 0) << "a mirror turns the way round";
        }
}

TEST(Nurbs, UniformCubicPiecesAndCorners) {
    // Uniform knots: the curve at a knot is (P0 + 4 P1 + P2) / 6, its
    // derivative (P2 - P0) / 2 per unit of knot spacing.
    Nurbs c(3, {0, 1, 2, 3, 4, 5, 6, 7, 8}, {{0, 0}, {6, 0}, {6, 6}, {0, 6}, {-6, 6}});
    EXPECT_EQ(c.first(), 3);
    EXPECT_EQ(c.last(), 5);
    EXPECT_TRUE(near(c.point(3), {5, 1}, 1e-12));
    EXPECT_TRUE(near(c.point(4), {5, 5}, 1e-12));
    EXPECT_TRUE(near(c.derivative(4, true), {-3, 3}, 1e-12));
    EXPECT_TRUE(near(c.derivative(4, false), {-3, 3}, 1e-12));
    ASSERT_EQ(c.breaks().size(), 1u);
    EXPECT_FALSE(c.breaks()[0].corner);

    Nurbs polyline(1, {0, 0, 1, 2, 2}, {{0, 0}, {2, 0}, {2, 2}});
    EXPECT_TRUE(near(polyline.derivative(1, true), {2, 0}, 1e-12));
    EXPECT_TRUE(near(polyline.derivative(1, false), {0, 2}, 1e-12));
    EXPECT_TRUE(polyline.breaks()[0].corner);
}

TEST(Spline, ValuesThatMakeNoCurveAreNamed) {
    const struct {
        int degree;
        std::vector<double> knots, weights;
        std::vector<Point> control;
        const char* fault;
    } cases[] = {
        {0, {0, 1}, {}, {{0, 0}}, "its degree is 0; a spline's degree is 1 to 25"},
        {3,
         {0, 0, 0, 1, 1, 1},
         {},
         {{0, 0}, {1, 1}},
         "it has 2 control points where a spline of degree 3 needs at least 4"},
        {2,
         {0, 0, 1, 1},
         {},
         {{0, 0}, {1, 1}, {2, 0}},
         "it has 4 knots where 3 control points of degree 2 need 6"},
        {2,
         {0, 0, 0, 2, 1, 1},
         {},
         {{0, 0}, {1, 1}, {2, 0}},
         "its knots go down at knot 5 (1 after 2)"},
        {2,
         {0, 0, 0, 1, 1, 1},
         {1, 0, 1},
         {{0, 0}, {1, 1}, {2, 0}},
         "weight 2 is 0; weights are numbers above 0"},
        {2,
         {0, 0, 0, 1, 1, 1},
         {1, 1},
         {{0, 0}, {1, 1}, {2, 0}},
         "it has 2 weights for 3 control points"},
        {2, {0, 0, 0, 1, 1, 1}, {}, {{0, 0}, {1, NAN}, {2, 0}}, "control point 2 is not a number"},
        {2, {1, 1, 1, 1, 1, 1}, {}, {{0, 0}, {1, 1}, {2, 0}}, "its knots leave no length of curve"},
        {1, {0, 0, 1, 1, 2, 2}, {}, {{0, 0}, {1, 0}, {5, 5}, {6, 5}}, "it breaks apart at knot 1"},
    };
    for (const auto& c : cases) {
        SplineData s;
        s.degree = c.degree;
        s.knots = c.knots;
        s.weights = c.weights;
        s.control = c.control;
        SplineCurve made = make_spline(s);
        EXPECT_EQ(made.fault, c.fault);
        EXPECT_FALSE(made.curve);
    }
    SplineData none;
    EXPECT_EQ(make_spline(none).fault, "it has neither control points nor fit points");
    none.fit = {{1, 1}, {1, 1}};
    EXPECT_EQ(make_spline(none).fault, "its fit points all lie at one point");
}

TEST(Spline, FitPointsOfDegreeOneAreJoinedStraight) {
    SplineData s;
    s.degree = 1;
    s.flags = SplineData::closed;
    s.fit = {{0, 0}, {2, 0}, {2, 2}};
    auto triangle = make_spline(s).curve;
    ASSERT_TRUE(triangle);
    EXPECT_EQ(triangle->last(), 3);
    EXPECT_TRUE(near(triangle->point(1.5), {2, 1}, 1e-15));
    EXPECT_TRUE(near(triangle->point(2.5), {1, 1}, 1e-15));
}

TEST(Spline, APeriodicSplineClosesInEachOfItsForms) {
    std::vector<Point> ring{{0, 0}, {4, -1}, {6, 3}, {3, 6}, {-1, 4}};
    SplineData period;  // knots for one period
    period.flags = SplineData::closed | SplineData::periodic;
    period.control = ring;
    period.knots = {0, 1, 2.5, 3, 4, 5.5};
    SplineData wrapped = period;  // the first three control points again at the end
    wrapped.control.insert(wrapped.control.end(), ring.begin(), ring.begin() + 3);
    wrapped.knots = {-3, -2.5, -1.5, 0, 1, 2.5, 3, 4, 5.5, 6.5, 8, 8.5};
    SplineData given = wrapped;  // knots for the wrapped points, the points not wrapped
    given.control = ring;
    given.knots.resize(ring.size() + 3 + 1);

    auto a = make_spline(period).curve, b = make_spline(wrapped).curve,
         c = make_spline(given).curve;
    ASSERT_TRUE(a && b && c);
    for (const Curve* k : {a.get(), b.get(), c.get()}) {
        EXPECT_TRUE(
            near(k->point(k->last()), {k->point(k->first()).x, k->point(k->first()).y}, 1e-12));
        EXPECT_NEAR(turn(k->derivative(k->first(), false), k->derivative(k->last(), true)), 0,
                    1e-12);
    }
    for (double f = 0; f <= 1; f += 0.05) {
        Point pa = a->point(a->first() + f * (a->last() - a->first()));
        Point pb = b->point(b->first() + f * (b->last() - b->first()));
        Point pc = c->point(c->first() + f * (c->last() - c->first()));
        EXPECT_TRUE(near(pb, {pa.x, pa.y}, 1e-12));
        EXPECT_TRUE(near(pc, {pa.x, pa.y}, 1e-12));
    }
}

TEST(Interpolate, PassesThroughItsPointsWithTheTangentsGiven) {
    std::vector<Point> points{{0, 0}, {1, 2}, {3, 3}, {6, 1}, {7, -2}};
    const struct {
        std::optional<Point> start, end;
        bool closed;
    } cases[] = {{std::nullopt, std::nullopt, false},
                 {Point{0, 5}, Point{1, -1}, false},
                 {std::nullopt, std::nullopt, true}};
    for (const auto& c : cases) {
        Path p = interpolate(points, c.start, c.end, c.closed);
        ASSERT_EQ(p.parts.size(), c.closed ? 5u : 4u);
        for (std::size_t k = 0; k < points.size(); ++k)
            EXPECT_TRUE(near(p.point(k), {points[k].x, points[k].y}, 1e-12));
        for (std::size_t k = 1; k < p.parts.size(); ++k)
            EXPECT_NEAR(turn(p.derivative(k, true), p.derivative(k, false)), 0, 1e-12);
        Point at_start = p.derivative(0, false), at_end = p.derivative(p.last(), true);
        EXPECT_NEAR(turn(at_start, c.start.value_or(at_start)), 0, 1e-12);
        EXPECT_NEAR(turn(at_end, c.end.value_or(at_end)), 0, 1e-12);
        EXPECT_NEAR(turn(at_start, c.closed ? at_end : at_start), 0, 1e-12);
    }
    // Points in a line, however spaced, give that line; a repeated point is dropped.
    Path line = interpolate({{0, 0}, {1, 1}, {1, 1}, {1.5, 1.5}, {4, 4}}, std::nullopt,
                            std::nullopt, false);
    ASSERT_EQ(line.parts.size(), 3u);
    for (double t = 0; t <= 3; t += 0.1) EXPECT_NEAR(cross(line.point(t), {1, 1}), 0, 1e-12);
}

}  // namespace
