#include "fonts/outline.h"

#include <algorithm>
#include <cmath>

namespace {

// Exact at t = 0 and t = 1, so that pieces meet where the curve's own points are.
Point lerp(Point a, Point b, double t) { return {a.x * (1 - t) + b.x * t, a.y * (1 - t) + b.y * t}; }

// The curve's polar form at t[0], ..., t[order - 1] (de Casteljau with a
// parameter of its own at each level): all equal gives the point at t, and
// the pieces of a curve have their control points here.
Point blossom(const Segment& s, const std::array<double, 3>& t) {
    std::array<Point, 4> q = s.p;
    int n = s.order();
    for (int level = 0; level < n; ++level)
        for (int i = 0; i < n - level; ++i) q[i] = lerp(q[i], q[i + 1], t[level]);
    return q[0];
}

double cross(Point a, Point b) { return a.x * b.y - a.y * b.x; }

}  // namespace

Segment line_segment(Point a, Point b) { return {SegmentKind::line, {a, b, {}, {}}}; }

Point point_at(const Segment& s, double t) { return blossom(s, {t, t, t}); }

Point derivative_at(const Segment& s, double t) {
    int n = s.order();
    std::array<Point, 3> d{};
    for (int i = 0; i < n; ++i) d[i] = {n * (s.p[i + 1].x - s.p[i].x), n * (s.p[i + 1].y - s.p[i].y)};
    for (int level = 1; level < n; ++level)
        for (int i = 0; i < n - level; ++i) d[i] = lerp(d[i], d[i + 1], t);
    return d[0];
}

Segment piece(const Segment& s, double t0, double t1) {
    Segment out{s.kind, {}};
    int n = s.order();
    for (int k = 0; k <= n; ++k) {
        std::array<double, 3> t{};
        for (int j = 0; j < n; ++j) t[j] = j < n - k ? t0 : t1;
        out.p[k] = blossom(s, t);
    }
    return out;
}

Segment reversed(const Segment& s) {
    Segment out = s;
    std::reverse(out.p.begin(), out.p.begin() + s.order() + 1);
    return out;
}

void reverse(Chain& chain) {
    std::reverse(chain.begin(), chain.end());
    for (Segment& s : chain) s = reversed(s);
}

double twice_area(const Chain& chain) {
    // x y' - y x' is a polynomial of degree 5 at most: three Gauss points
    // integrate it exactly.
    static const double kNodes[3] = {0.5 - std::sqrt(0.15), 0.5, 0.5 + std::sqrt(0.15)};
    static const double kWeights[3] = {5.0 / 18, 8.0 / 18, 5.0 / 18};
    double sum = 0;
    for (const Segment& s : chain) {
        if (s.kind == SegmentKind::line) {
            sum += cross(s.p[0], s.p[1]);
            continue;
        }
        for (int i = 0; i < 3; ++i)
            sum += kWeights[i] * cross(point_at(s, kNodes[i]), derivative_at(s, kNodes[i]));
    }
    return sum;
}

std::vector<double> extremes(const Segment& s, int axis) {
    auto c = [&](int i) { return axis == 0 ? s.p[i].x : s.p[i].y; };
    std::vector<double> roots;
    auto keep = [&](double t) {
        if (t > 0 && t < 1) roots.push_back(t);
    };
    if (s.kind == SegmentKind::quadratic) {
        double den = c(0) - 2 * c(1) + c(2);
        if (den != 0) keep((c(0) - c(1)) / den);
    } else if (s.kind == SegmentKind::cubic) {
        double a = c(1) - c(0), b = c(2) - c(1), d = c(3) - c(2);
        double qa = a - 2 * b + d, qb = 2 * (b - a), qc = a;
        double scale = std::fabs(a) + std::fabs(b) + std::fabs(d);
        if (std::fabs(qa) <= 1e-12 * scale) {
            if (qb != 0) keep(-qc / qb);
        } else {
            double disc = qb * qb - 4 * qa * qc;
            if (disc >= 0) {
                // The root of larger size first, the other from their product.
                double q = -0.5 * (qb + std::copysign(std::sqrt(disc), qb));
                keep(q / qa);
                if (q != 0) keep(qc / q);
            }
        }
    }
    return roots;
}

Box bounds(const Chain& chain) {
    Box b{INFINITY, INFINITY, -INFINITY, -INFINITY};
    auto add = [&](Point q) {
        b.left = std::min(b.left, q.x);
        b.right = std::max(b.right, q.x);
        b.bottom = std::min(b.bottom, q.y);
        b.top = std::max(b.top, q.y);
    };
    for (const Segment& s : chain) {
        add(s.start());
        add(s.end());
        for (int axis = 0; axis < 2; ++axis)
            for (double t : extremes(s, axis)) add(point_at(s, t));
    }
    return b;
}

int pieces_within(const Segment& s, double tolerance) {
    if (s.kind == SegmentKind::line) return 1;
    // A chord of parameter length h lies within h^2/8 max|B''| of the curve.
    auto size = [](Point a, Point b, Point c) { return std::hypot(a.x - 2 * b.x + c.x, a.y - 2 * b.y + c.y); };
    double second = s.kind == SegmentKind::quadratic
                        ? 2 * size(s.p[0], s.p[1], s.p[2])
                        : 6 * std::max(size(s.p[0], s.p[1], s.p[2]), size(s.p[1], s.p[2], s.p[3]));
    double n = std::ceil(std::sqrt(second / (8 * tolerance)));
    return static_cast<int>(std::clamp(n, 1.0, 4096.0));
}

std::vector<Point> flattened(const Chain& chain, double tolerance) {
    std::vector<Point> out;
    for (const Segment& s : chain) {
        int n = pieces_within(s, tolerance);
        for (int i = 0; i < n; ++i) out.push_back(point_at(s, static_cast<double>(i) / n));
    }
    return out;
}
