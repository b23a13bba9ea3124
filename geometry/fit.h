#pragma once
#include <cstddef>
#include <string>
#include <vector>

#include "geometry/curve.h"

namespace geo {

// An element of a fitted chain, as the shape tables hold one: a line from
// `start` to `end`, or an arc from `start` through `middle`, the point
// halfway along it, to `end`. A line's middle is its midpoint.
struct Piece {
    bool arc = false;
    Point start, middle, end;
};

struct FitOptions {
    // The largest distance between the curve and the chain, measured from
    // every point of either to the other.
    double tolerance = 0.002;
    // A break of the curve where the tangent turns by more than this stays a
    // corner of the chain; a smaller turn is smoothed over. A curve that
    // comes back to its start is taken to meet itself there as at a break.
    double corner_degrees = 0.5;
    // A curve that needs more pieces than this is refused.
    std::size_t max_pieces = 100000;
};

// Appends to `out` the chain of lines and arcs that follows `curve` from its
// first point to its last within the tolerance: each piece starts where the
// one before it ends and leaves in the direction that one arrives in, except
// at the curve's own corners; no arc turns through more than a half circle;
// and there are few pieces (a circle gives 2 to 4 arcs, a straight curve one
// line). Between the curve's corners it is made of biarcs: pairs of arcs
// from one point of the curve to another, tangent to the curve at both, each
// reaching as far along the curve as the tolerance lets it. A curve that
// stays at one point gives no pieces. Returns "", or why the curve cannot be
// followed (then `out` is left as it was).
std::string fit(const Curve& curve, std::vector<Piece>& out, const FitOptions& options = {});

}  // namespace geo
