#include "geometry/spline.h"

#include <algorithm>
#include <cmath>

#include "geometry/nurbs.h"

namespace geo {

namespace {

// Solves sub[i] x[i-1] + diag[i] x[i] + super[i] x[i+1] = rhs[i] (sub[0] and
// super[n-1] unused), diagonally dominant, into rhs.
template <typename T>
void solve_tridiagonal(const std::vector<double>& sub, std::vector<double> diag,
                       const std::vector<double>& super, std::vector<T>& rhs) {
    std::size_t n = diag.size();
    for (std::size_t i = 1; i < n; ++i) {
        double m = sub[i] / diag[i - 1];
        diag[i] -= m * super[i - 1];
        rhs[i] = rhs[i] - m * rhs[i - 1];
    }
    rhs[n - 1] = rhs[n - 1] / diag[n - 1];
    for (std::size_t i = n - 1; i-- > 0;) rhs[i] = (rhs[i] - super[i] * rhs[i + 1]) / diag[i];
}

// The same with the corners: sub[0] multiplies x[n-1] and super[n-1] x[0]
// (Sherman and Morrison's correction to the plain system).
void solve_cyclic(const std::vector<double>& sub, std::vector<double> diag,
                  const std::vector<double>& super, std::vector<Point>& rhs) {
    std::size_t n = diag.size();
    double top_right = sub[0], bottom_left = super[n - 1];
    double gamma = -diag[0];
    diag[0] -= gamma;
    diag[n - 1] -= bottom_left * top_right / gamma;
    std::vector<double> z(n, 0.0);
    z[0] = gamma;
    z[n - 1] = bottom_left;
    solve_tridiagonal(sub, diag, super, rhs);
    solve_tridiagonal(sub, diag, super, z);
    Point fact =
        (rhs[0] + (top_right / gamma) * rhs[n - 1]) / (1 + z[0] + top_right * z[n - 1] / gamma);
    for (std::size_t i = 0; i < n; ++i) rhs[i] = rhs[i] - z[i] * fact;
}

// The derivative at the first of three points of the parabola through them,
// at parameters 0, h0 and h0 + h1.
Point parabola_start(Point p0, Point p1, Point p2, double h0, double h1) {
    Point d01 = (p1 - p0) / h0, d12 = (p2 - p1) / h1;
    return d01 - h0 * (d12 - d01) / (h0 + h1);
}

std::optional<Point> direction(std::optional<Point> t) {
    if (!t || !(length(*t) > 0) || !finite(*t)) return std::nullopt;
    return unit(*t);
}

double size_of(const std::vector<Point>& points) {
    double size = 0;
    for (const Point& q : points) size = std::max({size, std::fabs(q.x), std::fabs(q.y)});
    return size;
}

bool closes(const Curve& c, const std::vector<Point>& control) {
    return distance(c.point(c.first()), c.point(c.last())) <= 1e-9 * (size_of(control) + 1);
}

// A periodic spline given by its knots over one period (n + 1 of them) as
// the plain one: the knots carried on by the period on both sides, the
// first `degree` control points repeated after the last.
void wrap_one_period(int p, std::vector<double>& u, std::vector<Point>& c, std::vector<double>& w) {
    int n = static_cast<int>(c.size());
    double period = u[n] - u[0];
    std::vector<double> knots;
    for (int k = p; k >= 1; --k) knots.push_back(u[(n - k % n) % n] - period * (1 + (k - 1) / n));
    knots.insert(knots.end(), u.begin(), u.end());
    for (int k = 1; k <= p; ++k) knots.push_back(u[k % n] + period * (1 + k / n));
    u = knots;
    for (int k = 0; k < p; ++k) c.push_back(c[k % n]);
    if (!w.empty())
        for (int k = 0; k < p; ++k) w.push_back(w[k % n]);
}

// A periodic spline whose first n + p + 1 knots are given for its n control
// points, without the wrapped ones: the rest of the knots follow the period.
void wrap_knots_given(int p, std::vector<double>& u, std::vector<Point>& c,
                      std::vector<double>& w) {
    int n = static_cast<int>(c.size());
    double period = u[n + p] - u[p];
    for (int k = 1; k <= p; ++k) u.push_back(u[p + k] + period);
    for (int k = 0; k < p; ++k) c.push_back(c[k % n]);
    if (!w.empty())
        for (int k = 0; k < p; ++k) w.push_back(w[k % n]);
}

// Straight segments through the points, back to the first if closed;
// points that repeat the one before are dropped.
Path straight(const std::vector<Point>& points, bool closed) {
    double eps = 1e-12 * (size_of(points) + 1);
    std::vector<Point> q;
    for (const Point& p : points)
        if (q.empty() || distance(q.back(), p) > eps) q.push_back(p);
    Path path;
    if (q.size() < 2) return path;
    if (closed && distance(q.front(), q.back()) > eps) q.push_back(q.front());
    for (std::size_t i = 1; i < q.size(); ++i) path.add(Line(q[i - 1], q[i]));
    return path;
}

SplineCurve from_control_points(const SplineData& s) {
    int p = s.degree;
    int n = static_cast<int>(s.control.size());
    bool closed = (s.flags & (SplineData::closed | SplineData::periodic)) != 0;
    std::vector<double> u = s.knots, w = s.weights;
    std::vector<Point> c = s.control;
    if (closed && p >= 1 && p <= Nurbs::kMaxDegree && static_cast<int>(u.size()) == n + 1)
        wrap_one_period(p, u, c, w);
    std::string fault = Nurbs::fault(p, u, c, w);
    if (!fault.empty()) return {nullptr, fault};
    auto curve = std::make_unique<Nurbs>(p, u, c, w);
    if (closed && !closes(*curve, c)) {
        wrap_knots_given(p, u, c, w);
        if (Nurbs::fault(p, u, c, w).empty()) {
            auto wrapped = std::make_unique<Nurbs>(p, u, c, w);
            if (closes(*wrapped, c)) return {std::move(wrapped), ""};
        }
    }
    return {std::move(curve), ""};
}

}  // namespace

SplineCurve make_spline(const SplineData& s) {
    if (!s.control.empty()) return from_control_points(s);
    if (s.fit.empty()) return {nullptr, "it has neither control points nor fit points"};
    for (std::size_t i = 0; i < s.fit.size(); ++i)
        if (!finite(s.fit[i]))
            return {nullptr, "fit point " + std::to_string(i + 1) + " is not a number"};
    bool closed = (s.flags & (SplineData::closed | SplineData::periodic)) != 0;
    Path path = s.degree == 1 || (s.flags & SplineData::linear)
                    ? straight(s.fit, closed)
                    : interpolate(s.fit, s.start_tangent, s.end_tangent, closed);
    if (path.empty()) return {nullptr, "its fit points all lie at one point"};
    return {std::make_unique<Path>(std::move(path)), ""};
}

Path interpolate(std::vector<Point> points, std::optional<Point> start_tangent,
                 std::optional<Point> end_tangent, bool closed) {
    double eps = 1e-12 * (size_of(points) + 1);
    std::vector<Point> q;
    for (const Point& p : points)
        if (q.empty() || distance(q.back(), p) > eps) q.push_back(p);
    if (closed && q.size() > 1 && distance(q.front(), q.back()) <= eps) q.pop_back();
    closed = closed && q.size() >= 3;
    std::size_t n = q.size();
    Path path;
    if (n < 2) return path;

    std::size_t segments = closed ? n : n - 1;
    std::vector<double> h(segments);
    std::vector<Point> slope(segments);
    for (std::size_t i = 0; i < segments; ++i) {
        h[i] = distance(q[i], q[(i + 1) % n]);
        slope[i] = (q[(i + 1) % n] - q[i]) / h[i];
    }
    // The derivatives at the points: continuous second derivatives inside,
    // end conditions at the ends of an open one.
    std::vector<double> sub(n, 0.0), diag(n, 1.0), super(n, 0.0);
    std::vector<Point> d(n);
    for (std::size_t i = 0; i < n; ++i) {
        if (!closed && (i == 0 || i == n - 1)) continue;
        std::size_t before = (i + segments - 1) % segments, after = i % segments;
        sub[i] = h[after];
        diag[i] = 2 * (h[before] + h[after]);
        super[i] = h[before];
        d[i] = 3 * (h[after] * slope[before] + h[before] * slope[after]);
    }
    if (closed) {
        solve_cyclic(sub, diag, super, d);
    } else {
        auto start = direction(start_tangent), end = direction(end_tangent);
        if (start)
            d[0] = *start;
        else if (n == 2)
            d[0] = slope[0];
        else
            d[0] = parabola_start(q[0], q[1], q[2], h[0], h[1]);
        if (end)
            d[n - 1] = *end;
        else if (n == 2)
            d[n - 1] = slope[0];
        else
            d[n - 1] = -parabola_start(q[n - 1], q[n - 2], q[n - 3], h[n - 2], h[n - 3]);
        solve_tridiagonal(sub, diag, super, d);
    }
    for (std::size_t i = 0; i < segments; ++i) {
        std::size_t j = (i + 1) % n;
        path.add(Bezier(q[i], q[i] + (h[i] / 3) * d[i], q[j] - (h[i] / 3) * d[j], q[j]));
    }
    return path;
}

}  // namespace geo
