#include "geometry/arcs.h"

#include <cmath>
#include <numbers>

namespace geo {

std::optional<CircularArc> arc_through(Point start, Point middle, Point end) {
    Point b = middle - start, c = end - start;
    double d = 2 * cross(b, c);
    if (!(std::fabs(d) > 1e-14 * length(b) * length(c))) return std::nullopt;
    double bb = dot(b, b), cc = dot(c, c);
    Point centre = start + Point{(c.y * bb - b.y * cc) / d, (b.x * cc - c.x * bb) / d};
    Point s = start - centre, e = end - centre;
    return CircularArc(centre, length(s), std::atan2(s.y, s.x), std::atan2(e.y, e.x),
                       cross(b, end - middle) > 0);
}

Point bulge_middle(Point start, Point end, double bulge) {
    // The sagitta is the bulge times half the chord, to the chord's right
    // for a counter-clockwise arc.
    Point chord = end - start;
    return 0.5 * (start + end) + (bulge / 2) * Point{chord.y, -chord.x};
}

double bulge_of(Point start, Point middle, Point end) {
    Point chord = end - start;
    return 2 * cross(middle - start, chord) / dot(chord, chord);
}

std::optional<CircularArc> bulge_arc(Point start, Point end, double bulge) {
    if (bulge == 0 || start == end) return std::nullopt;
    return arc_through(start, bulge_middle(start, end, bulge), end);
}

double arc_length(Point start, Point middle, Point end) {
    double chord = distance(start, end);
    if (chord == 0) return std::numbers::pi * distance(start, middle);
    // Half the angle turned through, and the arc over its chord.
    double half = 2 * std::atan(std::fabs(bulge_of(start, middle, end)));
    return half < 1e-8 ? chord : chord * half / std::sin(half);
}

}  // namespace geo
