#pragma once
#include <array>
#include <cstddef>
#include <vector>

// Closed outlines made of line, quadratic and cubic Bezier segments, as fonts
// draw their letters, and the few things the fonts layer does with them.

struct Point {
    double x = 0, y = 0;
    bool operator==(const Point&) const = default;
};

// The order of a segment: a line has 2 points, a quadratic Bezier 3, a cubic 4.
enum class SegmentKind { line = 1, quadratic = 2, cubic = 3 };

struct Segment {
    SegmentKind kind = SegmentKind::line;
    std::array<Point, 4> p{};  // start, control points, end: p[0] to p[order]

    int order() const { return static_cast<int>(kind); }
    Point start() const { return p[0]; }
    Point end() const { return p[order()]; }
    Point& end() { return p[order()]; }
};

// A chain of segments, each starting where the one before ends; in a closed
// outline the last ends where the first starts.
using Chain = std::vector<Segment>;

Segment line_segment(Point a, Point b);

Point point_at(const Segment& s, double t);
Point derivative_at(const Segment& s, double t);

// The piece of `s` from t0 to t1 (t0 > t1 gives it reversed).
Segment piece(const Segment& s, double t0, double t1);

Segment reversed(const Segment& s);
void reverse(Chain& chain);

// Twice the area the chain encloses, counted positive when it runs
// counter-clockwise (y up): exact for lines and Bezier curves.
double twice_area(const Chain& chain);

// The parameters in (0, 1) where x (axis 0) or y (axis 1) of the segment has
// an extreme, at most two.
std::vector<double> extremes(const Segment& s, int axis);

struct Box {
    double left = 0, bottom = 0, right = 0, top = 0;
};

// The exact bounds of the curves, not of their control points.
Box bounds(const Chain& chain);

// Points along the chain, the segment starts among them, so that no curve
// lies farther than `tolerance` from the polygon they make.
std::vector<Point> flattened(const Chain& chain, double tolerance);

// How many pieces of equal parameter length keep the polygon of `s` within
// `tolerance` of the curve.
int pieces_within(const Segment& s, double tolerance);
