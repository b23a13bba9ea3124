#include "geometry/nurbs.h"

#include <algorithm>
#include <cmath>

namespace geo {

namespace {

std::string number(double v) {
    char text[32];
    std::snprintf(text, sizeof text, "%g", v);
    return text;
}

// The values of the degree + 1 basis functions that do not vanish on knot
// span i at t, and their first derivatives when `slope` is given (after the
// NURBS Book, A2.3).
void basis(const std::vector<double>& u, int i, int p, double t, double* value, double* slope) {
    constexpr int kN = Nurbs::kMaxDegree + 1;
    double ndu[kN][kN], left[kN], right[kN];
    ndu[0][0] = 1;
    for (int j = 1; j <= p; ++j) {
        left[j] = t - u[i + 1 - j];
        right[j] = u[i + j] - t;
        double saved = 0;
        for (int r = 0; r < j; ++r) {
            ndu[j][r] = right[r + 1] + left[j - r];  // a knot span: never 0 on a real span
            double temp = ndu[r][j - 1] / ndu[j][r];
            ndu[r][j] = saved + right[r + 1] * temp;
            saved = left[j - r] * temp;
        }
        ndu[j][j] = saved;
    }
    for (int r = 0; r <= p; ++r) value[r] = ndu[r][p];
    if (!slope) return;
    for (int r = 0; r <= p; ++r) {
        double d = 0;
        if (r >= 1) d += ndu[r - 1][p - 1] / ndu[p][r - 1];
        if (r <= p - 1) d -= ndu[r][p - 1] / ndu[p][r];
        slope[r] = p * d;
    }
}

}  // namespace

std::string Nurbs::fault(int p, const std::vector<double>& u, const std::vector<Point>& c,
                         const std::vector<double>& w) {
    int n = static_cast<int>(c.size());
    int k = static_cast<int>(u.size());
    if (p < 1 || p > kMaxDegree)
        return "its degree is " + std::to_string(p) + "; a spline's degree is 1 to " +
               std::to_string(kMaxDegree);
    if (n < p + 1)
        return "it has " + std::to_string(n) + " control points where a spline of degree " +
               std::to_string(p) + " needs at least " + std::to_string(p + 1);
    if (k != n + p + 1)
        return "it has " + std::to_string(k) + " knots where " + std::to_string(n) +
               " control points of degree " + std::to_string(p) + " need " +
               std::to_string(n + p + 1);
    if (!w.empty() && static_cast<int>(w.size()) != n)
        return "it has " + std::to_string(w.size()) + " weights for " + std::to_string(n) +
               " control points";
    for (int i = 0; i < k; ++i) {
        if (!std::isfinite(u[i])) return "knot " + std::to_string(i + 1) + " is not a number";
        if (i > 0 && u[i] < u[i - 1])
            return "its knots go down at knot " + std::to_string(i + 1) + " (" + number(u[i]) +
                   " after " + number(u[i - 1]) + ")";
    }
    for (int i = 0; i < n; ++i)
        if (!finite(c[i])) return "control point " + std::to_string(i + 1) + " is not a number";
    for (std::size_t i = 0; i < w.size(); ++i)
        if (!(w[i] > 0) || !std::isfinite(w[i]))
            return "weight " + std::to_string(i + 1) + " is " + number(w[i]) +
                   "; weights are numbers above 0";
    if (!(u[p] < u[n])) return "its knots leave no length of curve";
    // Inside the curve a knot repeated more than the degree may part the
    // curve; it must still meet itself there.
    Nurbs curve(p, u, c, w);
    double size = 0;
    for (const Point& q : c) size = std::max({size, std::fabs(q.x), std::fabs(q.y)});
    for (int i = p + 1; i < n;) {
        int j = i;
        while (j < n && u[j] == u[i]) ++j;
        if (!(u[i] > u[p] && u[i] < u[n])) {
            i = j;
            continue;
        }
        if (j - i > p + 1)
            return "knot " + number(u[i]) + " is repeated more than degree + 1 times";
        if (j - i == p + 1) {
            Point a, b;
            curve.evaluate(u[i], true, &a, nullptr);
            curve.evaluate(u[i], false, &b, nullptr);
            if (distance(a, b) > 1e-9 * (size + 1))
                return "it breaks apart at knot " + number(u[i]);
        }
        i = j;
    }
    return "";
}

Nurbs::Nurbs(int p, std::vector<double> u, std::vector<Point> c, std::vector<double> w)
    : degree(p), knots(std::move(u)), control(std::move(c)), weights(std::move(w)) {}

// The knot span [knots[i], knots[i + 1]) of the curve that holds t; with
// `before`, the span (knots[i], knots[i + 1]] instead. Never an empty span.
int Nurbs::span(double t, bool before) const {
    int n = static_cast<int>(control.size());
    auto lo = knots.begin() + degree, hi = knots.begin() + n + 1;
    auto it = before ? std::lower_bound(lo, hi, t) : std::upper_bound(lo, hi, t);
    int i = static_cast<int>(it - knots.begin()) - 1;
    i = std::clamp(i, degree, n - 1);
    while (i < n - 1 && knots[i] == knots[i + 1] && t <= knots[i]) ++i;
    while (i > degree && knots[i] == knots[i + 1]) --i;
    return i;
}

void Nurbs::evaluate(double t, bool before, Point* p, Point* d) const {
    double value[kMaxDegree + 1], slope[kMaxDegree + 1];
    int i = span(t, before);
    basis(knots, i, degree, t, value, d ? slope : nullptr);
    Point a, da;
    double w = 0, dw = 0;
    for (int r = 0; r <= degree; ++r) {
        int k = i - degree + r;
        double wk = weights.empty() ? 1.0 : weights[k];
        a = a + (value[r] * wk) * control[k];
        w += value[r] * wk;
        if (!d) continue;
        da = da + (slope[r] * wk) * control[k];
        dw += slope[r] * wk;
    }
    Point at = a / w;
    if (p) *p = at;
    if (d) *d = (da - dw * at) / w;
}

Point Nurbs::point(double t) const {
    Point p;
    evaluate(t, false, &p, nullptr);
    return p;
}

Point Nurbs::derivative(double t, bool before) const {
    Point d;
    evaluate(t, before, nullptr, &d);
    return d;
}

std::vector<Break> Nurbs::breaks() const {
    std::vector<Break> out;
    int n = static_cast<int>(control.size());
    for (int i = degree + 1; i < n;) {
        int j = i;
        while (j < n && knots[j] == knots[i]) ++j;
        if (knots[i] > first() && knots[i] < last()) {
            // The repeats of this knot value, those past knots[n - 1] included.
            int m = static_cast<int>(std::upper_bound(knots.begin(), knots.end(), knots[i]) -
                                     std::lower_bound(knots.begin(), knots.end(), knots[i]));
            out.push_back({knots[i], m >= degree});
        }
        i = j;
    }
    return out;
}

std::unique_ptr<Curve> Nurbs::transformed(const Affine& m) const {
    return std::make_unique<Nurbs>(m * *this);
}

Nurbs operator*(const Affine& m, const Nurbs& c) {
    Nurbs out = c;
    for (Point& q : out.control) q = m * q;
    return out;
}

}  // namespace geo
