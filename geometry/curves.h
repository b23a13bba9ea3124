#pragma once
#include <array>
#include <concepts>
#include <memory>
#include <vector>

#include "geometry/curve.h"

namespace geo {

// A straight segment, t from 0 to 1.
class Line : public Curve {
public:
    Line(Point from, Point to) : a(from), b(to) {}
    double first() const override { return 0; }
    double last() const override { return 1; }
    Point point(double t) const override { return a + t * (b - a); }
    Point derivative(double, bool) const override { return b - a; }
    std::unique_ptr<Curve> transformed(const Affine& m) const override;

    Point a, b;
};

// A part of an ellipse, or all of it:
//   p(s) = centre + major cos s + ratio perp(major) sin s,  s from start to end,
// where `major` runs from the centre to an end of the major axis and
// perp(major) is `major` turned a quarter counter-clockwise. A positive ratio
// runs counter-clockwise, a negative one clockwise (a mirrored ellipse).
// start < end <= start + 2 pi. These are the values of a DXF ELLIPSE; its
// minor axis is its extrusion direction crossed with its major axis, so one
// whose extrusion points down runs clockwise seen from above: its ratio
// goes in negated.
class EllipticalArc : public Curve {
public:
    // `end` is taken past `start` by whole turns; end equal to start, or a
    // whole turn on, is the full ellipse.
    EllipticalArc(Point centre, Point major, double ratio, double start, double end);
    double first() const override { return start; }
    double last() const override { return end; }
    Point point(double s) const override;
    Point derivative(double s, bool) const override;
    // Only a flattened ellipse (ratio 0, a segment run to and fro) turns at once.
    std::vector<Break> breaks() const override;
    std::unique_ptr<Curve> transformed(const Affine& m) const override;

    Point centre, major;
    double ratio, start, end;
};

// A circular arc from the angle `start` to the angle `end` (radians), turning
// counter-clockwise or clockwise; t runs from 0 to the angle turned through.
// An arc that ends where it starts is the full circle.
class CircularArc : public Curve {
public:
    CircularArc(Point centre, double radius, double start, double end, bool ccw);
    double first() const override { return 0; }
    double last() const override { return sweep; }
    Point point(double t) const override;
    Point derivative(double t, bool) const override;
    // Mapped, an arc becomes an elliptical arc: one of ratio 1 or -1 when the
    // map keeps circles (Affine::keeps_circles).
    std::unique_ptr<Curve> transformed(const Affine& m) const override;
    EllipticalArc elliptical() const;

    Point centre;
    double radius, start, sweep;  // sweep > 0, at most 2 pi
    bool ccw;
};

// A Bezier segment of degree 1 to 3 (2 to 4 control points), t from 0 to 1:
// the quadratic and cubic segments of font outlines.
class Bezier : public Curve {
public:
    Bezier(Point p0, Point p1);
    Bezier(Point p0, Point p1, Point p2);
    Bezier(Point p0, Point p1, Point p2, Point p3);
    double first() const override { return 0; }
    double last() const override { return 1; }
    Point point(double t) const override;
    Point derivative(double t, bool) const override;
    std::unique_ptr<Curve> transformed(const Affine& m) const override;

    std::array<Point, 4> p;
    int degree;
};

// Curves joined end to end: part k runs for t from k to k + 1. Each part must
// start where the one before it ends. Every joint is a break that may be a
// corner; the fitter keeps it only where the tangent does turn.
class Path : public Curve {
public:
    Path() = default;
    void add(std::unique_ptr<Curve> part) { parts.push_back(std::move(part)); }
    template <std::derived_from<Curve> C>
    void add(const C& part) {
        parts.push_back(std::make_unique<C>(part));
    }
    bool empty() const { return parts.empty(); }

    double first() const override { return 0; }
    double last() const override { return static_cast<double>(parts.size()); }
    Point point(double t) const override;
    Point derivative(double t, bool before) const override;
    std::vector<Break> breaks() const override;
    std::unique_ptr<Curve> transformed(const Affine& m) const override;

    std::vector<std::unique_ptr<Curve>> parts;

private:
    // The part t falls in, and t in that part's own parameter.
    const Curve& part_at(double t, bool before, double& local, double& scale) const;
};

// The same curves mapped by an affine map, as values.
Line operator*(const Affine& m, const Line& c);
EllipticalArc operator*(const Affine& m, const EllipticalArc& c);
EllipticalArc operator*(const Affine& m, const CircularArc& c);
Bezier operator*(const Affine& m, const Bezier& c);

}  // namespace geo
