#pragma once
#include <string>
#include <vector>

#include "geometry/curve.h"

namespace geo {

// A non-uniform rational B-spline of any degree up to kMaxDegree: n control
// points, n + degree + 1 knots, and optional weights (all 1 when empty). The
// knot vector may be clamped or not; the curve runs for t from
// knots[degree] to knots[n]. A knot repeated `degree` times or more is a
// break that may be a corner.
class Nurbs : public Curve {
public:
    static constexpr int kMaxDegree = 25;

    // "" when the values make a curve; otherwise what is wrong with them, in
    // words for the operator ("it has 7 knots where ...").
    static std::string fault(int degree, const std::vector<double>& knots,
                             const std::vector<Point>& control, const std::vector<double>& weights);

    // Values that fault() passes.
    Nurbs(int degree, std::vector<double> knots, std::vector<Point> control,
          std::vector<double> weights = {});
    double first() const override { return knots[degree]; }
    double last() const override { return knots[control.size()]; }
    Point point(double t) const override;
    Point derivative(double t, bool before) const override;
    std::vector<Break> breaks() const override;
    std::unique_ptr<Curve> transformed(const Affine& m) const override;

    int degree;
    std::vector<double> knots;
    std::vector<Point> control;
    std::vector<double> weights;

private:
    int span(double t, bool before) const;
    void evaluate(double t, bool before, Point* p, Point* d) const;
};

Nurbs operator*(const Affine& m, const Nurbs& c);

}  // namespace geo
