#include "geometry/curves.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace geo {

namespace {

constexpr double kTurn = 2 * std::numbers::pi;

// The angle turned from `start` to `end`, taken in (0, 2 pi]: an end equal
// to the start, or whole turns on, is a full turn. A sweep a hair over a
// full turn from rounding stays a full turn.
double sweep_between(double start, double end) {
    double sweep = end - start;
    if (sweep > 0 && sweep <= kTurn * (1 + 1e-12)) return std::min(sweep, kTurn);
    sweep = std::fmod(sweep, kTurn);
    return sweep <= 0 ? sweep + kTurn : sweep;
}

}  // namespace

std::unique_ptr<Curve> Line::transformed(const Affine& m) const {
    return std::make_unique<Line>(m * *this);
}

EllipticalArc::EllipticalArc(Point c, Point m, double r, double s0, double s1)
    : centre(c), major(m), ratio(r), start(s0), end(s0 + sweep_between(s0, s1)) {}

Point EllipticalArc::point(double s) const {
    return centre + std::cos(s) * major + (ratio * std::sin(s)) * perp(major);
}

Point EllipticalArc::derivative(double s, bool) const {
    return (-std::sin(s)) * major + (ratio * std::cos(s)) * perp(major);
}

std::vector<Break> EllipticalArc::breaks() const {
    std::vector<Break> out;
    if (ratio != 0) return out;
    for (double k = std::ceil(start / std::numbers::pi); k * std::numbers::pi < end; ++k)
        if (k * std::numbers::pi > start) out.push_back({k * std::numbers::pi, true});
    return out;
}

std::unique_ptr<Curve> EllipticalArc::transformed(const Affine& m) const {
    return std::make_unique<EllipticalArc>(m * *this);
}

CircularArc::CircularArc(Point c, double r, double s0, double s1, bool counter_clockwise)
    : centre(c),
      radius(r),
      start(s0),
      sweep(counter_clockwise ? sweep_between(s0, s1) : sweep_between(s1, s0)),
      ccw(counter_clockwise) {}

Point CircularArc::point(double t) const {
    double a = ccw ? start + t : start - t;
    return centre + radius * Point{std::cos(a), std::sin(a)};
}

Point CircularArc::derivative(double t, bool) const {
    double a = ccw ? start + t : start - t;
    Point d = radius * Point{-std::sin(a), std::cos(a)};
    return ccw ? d : -d;
}

std::unique_ptr<Curve> CircularArc::transformed(const Affine& m) const {
    return std::make_unique<EllipticalArc>(m * *this);
}

EllipticalArc CircularArc::elliptical() const {
    double s = ccw ? start : -start;
    EllipticalArc e(centre, {radius, 0}, ccw ? 1 : -1, s, s);
    e.end = s + sweep;  // taken as it is: a full circle stays one
    return e;
}

Bezier::Bezier(Point p0, Point p1) : p{p0, p1, p1, p1}, degree(1) {}
Bezier::Bezier(Point p0, Point p1, Point p2) : p{p0, p1, p2, p2}, degree(2) {}
Bezier::Bezier(Point p0, Point p1, Point p2, Point p3) : p{p0, p1, p2, p3}, degree(3) {}

Point Bezier::point(double t) const {
    double u = 1 - t;
    switch (degree) {
    case 1:
        return u * p[0] + t * p[1];
    case 2:
        return (u * u) * p[0] + (2 * u * t) * p[1] + (t * t) * p[2];
    default:
        return (u * u * u) * p[0] + (3 * u * u * t) * p[1] + (3 * u * t * t) * p[2] +
               (t * t * t) * p[3];
    }
}

Point Bezier::derivative(double t, bool) const {
    double u = 1 - t;
    switch (degree) {
    case 1:
        return p[1] - p[0];
    case 2:
        return (2 * u) * (p[1] - p[0]) + (2 * t) * (p[2] - p[1]);
    default:
        return (3 * u * u) * (p[1] - p[0]) + (6 * u * t) * (p[2] - p[1]) +
               (3 * t * t) * (p[3] - p[2]);
    }
}

std::unique_ptr<Curve> Bezier::transformed(const Affine& m) const {
    return std::make_unique<Bezier>(m * *this);
}

const Curve& Path::part_at(double t, bool before, double& local, double& scale) const {
    int n = static_cast<int>(parts.size());
    double k = before ? std::ceil(t) - 1 : std::floor(t);
    int i = static_cast<int>(std::clamp(k, 0.0, static_cast<double>(n - 1)));
    const Curve& c = *parts[i];
    scale = c.last() - c.first();
    local = c.first() + (t - i) * scale;
    return c;
}

Point Path::point(double t) const {
    double local, scale;
    return part_at(t, false, local, scale).point(local);
}

Point Path::derivative(double t, bool before) const {
    double local, scale;
    const Curve& c = part_at(t, before, local, scale);
    return scale * c.derivative(local, before);
}

std::vector<Break> Path::breaks() const {
    std::vector<Break> out;
    for (std::size_t k = 0; k < parts.size(); ++k) {
        if (k > 0) out.push_back({static_cast<double>(k), true});
        const Curve& c = *parts[k];
        double scale = c.last() - c.first();
        for (const Break& b : c.breaks())
            out.push_back({static_cast<double>(k) + (b.t - c.first()) / scale, b.corner});
    }
    return out;
}

std::unique_ptr<Curve> Path::transformed(const Affine& m) const {
    auto out = std::make_unique<Path>();
    for (const auto& c : parts) out->add(c->transformed(m));
    return out;
}

Line operator*(const Affine& m, const Line& c) { return Line(m * c.a, m * c.b); }

EllipticalArc operator*(const Affine& m, const EllipticalArc& e) {
    // The image is centre + u cos s + v sin s; its axes lie where the
    // distance from the centre is greatest and least.
    Point u = m.linear(e.major), v = m.linear(e.ratio * perp(e.major));
    double phi = 0.5 * std::atan2(2 * dot(u, v), dot(u, u) - dot(v, v));
    Point a = std::cos(phi) * u + std::sin(phi) * v;
    Point b = std::cos(phi) * v - std::sin(phi) * u;
    double aa = dot(a, a);
    EllipticalArc out(m * e.centre, a, aa > 0 ? cross(a, b) / aa : 0.0, e.start - phi,
                      e.start - phi);
    out.end = out.start + (e.end - e.start);
    return out;
}

EllipticalArc operator*(const Affine& m, const CircularArc& c) { return m * c.elliptical(); }

Bezier operator*(const Affine& m, const Bezier& c) {
    Bezier out = c;
    for (Point& q : out.p) q = m * q;
    return out;
}

}  // namespace geo
