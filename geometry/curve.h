#pragma once
#include <memory>
#include <vector>

#include "geometry/affine.h"
#include "geometry/point.h"

namespace geo {

// Where a curve passes from one of its simple pieces (a polynomial or conic
// piece) to the next. At a `corner` its tangent may turn at once.
struct Break {
    double t;
    bool corner;
};

// A planar curve traced by a parameter t from first() to last(). It is
// continuous; its tangent may turn at once only at a break marked a corner.
class Curve {
public:
    virtual ~Curve() = default;
    virtual double first() const = 0;
    virtual double last() const = 0;
    virtual Point point(double t) const = 0;
    // The first derivative at t. At a break it is that of the piece that
    // starts at t, or with `before` that of the piece that ends there.
    virtual Point derivative(double t, bool before) const = 0;
    // The breaks strictly between first() and last(), in order.
    virtual std::vector<Break> breaks() const { return {}; }
    // The curve mapped by `a`.
    virtual std::unique_ptr<Curve> transformed(const Affine& a) const = 0;
};

}  // namespace geo
