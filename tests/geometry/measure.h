#pragma once
// Measures a fitted chain against its curve on its own, densely and by brute
// force, apart from the fitter's own checks.
#include <algorithm>
#include <cmath>
#include <functional>
#include <numbers>
#include <optional>
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

// `c` is the arc's circle, as arc_through gives it.
inline double to_piece(const Piece& p, const std::optional<geo::CircularArc>& c, Point q) {
    if (!p.arc) return to_segment(q, p.start, p.end);
    Point s = p.start - c->centre, w = q - c->centre;
    double along = std::atan2(cross(s, w), dot(s, w)) * (c->ccw ? 1 : -1);
    if (along < 0) along += 2 * std::numbers::pi;
    if (along <= c->sweep) return std::fabs(length(w) - c->radius);
    return std::min(distance(q, p.start), distance(q, p.end));
}

inline double to_piece(const Piece& p, Point q) {
    return to_piece(p, geo::arc_through(p.start, p.middle, p.end), q);
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
    int smooth = 0;        // joints where the chain keeps its direction (a closed one's last too)
    int corners = 0;       // joints where it turns by more than half a degree
    int other = 0;         // joints that are neither, and gaps
    int arcs = 0, lines = 0;
    double largest_sweep = 0;  // degrees
};

// The curve at parameters no farther apart than 1/3000 of its range, and
// closer where it moves fast or bends: chords of at most 1/20000 of its
// length, whose middles lie within `flat` of the curve.
inline std::vector<Point> dense(const std::function<Point(double)>& curve, double t0, double t1,
                                std::vector<double> ts, double flat) {
    for (int k = 0; k <= 3000; ++k) ts.push_back(t0 + (t1 - t0) * k / 3000);
    std::sort(ts.begin(), ts.end());
    std::vector<Point> ps;
    for (double t : ts) ps.push_back(curve(t));
    double total = 0;
    for (std::size_t k = 1; k < ps.size(); ++k) total += distance(ps[k - 1], ps[k]);
    std::vector<Point> out{ps[0]};
    std::function<void(double, Point, double, Point, int)> split = [&](double a, Point pa, double b,
                                                                       Point pb, int d) {
        double m = 0.5 * (a + b);
        Point pm = curve(m);
        if (d < 30 && (distance(pa, pb) > total / 20000 || to_segment(pm, pa, pb) > flat)) {
            split(a, pa, m, pm, d + 1);
            split(m, pm, b, pb, d + 1);
            return;
        }
        out.push_back(pb);
    };
    for (std::size_t k = 1; k < ps.size(); ++k) split(ts[k - 1], ps[k - 1], ts[k], ps[k], 0);
    return out;
}

// The distance from a point to a polyline, searched through a grid of its
// segments ring by ring from the point's own cell.
class Nearest {
public:
    explicit Nearest(const std::vector<Point>& line) : line_(line) {
        lo_ = hi_ = line[0];
        for (Point q : line) {
            lo_ = {std::min(lo_.x, q.x), std::min(lo_.y, q.y)};
            hi_ = {std::max(hi_.x, q.x), std::max(hi_.y, q.y)};
        }
        cell_ = std::max({hi_.x - lo_.x, hi_.y - lo_.y, 1e-9}) / (kCells - 1);
        for (std::size_t k = 1; k < line.size(); ++k) {
            auto [x0, y0] = at(line[k - 1]);
            auto [x1, y1] = at(line[k]);
            for (int x = std::min(x0, x1); x <= std::max(x0, x1); ++x)
                for (int y = std::min(y0, y1); y <= std::max(y0, y1); ++y)
                    cells_[x * kCells + y].push_back(k);
        }
    }

    double operator()(Point q) const {
        auto [cx, cy] = at(q);
        double best = 1e300;
        for (int r = 0; r < 2 * kCells && best > (r - 1) * cell_; ++r)
            for (int x = cx - r; x <= cx + r; ++x)
                for (int y = cy - r; y <= cy + r; ++y) {
                    bool ring = std::abs(x - cx) == r || std::abs(y - cy) == r;
                    if (!ring || x < 0 || y < 0 || x >= kCells || y >= kCells) continue;
                    for (std::size_t k : cells_[x * kCells + y])
                        best = std::min(best, to_segment(q, line_[k - 1], line_[k]));
                }
        return best;
    }

private:
    static constexpr int kCells = 256;
    std::pair<int, int> at(Point q) const {
        auto index = [this](double v) {
            return std::clamp(static_cast<int>(std::floor(v / cell_)), 0, kCells - 1);
        };
        return {index(q.x - lo_.x), index(q.y - lo_.y)};
    }
    const std::vector<Point>& line_;
    Point lo_, hi_;
    double cell_;
    std::vector<std::vector<std::size_t>> cells_ =
        std::vector<std::vector<std::size_t>>(kCells * kCells);
};

inline Chain check(const std::function<Point(double)>& curve, double t0, double t1,
                   const std::vector<Piece>& pieces, const std::vector<double>& breaks = {},
                   double tolerance = 0.002) {
    Chain out;
    std::vector<Point> line = dense(curve, t0, t1, breaks, tolerance / 50);
    Nearest to_curve(line);
    std::vector<std::optional<geo::CircularArc>> circles;
    for (const Piece& p : pieces) circles.push_back(geo::arc_through(p.start, p.middle, p.end));
    // From each point of the curve the nearest piece, searched from the one
    // nearest the point before; only a point farther than all before counts.
    std::size_t last = 0;
    for (Point q : line) {
        double near = 1e300;
        std::size_t from = last;
        for (std::size_t n = 0; n < pieces.size() && near > out.deviation; ++n) {
            std::size_t k = (from + n) % pieces.size();
            double d = to_piece(pieces[k], circles[k], q);
            if (d < near) near = d, last = k;
        }
        out.deviation = std::max(out.deviation, near);
    }
    for (std::size_t i = 0; i < pieces.size(); ++i) {
        const Piece& p = pieces[i];
        for (int k = 0; k <= 40; ++k) {
            out.deviation = std::max(out.deviation, to_curve(on_piece(p, k / 40.0)));
        }
        if (p.arc) {
            ++out.arcs;
            out.largest_sweep =
                std::max(out.largest_sweep, geo::arc_through(p.start, p.middle, p.end)->sweep *
                                                180 / std::numbers::pi);
        } else {
            ++out.lines;
        }
        // A chain that closes joins its last piece to its first as well.
        const Piece* before = i > 0 ? &pieces[i - 1] : nullptr;
        if (i == 0 && pieces.size() > 1 && distance(pieces.back().end, p.start) < 1e-9)
            before = &pieces.back();
        if (!before) continue;
        double turn = std::fabs(geo::turn(direction(*before, true), direction(p, false)));
        if (i > 0 && !(before->end == p.start))
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

inline Chain check(const geo::Curve& c, const std::vector<Piece>& pieces,
                   double tolerance = 0.002) {
    std::vector<double> breaks;
    for (const geo::Break& b : c.breaks()) breaks.push_back(b.t);
    return check([&c](double t) { return c.point(t); }, c.first(), c.last(), pieces, breaks,
                 tolerance);
}

}  // namespace measure
