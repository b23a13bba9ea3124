#include "import/emit.h"

#include <cmath>
#include <cstdint>
#include <numbers>

#include "geometry/arcs.h"
#include "geometry/curves.h"
#include "geometry/fit.h"
#include "import/limits.h"
#include "import/shapes.h"

namespace {

geo::Point point(const OutlineVertex& v) { return {v.x, v.y}; }

bool near(double x0, double y0, double x1, double y1, double tolerance) {
    double dx = x1 - x0, dy = y1 - y0;
    return dx * dx + dy * dy <= tolerance * tolerance;
}

}  // namespace

bool Emitter::fit(const geo::Curve& curve) {
    // A curve that reaches beyond the drawing's limit is refused before it
    // is followed, which would take long and give nothing.
    double limit = kDrawingLimit * c_->per_inch;
    for (int i = 0; i <= 16; ++i) {
        geo::Point p = curve.point(curve.first() + (curve.last() - curve.first()) * i / 16);
        if (!(std::fabs(p.x) <= limit && std::fabs(p.y) <= limit)) {
            fault_ = "it reaches beyond the drawing's limit of -10922 to 10922";
            return false;
        }
    }
    std::vector<geo::Piece> fitted;
    geo::FitOptions options;
    options.tolerance = kFitTolerance * c_->per_inch;
    options.max_pieces = kShapeEntries;
    std::string why = geo::fit(curve, fitted, options);
    if (!why.empty()) {
        fault_ = why;
        return false;
    }
    for (const geo::Piece& p : fitted) {
        double bulge = p.arc ? geo::bulge_of(p.start, p.middle, p.end) : 0.0;
        run_.push_back({p.start.x, p.start.y, bulge, p.arc});
    }
    if (!fitted.empty()) run_.push_back({fitted.back().end.x, fitted.back().end.y, 0.0, false});
    return true;
}

bool Emitter::fit_placed(const geo::Curve& curve, const Placement& at, const FitKey& source) {
    const geo::Affine& m = at.map;
    FitKey key = source;
    key[6] = m.xx, key[7] = m.xy, key[8] = m.yx, key[9] = m.yy;
    if (auto it = fits_.find(key); it != fits_.end()) {
        double dx = m.tx - it->second.tx, dy = m.ty - it->second.ty;
        for (OutlineVertex v : it->second.run) {
            v.x += dx, v.y += dy;
            run_.push_back(v);
        }
        return true;
    }
    std::size_t before = run_.size();
    if (!fit(*curve.transformed(m))) return false;
    if (fits_.size() >= 1024) fits_.clear();
    fits_[key] = {m.tx, m.ty, std::vector<OutlineVertex>(run_.begin() + before, run_.end())};
    return true;
}

bool Emitter::place_run(const OutlineVertex* v, int count, const Placement& at) {
    run_.clear();
    if (at.identity) {
        run_.assign(v, v + count);
        return true;
    }
    const geo::Affine& m = at.map;
    bool mirrored = m.determinant() < 0;
    if (m.keeps_circles()) {
        for (int k = 0; k < count; ++k) {
            geo::Point p = m * point(v[k]);
            run_.push_back({p.x, p.y, mirrored ? -v[k].bulge : v[k].bulge, v[k].arc});
        }
        return true;
    }
    // Scaled unevenly, an arc is part of an ellipse: fitted anew.
    for (int k = 0; k + 1 < count; ++k) {
        auto arc = v[k].arc ? geo::bulge_arc(point(v[k]), point(v[k + 1]), v[k].bulge)
                            : std::nullopt;
        if (!arc) {
            geo::Point p = m * point(v[k]);
            run_.push_back({p.x, p.y, 0.0, false});
            continue;
        }
        std::size_t before = run_.size();
        FitKey source{1, v[k].x, v[k].y, v[k + 1].x, v[k + 1].y, v[k].bulge};
        if (!fit_placed(*arc, at, source)) return false;
        if (run_.size() > before) run_.pop_back();  // the next vertex follows
    }
    geo::Point p = m * point(v[count - 1]);
    run_.push_back({p.x, p.y, 0.0, false});
    return true;
}

void Emitter::piece(int count, Key key, int standalone) {
    int first = static_cast<int>(c_->vertices.size()) - count;
    const OutlineVertex& a = c_->vertices[first];
    const OutlineVertex& b = c_->vertices[first + count - 1];
    bool line0 = !a.arc, line1 = !c_->vertices[first + count - 2].arc;
    c_->add_piece({a.x, a.y, b.x, b.y, 0.0, key, first, count, standalone, line0, line1});
}

void Emitter::closed_ring(int count, Key key) {
    auto& v = c_->vertices;
    OutlineVertex& last = v[v.size() - 1];
    const OutlineVertex& first = v[v.size() - count];
    last = {first.x, first.y, 0.0, false};
    start_lowest(v, count, c_->per_inch);
    c_->add_outline(key, count, true, true);
}

void Emitter::polyline(const OutlineVertex* v, int count, bool closed, Key key,
                       const Placement& at) {
    fault_.clear();
    if (count < 2) return;
    if (c_->over) {
        // Counted as the figure it would be on its own.
        if (at.identity)
            c_->count_outline(c_->entries_of(v[0], v[count - 1], count, closed));
        else
            c_->unjoined = true;
        return;
    }
    if (!place_run(v, count, at) || run_.size() < 2) return;
    int n = static_cast<int>(run_.size());
    c_->vertices.insert(c_->vertices.end(), run_.begin(), run_.end());
    int outline = c_->add_outline(key, n, closed, false);
    if (!closed && outline >= 0) piece(n, key, outline);
}

void Emitter::segment(double x0, double y0, double x1, double y1, double bulge, bool arc, Key key,
                      const Placement& at) {
    fault_.clear();
    if (c_->over) {
        c_->unjoined = true;
        return;
    }
    if (!at.identity) {
        OutlineVertex ends[2] = {{x0, y0, bulge, arc}, {x1, y1, 0.0, false}};
        if (!place_run(ends, 2, at) || run_.size() < 2) return;
        if (run_.size() > 2) {
            c_->vertices.insert(c_->vertices.end(), run_.begin(), run_.end());
            piece(static_cast<int>(run_.size()), key, -1);
            return;
        }
        x0 = run_[0].x, y0 = run_[0].y, x1 = run_[1].x, y1 = run_[1].y, bulge = run_[0].bulge;
        if (!arc && near(x0, y0, x1, y1, c_->tolerance)) return;
    }
    c_->add_piece({x0, y0, x1, y1, arc ? bulge : 0.0, key, -1, 2, -1, !arc, !arc});
}

void Emitter::circle(double cx, double cy, double r, Key key, const Placement& at) {
    fault_.clear();
    if (c_->over) {
        c_->count_outline(3);
        return;
    }
    if (!at.identity) {
        if (!at.map.keeps_circles()) {
            geo::CircularArc whole({cx, cy}, r, 0, 0, true);
            run_.clear();
            if (!fit_placed(whole, at, {2, cx, cy, r}) || run_.size() < 2) return;
            c_->vertices.insert(c_->vertices.end(), run_.begin(), run_.end());
            closed_ring(static_cast<int>(run_.size()), key);
            return;
        }
        geo::Point c = at.map * geo::Point{cx, cy};
        cx = c.x, cy = c.y;
        r *= std::sqrt(std::fabs(at.map.determinant()));
    }
    c_->vertices.push_back({cx, cy - r, 1.0, true});
    c_->vertices.push_back({cx, cy + r, 1.0, true});
    c_->vertices.push_back({cx, cy - r, 0.0, false});
    c_->add_outline(key, 3, true, true);
}

void Emitter::curve(const geo::Curve& curve, bool closed, Key key, const Placement& at) {
    fault_.clear();
    if (c_->over) {
        c_->unjoined = true;
        return;
    }
    run_.clear();
    FitKey source{3, static_cast<double>(reinterpret_cast<std::uintptr_t>(&curve))};
    bool fitted = at.identity ? fit(curve) : fit_placed(curve, at, source);
    int n = static_cast<int>(run_.size());
    if (!fitted || n < 2) return;
    c_->vertices.insert(c_->vertices.end(), run_.begin(), run_.end());
    if (closed)
        closed_ring(n, key);
    else
        piece(n, key, -1);
}
