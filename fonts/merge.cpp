#include "fonts/merge.h"

#include <clipper.hpp>

#include <algorithm>
#include <cmath>
#include <optional>
#include <unordered_map>

// The union is found by the clipping library on polygons that follow the
// curves within the tolerance. Every vertex of the union's polygons is then
// looked up on the contours' polygons: a stretch of the union that runs along
// one contour becomes that contour's own curves between the two ends, and
// where two contours cross, their curves are cut at the point where the curves
// themselves cross.

namespace {

using ClipperLib::cInt;
using ClipperLib::IntPoint;
using ClipperLib::Path;
using ClipperLib::Paths;

// The contours as polygons on an integer grid, and where each polygon vertex
// lies on its contour: segment index + parameter.
struct Polygons {
    double grid = 1;
    Paths paths;
    std::vector<std::vector<double>> params;  // one more than the vertices: the contour's end

    Point point(IntPoint q) const { return {q.X * grid, q.Y * grid}; }
    IntPoint snap(Point q) const { return {std::llround(q.x / grid), std::llround(q.y / grid)}; }
};

Polygons polygons_of(const std::vector<Chain>& contours, double tolerance) {
    Polygons out;
    out.grid = tolerance / 64;
    for (const Chain& chain : contours) {
        Path path;
        std::vector<double> params;
        for (std::size_t s = 0; s < chain.size(); ++s) {
            int n = pieces_within(chain[s], tolerance);
            for (int i = 0; i < n; ++i) {
                double t = static_cast<double>(i) / n;
                IntPoint q = out.snap(point_at(chain[s], t));
                if (!path.empty() && q == path.back()) continue;
                path.push_back(q);
                params.push_back(static_cast<double>(s) + t);
            }
        }
        while (path.size() > 1 && path.back() == path.front()) {
            path.pop_back();
            params.pop_back();
        }
        params.push_back(static_cast<double>(chain.size()));
        out.paths.push_back(std::move(path));
        out.params.push_back(std::move(params));
    }
    return out;
}

// A place on a contour's polygon: edge i runs from vertex i to vertex i + 1.
struct Place {
    int contour = 0;
    int edge = 0;
    double u = 0;  // 0 at vertex i, 1 at vertex i + 1
};

struct KeyHash {
    std::size_t operator()(const IntPoint& q) const {
        return std::hash<cInt>()(q.X) * 1000003u ^ std::hash<cInt>()(q.Y);
    }
};

class Locator {
public:
    explicit Locator(const Polygons& polys) : polys_(polys) {
        for (int c = 0; c < static_cast<int>(polys.paths.size()); ++c)
            for (int i = 0; i < static_cast<int>(polys.paths[c].size()); ++i)
                vertices_[polys.paths[c][i]].push_back({c, i, 0});
    }

    // Every place of the contours' polygons at q: a vertex (as the start of
    // one edge and the end of the one before), or a point on an edge where
    // two of them cross.
    std::vector<Place> places(IntPoint q) const {
        std::vector<Place> out;
        if (auto it = vertices_.find(q); it != vertices_.end()) {
            for (const Place& p : it->second) {
                int n = static_cast<int>(polys_.paths[p.contour].size());
                out.push_back(p);
                out.push_back({p.contour, (p.edge + n - 1) % n, 1});
            }
            return out;
        }
        for (int c = 0; c < static_cast<int>(polys_.paths.size()); ++c) {
            const Path& path = polys_.paths[c];
            for (std::size_t i = 0; i < path.size(); ++i) {
                const IntPoint& a = path[i];
                const IntPoint& b = path[(i + 1) % path.size()];
                double dx = double(b.X - a.X), dy = double(b.Y - a.Y);
                double len2 = dx * dx + dy * dy;
                if (len2 == 0) continue;
                double u = std::clamp((double(q.X - a.X) * dx + double(q.Y - a.Y) * dy) / len2, 0.0, 1.0);
                double ex = double(a.X) + u * dx - double(q.X), ey = double(a.Y) + u * dy - double(q.Y);
                // The crossing was rounded to the grid.
                if (ex * ex + ey * ey <= 4) out.push_back({c, static_cast<int>(i), u});
            }
        }
        return out;
    }

    // The curve parameter (segment + t) at a place of a polygon.
    double param(const Place& p) const {
        const std::vector<double>& v = polys_.params[p.contour];
        return v[p.edge] * (1 - p.u) + v[p.edge + 1] * p.u;
    }

    double segments(int contour) const { return polys_.params[contour].back(); }

    bool is_vertex(IntPoint q) const { return vertices_.count(q) > 0; }

private:
    const Polygons& polys_;
    std::unordered_map<IntPoint, std::vector<Place>, KeyHash> vertices_;
};

// A stretch of an outline along one contour, by curve parameter (segment +
// t), running on past the contour's end or back before its start as it
// goes round; or a straight line where no contour was found.
struct Stretch {
    int contour = -1;  // -1: a line from a to b
    double from = 0, to = 0;
    bool crossing_at_start = false, crossing_at_end = false;
    Point a, b;
};

double wrap(double x, double period) {
    double r = std::fmod(x, period);
    return r < 0 ? r + period : r;
}

// Where the stretches of one polygon of the union lie on the contours.
std::vector<Stretch> stretches_of(const Path& path, const Locator& at, const Polygons& polys) {
    std::vector<Stretch> out;
    std::vector<std::vector<Place>> places;
    for (const IntPoint& q : path) places.push_back(at.places(q));
    std::size_t m = path.size();
    for (std::size_t k = 0; k < m; ++k) {
        std::size_t next = (k + 1) % m;
        std::optional<std::pair<Place, Place>> edge;
        for (const Place& p : places[k]) {
            for (const Place& q : places[next])
                if (p.contour == q.contour && p.edge == q.edge && p.u != q.u) {
                    edge = {p, q};
                    break;
                }
            if (edge) break;
        }
        if (!edge) {
            out.push_back({-1, 0, 0, false, false, polys.point(path[k]), polys.point(path[next])});
            continue;
        }
        const Place& p = edge->first;
        double from = at.param(p), to = at.param(edge->second);
        double period = at.segments(p.contour);
        bool starts_at_crossing = !at.is_vertex(path[k]);
        bool ends_at_crossing = !at.is_vertex(path[next]);
        if (!out.empty()) {
            Stretch& last = out.back();
            bool forward = to > from;
            if (last.contour == p.contour && (last.to > last.from) == forward &&
                std::fabs(wrap(last.to - from + period / 2, period) - period / 2) < 1e-9) {
                last.to += to - from;
                last.crossing_at_end = ends_at_crossing;
                continue;
            }
        }
        out.push_back({p.contour, from, to, starts_at_crossing, ends_at_crossing, {}, {}});
    }
    // The polygon may start in the middle of a stretch.
    if (out.size() > 1) {
        Stretch& first = out.front();
        Stretch& last = out.back();
        if (first.contour >= 0 && last.contour == first.contour &&
            (first.to > first.from) == (last.to > last.from)) {
            double period = at.segments(first.contour);
            if (std::fabs(wrap(last.to - first.from + period / 2, period) - period / 2) < 1e-9) {
                last.to += first.to - first.from;
                last.crossing_at_end = first.crossing_at_end;
                out.erase(out.begin());
            }
        }
    }
    return out;
}

// The segment of a stretch at its start or end, and the parameter there.
struct End {
    int segment;
    double t;
};

End end_of(double param, bool forward, bool at_start, int count) {
    // A stretch running forward starts in the segment its parameter lies in
    // and ends in the one before a whole number; backward the other way round.
    bool toward_lower = forward != at_start;
    double base = toward_lower ? std::ceil(param) - 1 : std::floor(param);
    return {static_cast<int>(wrap(base, count)), param - base};
}

// Where the curves a and b cross near a(ta) = b(tb), by Newton's method.
// False when it does not settle there.
bool crossing(const Segment& a, const Segment& b, double& ta, double& tb) {
    double s = ta, t = tb;
    for (int i = 0; i < 30; ++i) {
        Point pa = point_at(a, s), pb = point_at(b, t);
        Point da = derivative_at(a, s), db = derivative_at(b, t);
        double fx = pa.x - pb.x, fy = pa.y - pb.y;
        double det = -da.x * db.y + da.y * db.x;
        double scale = std::hypot(da.x, da.y) * std::hypot(db.x, db.y);
        if (!(std::fabs(det) > 1e-9 * scale)) return false;  // they do not cross: they touch
        double ds = (-fx * db.y + fy * db.x) / det;
        double dt = (da.x * fy - da.y * fx) / det;
        s -= ds;
        t -= dt;
        if (std::fabs(s - ta) > 0.25 || std::fabs(t - tb) > 0.25) return false;
        if (std::fabs(ds) < 1e-13 && std::fabs(dt) < 1e-13) break;
    }
    if (s < -1e-9 || s > 1 + 1e-9 || t < -1e-9 || t > 1 + 1e-9) return false;
    ta = std::clamp(s, 0.0, 1.0);
    tb = std::clamp(t, 0.0, 1.0);
    return true;
}

// Cuts the curves of two stretches that meet where contours cross at the
// point where the curves cross.
void cut_at_crossing(Stretch& a, Stretch& b, const std::vector<Chain>& contours) {
    const Chain& ca = contours[a.contour];
    const Chain& cb = contours[b.contour];
    bool fa = a.to > a.from, fb = b.to > b.from;
    End ea = end_of(a.to, fa, false, static_cast<int>(ca.size()));
    End eb = end_of(b.from, fb, true, static_cast<int>(cb.size()));
    double ta = ea.t, tb = eb.t;
    if (!crossing(ca[ea.segment], cb[eb.segment], ta, tb)) return;
    a.to += ta - ea.t;
    b.from += tb - eb.t;
}

void append(Chain& out, const Chain& contour, double from, double to) {
    bool forward = to > from;
    double lo = std::min(from, to), hi = std::max(from, to);
    int count = static_cast<int>(contour.size());
    Chain part;
    for (double j = std::floor(lo); j < hi; ++j) {
        double t0 = std::max(lo - j, 0.0), t1 = std::min(hi - j, 1.0);
        if (t1 - t0 < 1e-12) continue;
        const Segment& s = contour[static_cast<int>(wrap(j, count))];
        part.push_back(t0 == 0 && t1 == 1 ? s : piece(s, t0, t1));
    }
    if (!forward) reverse(part);
    out.insert(out.end(), part.begin(), part.end());
}

bool degenerate(const Segment& s) {
    for (int i = 1; i <= s.order(); ++i)
        if (s.p[i].x != s.p[0].x || s.p[i].y != s.p[0].y) return false;
    return true;
}

Chain outline_of(std::vector<Stretch> stretches, const std::vector<Chain>& contours) {
    std::size_t n = stretches.size();
    for (std::size_t k = 0; k < n; ++k) {
        Stretch& a = stretches[k];
        Stretch& b = stretches[(k + 1) % n];
        if (a.contour >= 0 && b.contour >= 0 && &a != &b && a.crossing_at_end && b.crossing_at_start)
            cut_at_crossing(a, b, contours);
    }
    Chain out;
    for (const Stretch& s : stretches) {
        if (s.contour < 0)
            out.push_back(line_segment(s.a, s.b));
        else
            append(out, contours[s.contour], s.from, s.to);
    }
    // Each piece starts where the one before ends: ends found on two curves,
    // or on the grid, may be a hair apart.
    for (std::size_t k = 0; k + 1 < out.size(); ++k) out[k + 1].p[0] = out[k].end();
    if (!out.empty()) out.back().end() = out.front().p[0];
    std::erase_if(out, degenerate);
    return out;
}

double total_area(const Paths& paths) {
    double sum = 0;
    for (const Path& p : paths) sum += std::fabs(ClipperLib::Area(p));
    return sum;
}

}  // namespace

Merge merge_overlaps(std::vector<Chain>& contours, FillRule rule, double tolerance) {
    Polygons polys = polygons_of(contours, tolerance);
    Paths united;
    try {
        ClipperLib::Clipper clipper;
        clipper.PreserveCollinear(true);
        for (const Path& p : polys.paths)
            if (p.size() >= 3) clipper.AddPath(p, ClipperLib::ptSubject, true);
        auto fill = rule == FillRule::nonzero ? ClipperLib::pftNonZero : ClipperLib::pftEvenOdd;
        if (!clipper.Execute(ClipperLib::ctUnion, united, fill, fill)) return Merge::failed;
    } catch (const ClipperLib::clipperException&) {
        return Merge::failed;
    }
    double before = total_area(polys.paths), after = total_area(united);
    if (united.size() == polys.paths.size() && std::fabs(after - before) <= 1e-9 * before)
        return Merge::unchanged;
    if (united.empty() || after <= 0) return Merge::failed;

    Locator at(polys);
    std::vector<Chain> merged;
    for (const Path& path : united) {
        Chain chain = outline_of(stretches_of(path, at, polys), contours);
        if (chain.empty()) return Merge::failed;
        merged.push_back(std::move(chain));
    }
    contours = std::move(merged);
    return Merge::merged;
}
