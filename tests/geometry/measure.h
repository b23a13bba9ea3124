#pragma once
// Measures a fitted chain against its curve on its own, densely and by brute
// force, apart from the fitter's own checks.
#include <algorithm>
#include <cmath>
#include <functional>
#include <numbers>
#include <vector>

#include "geometry/arcs.h"
#include "geometry/fit.h"

namespace measure {

using geo::Piece;
using geo::Point;

inline double to_segment(Point q, Point a, Point b) {
    Point ab = b - a;
    double ll = dot(ab, ab);
    double f = ll > 0 ? std::clamp(dot(q - a, ab) / ll, 0.0, 1.0) : 0.0;
    return distance(q, a + f * ab);
}

inline Point on_piece(const Piece& p, double f) {
    if (!p.arc) return p.start + f * (p.end - p.start);
    auto c = geo::arc_through(p.start, p.middle, p.end);
    return c->point(f * c->sweep);
}

inline double to_piece(const Piece& p, Point q) {
    if (!p.arc) return to_segment(q, p.start, p.end);
    auto c = geo::arc_through(p.start, p.middle, p.end);
    Point s = p.start - c->centre, w = q - c->centre;
    double along = std::atan2(cross(s, w), dot(s, w)) * (c->ccw ? 1 : -1);
    if (along < 0) along += 2 * std::numbers::pi;
    if (along <= c->sweep) return std::fabs(length(w) - c->radius);
    return std::min(distance(q, p.start), distance(q, p.end));
}

// The direction a piece leaves its start in, or arrives at its end in.
inline Point direction(const Piece& p, bool at_end) {
    if (!p.arc) return unit(p.end - p.start);
    auto c = geo::arc_through(p.start, p.middle, p.end);
    Point r = (at_end ? p.end : p.start) - c->centre;
    return unit(c->ccw ? perp(r) : -perp(r));
}

struct Chain {
    double deviation = 0;  // the largest distance between curve and chain, either way
    int smooth = 0;        // joints where the chain keeps its direction
    int corners = 0;       // joints where it turns by more than half a degree
    int other = 0;         // joints that are neither, and gaps
    int arcs = 0, lines = 0;
    double largest_sweep = 0;  // degrees
};

// The curve at parameters no farther apart than 1/3000 of its range, and
// closer where it moves fast: chords of at most 1/20000 of its length.
inline std::vector<Point> dense(const std::function<Point(double)>& curve, double t0, double t1,
                                std::vector<double> ts) {
    for (int k = 0; k <= 3000; ++k) ts.push_back(t0 + (t1 - t0) * k / 3000);
    std::sort(ts.begin(), ts.end());
    std::vector<Point> ps;
    for (double t : ts) ps.push_back(curve(t));
    double total = 0;
    for (std::size_t k = 1; k < ps.size(); ++k) total += distance(ps[k - 1], ps[k]);
    std::vector<Point> out{ps[0]};
    std::function<void(double, Point, double, Point, int)> split = [&](double a, Point pa, double b,
                                                                       Point pb, int d) {
        if (d < 30 && distance(pa, pb) > total / 20000) {
            double m = 0.5 * (a + b);
            Point pm = curve(m);
            split(a, pa, m, pm, d + 1);
            split(m, pm, b, pb, d + 1);
            return;
        }
        out.push_back(pb);
    };
    for (std::size_t k = 1; k < ps.size(); ++k) split(ts[k - 1], ps[k - 1], ts[k], ps[k], 0);
    return out;
}

inline Chain check(const std::function<Point(double)>& curve, double t0, double t1,
                   const std::vector<Piece>& pieces, const std::vector<double>& breaks = {}) {
    Chain out;
    std::vector<Point> line = dense(curve, t0, t1, breaks);
    for (Point q : line) {
        double near = 1e300;
        for (const Piece& p : pieces) near = std::min(near, to_piece(p, q));
        out.deviation = std::max(out.deviation, near);
    }
    for (std::size_t i = 0; i < pieces.size(); ++i) {
        const Piece& p = pieces[i];
        for (int k = 0; k <= 40; ++k) {
            Point q = on_piece(p, k / 40.0);
            double near = 1e300;
            for (std::size_t m = 1; m < line.size(); ++m)
                near = std::min(near, to_segment(q, line[m - 1], line[m]));
            out.deviation = std::max(out.deviation, near);
        }
        if (p.arc) {
            ++out.arcs;
            out.largest_sweep =
                std::max(out.largest_sweep, geo::arc_through(p.start, p.middle, p.end)->sweep *
                                                180 / std::numbers::pi);
        } else {
            ++out.lines;
        }
        if (i == 0) continue;
        double turn = std::fabs(geo::turn(direction(pieces[i - 1], true), direction(p, false)));
        if (!(pieces[i - 1].end == p.start))
            ++out.other;
        else if (turn < 1e-6)
            ++out.smooth;
        else if (turn > 0.5 * std::numbers::pi / 180)
            ++out.corners;
        else
            ++out.other;
    }
    return out;
}

inline Chain check(const geo::Curve& c, const std::vector<Piece>& pieces) {
    std::vector<double> breaks;
    for (const geo::Break& b : c.breaks()) breaks.push_back(b.t);
    return check([&c](double t) { return c.point(t); }, c.first(), c.last(), pieces, breaks);
}

}  // namespace measure
