#include "geometry/affine.h"

#include <cmath>

namespace geo {

Affine Affine::translation(Point by) { return {1, 0, 0, 1, by.x, by.y}; }

Affine Affine::rotation(double radians) {
    double c = std::cos(radians), s = std::sin(radians);
    return {c, -s, s, c, 0, 0};
}

Affine Affine::scaling(double sx, double sy) { return {sx, 0, 0, sy, 0, 0}; }

Affine Affine::mirroring(double radians) {
    double c = std::cos(2 * radians), s = std::sin(2 * radians);
    return {c, s, s, -c, 0, 0};
}

bool Affine::keeps_circles() const {
    // The images of the two unit axes are as long as each other and at right angles.
    Point u{xx, yx}, v{xy, yy};
    double scale = dot(u, u) + dot(v, v);
    const double eps = 1e-12 * scale;
    return scale > 0 && std::fabs(dot(u, u) - dot(v, v)) <= eps && std::fabs(dot(u, v)) <= eps;
}

bool Affine::finite() const {
    return std::isfinite(xx) && std::isfinite(xy) && std::isfinite(yx) && std::isfinite(yy) &&
           std::isfinite(tx) && std::isfinite(ty);
}

Affine operator*(const Affine& second, const Affine& first) {
    const Affine& a = second;
    const Affine& b = first;
    return {a.xx * b.xx + a.xy * b.yx,        a.xx * b.xy + a.xy * b.yy,
            a.yx * b.xx + a.yy * b.yx,        a.yx * b.xy + a.yy * b.yy,
            a.xx * b.tx + a.xy * b.ty + a.tx, a.yx * b.tx + a.yy * b.ty + a.ty};
}

}  // namespace geo
