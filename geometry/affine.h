#pragma once
#include "geometry/point.h"

namespace geo {

// A map of the plane that keeps straight lines straight:
//   x' = xx x + xy y + tx,   y' = yx x + yy y + ty.
struct Affine {
    double xx = 1, xy = 0, yx = 0, yy = 1, tx = 0, ty = 0;

    static Affine translation(Point by);
    // Counter-clockwise about the origin.
    static Affine rotation(double radians);
    // A negative factor mirrors that axis.
    static Affine scaling(double sx, double sy);
    // The reflection in the line through the origin at `radians` from the x axis.
    static Affine mirroring(double radians);

    // Vectors (directions, derivatives) take the map without its translation.
    Point linear(Point v) const { return {xx * v.x + xy * v.y, yx * v.x + yy * v.y}; }
    double determinant() const { return xx * yy - xy * yx; }
    // True when circles stay circles: a rotation, a uniform scale, a mirror
    // and a translation, in any combination.
    bool keeps_circles() const;
    bool finite() const;
};

inline Point operator*(const Affine& a, Point p) { return a.linear(p) + Point{a.tx, a.ty}; }
// The map `second` after `first`: (second * first) * p == second * (first * p).
Affine operator*(const Affine& second, const Affine& first);

}  // namespace geo
