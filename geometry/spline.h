#pragma once
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "geometry/curves.h"

namespace geo {

// What a DXF SPLINE holds, in the plane of the drawing.
struct SplineData {
    enum Flag { closed = 1, periodic = 2, rational = 4, planar = 8, linear = 16 };
    int degree = 3;
    int flags = 0;
    std::vector<double> knots;
    std::vector<Point> control;
    std::vector<double> weights;                      // empty when all are 1
    std::vector<Point> fit;                           // used when there are no control points
    std::optional<Point> start_tangent, end_tangent;  // of the fit points
};

struct SplineCurve {
    std::unique_ptr<Curve> curve;  // null when the values make no curve
    std::string fault;             // then why, in words for the operator
};

// The curve of a spline. With control points it is the B-spline they make
// with the knots and weights. A closed or periodic spline may give its knots
// for one period (control points + 1 knots) or wrap its first `degree`
// control points round the end; either way the curve closes (one that closes
// neither way is taken as its values give it). With fit points
// only it is the cubic through them (interpolate), or for a spline of degree
// 1 (or marked linear) the straight segments between them.
SplineCurve make_spline(const SplineData& s);

// The cubic spline through `points`, with continuous first and second
// derivatives, parameterised by the distances between the points. An end
// without a given tangent takes that of the parabola through its three
// nearest points (two points give a line). A closed one runs on from the last
// point back to the first as smoothly as through the others, and the tangents
// given play no part. Points that
// repeat the one before are dropped; fewer than two distinct points give an
// empty path.
Path interpolate(std::vector<Point> points, std::optional<Point> start_tangent,
                 std::optional<Point> end_tangent, bool closed);

}  // namespace geo
