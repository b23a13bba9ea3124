#pragma once
#include <array>
#include <map>
#include <string>
#include <vector>

#include "geometry/affine.h"
#include "geometry/curve.h"
#include "import/collect.h"
#include "import/pieces.h"

// Entities made into figures: each kind of shape the reader finds, in the
// drawing's own coordinates or placed by an INSERT (`place`), becomes
// outlines and chain pieces of the collection. Curves (SPLINE, ELLIPSE, and
// arcs and circles that a placement scales unevenly) are fitted with lines
// and arcs first.

// Where a shape goes: its map, and whether that map changes nothing (then
// the values are taken exactly as read).
struct Placement {
    geo::Affine map;
    bool identity = true;
};

// Lines and arcs within this of a curve, in inches.
inline constexpr double kFitTolerance = 0.002;

class Emitter {
public:
    Emitter() = default;
    explicit Emitter(Collection& c) : c_(&c) {}
    void bind(Collection& c) { c_ = &c; }

    // A polyline of `count` vertices from `v` (LWPOLYLINE, POLYLINE of a
    // block): closed, a figure as drawn; open, a figure too, and a piece that
    // joins a chain when its ends meet others.
    void polyline(const OutlineVertex* v, int count, bool closed, Key key, const Placement& at);
    // A LINE (bulge 0) or ARC from (x0, y0) to (x1, y1).
    void segment(double x0, double y0, double x1, double y1, double bulge, bool arc, Key key,
                 const Placement& at);
    // A CIRCLE: two half circles from its lowest point round to it again.
    void circle(double cx, double cy, double r, Key key, const Placement& at);
    // A SPLINE or ELLIPSE: a closed one is a figure; an open one a piece.
    void curve(const geo::Curve& curve, bool closed, Key key, const Placement& at);

    // Why the last shape could not be followed with lines and arcs; empty
    // when it could.
    const std::string& fault() const { return fault_; }

private:
    // A shape fitted once under a map's linear part, for the copies an
    // INSERT array or nested blocks place again elsewhere: its run as fitted
    // with the map's translation.
    using FitKey = std::array<double, 10>;
    struct PlacedFit {
        double tx, ty;
        std::vector<OutlineVertex> run;
    };

    // Appends the run of `count` vertices from `v` placed by `at` to the
    // collection's vertices: its arcs fitted when the map does not keep circles.
    bool place_run(const OutlineVertex* v, int count, const Placement& at);
    bool fit(const geo::Curve& curve);
    // `curve`, the shape `source` (tag first) placed by `at`, fitted onto
    // run_: from the fits already made when the shape and the map's linear
    // part are the same, moved by the difference of the translations.
    bool fit_placed(const geo::Curve& curve, const Placement& at, const FitKey& source);
    void closed_ring(int count, Key key);
    void piece(int count, Key key, int standalone);

    Collection* c_ = nullptr;
    std::string fault_;
    std::vector<OutlineVertex> run_;
    std::map<FitKey, PlacedFit> fits_;
};
