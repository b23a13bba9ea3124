#pragma once
#include <optional>

#include "geometry/curves.h"

namespace geo {

// Arcs as the shape tables hold them: start point, the point halfway along
// the arc (its middle) and end point. A DXF bulge is the tangent of a quarter
// of the angle the arc turns through, positive counter-clockwise.

// The arc from `start` through `middle` to `end`; none when the three points
// lie in a line or two of them coincide.
std::optional<CircularArc> arc_through(Point start, Point middle, Point end);

// The middle of the arc from `start` to `end` with `bulge`, for any bulge
// (more than 1 for an arc beyond a half circle); the chord's midpoint for 0.
Point bulge_middle(Point start, Point end, double bulge);

// The bulge of the arc from `start` through its middle to `end`.
double bulge_of(Point start, Point middle, Point end);

// The arc a bulge describes; none for a bulge of 0 or start equal to end.
std::optional<CircularArc> bulge_arc(Point start, Point end, double bulge);

// The length of the arc from `start` through its middle to `end`: the
// distance for points in a line; the whole circle whose diameter runs from
// start to middle when start and end coincide.
double arc_length(Point start, Point middle, Point end);

}  // namespace geo
