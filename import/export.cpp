#include "import/export.h"

#include <charconv>
#include <cmath>

#include "geometry/arcs.h"
#include "import/dxf.h"
#include "import/shapes.h"
#include "platform/files.h"
#include "platform/text.h"

namespace {

void pair(std::string& out, int code, const char* value) {
    out += strprintf("%3d\n%s\n", code, value);
}

// A number as the line scanner reads it back: the shortest text that gives
// the same value, never without a point or exponent (a bare "10" would be
// read as a group code).
template <typename T>
void number(std::string& out, int code, T v) {
    char text[40];
    auto r = std::to_chars(text, text + sizeof text - 3, v);
    std::string_view s(text, static_cast<std::size_t>(r.ptr - text));
    std::string value(s);
    if (s.find_first_of(".en") == std::string_view::npos) value += ".0";
    pair(out, code, value.c_str());
}

// The bulge of the arc of entry `k` that the reader turns back into the
// very middle point the table holds. As the bulge changes, each coordinate
// of the middle, before it is rounded to a float, moves smoothly: for each
// the bulges that round to the table's value make an interval, found by
// Newton's method at its two ends, and a bulge from where the two
// intervals meet gives back both.
double bulge_of_entry(int k) {
    const ShapeTables& t = shapes;
    float x1 = t.p1[k], y1 = t.p2[k], x2 = t.p5[k], y2 = t.p6[k];
    float want[2] = {t.p3[k], t.p4[k]};
    double b = geo::bulge_of({x1, y1}, {want[0], want[1]}, {x2, y2});
    auto lands = [&](double c) {
        ArcMiddle m = arc_middle(x1, y1, x2, y2, c);
        return m.x == want[0] && m.y == want[1];
    };
    // An arc whose ends meet has its middle there, whatever the bulge.
    if (!std::isfinite(b)) b = 0;
    if (b == 0 || lands(b)) return b;
    auto middle = [&](double c, int axis) {
        ArcMiddleExact m = arc_middle_exact(x1, y1, x2, y2, c);
        return axis == 0 ? m.x : m.y;
    };
    // The bulge near `from` at which coordinate `axis` is `target`.
    auto solve = [&](double from, int axis, double target) {
        double c = from;
        for (int i = 0; i < 30; ++i) {
            double h = std::max(std::fabs(c), 1e-3) * 1e-6;
            double slope = (middle(c + h, axis) - middle(c - h, axis)) / (2 * h);
            if (!(std::fabs(slope) > 0)) return c;
            double next = c - (middle(c, axis) - target) / slope;
            if (!std::isfinite(next) || next == c) break;
            c = next;
        }
        return c;
    };
    double lo = -HUGE_VAL, hi = HUGE_VAL;
    for (int axis = 0; axis < 2; ++axis) {
        // Next to a power of two the floats below and above lie apart unevenly.
        double w = want[axis];
        double below = (w - std::nextafter(want[axis], -HUGE_VALF)) * 0.5;
        double above = (std::nextafter(want[axis], HUGE_VALF) - w) * 0.5;
        double a = solve(b, axis, w - below), z = solve(b, axis, w + above);
        if (std::fabs(middle(a, axis) - (w - below)) > below ||
            std::fabs(middle(z, axis) - (w + above)) > above)
            continue;  // this coordinate hardly moves with the bulge
        lo = std::max(lo, std::min(a, z));
        hi = std::min(hi, std::max(a, z));
    }
    if (lo <= hi && std::isfinite(lo) && std::isfinite(hi)) {
        for (int i = 0; i <= 64; ++i) {
            double c = lo + (hi - lo) * (i % 2 ? 32 - i / 2 : 32 + i / 2) / 64;
            if (lands(c)) return c;
        }
    }
    // A nearly flat arc: its middle moves in steps too coarse for Newton's
    // method. Flat, then ever closer to the bulge through the three points.
    if (lands(0.0)) return 0.0;
    for (int k = 1; k <= 52; ++k)
        for (double sign : {1.0, -1.0})
            if (double c = b * (1 + sign * std::ldexp(1.0, -k)); lands(c)) return c;
    return b;
}

void vertex(std::string& out, float x, float y, double bulge, bool arc) {
    pair(out, 0, "VERTEX");
    pair(out, 8, "0");
    number(out, 10, x);
    number(out, 20, y);
    pair(out, 30, "0.0");
    if (arc) number(out, 42, bulge);
}

void figure(std::string& out, int first, int terminator) {
    const ShapeTables& t = shapes;
    auto end_x = [&](int k) { return t.tp[k] == kArc ? t.p5[k] : t.p3[k]; };
    auto end_y = [&](int k) { return t.tp[k] == kArc ? t.p6[k] : t.p4[k]; };
    int last = terminator - 1;
    bool closed = end_x(last) == t.p1[first] && end_y(last) == t.p2[first];
    pair(out, 0, "POLYLINE");
    pair(out, 8, "0");
    pair(out, 66, "     1");
    pair(out, 10, "0.0");
    pair(out, 20, "0.0");
    pair(out, 30, "0.0");
    if (closed) pair(out, 70, "     1");
    for (int k = first; k <= last; ++k)
        vertex(out, t.p1[k], t.p2[k], t.tp[k] == kArc ? bulge_of_entry(k) : 0.0, t.tp[k] == kArc);
    vertex(out, end_x(last), end_y(last), 0.0, false);
    pair(out, 0, "SEQEND");
    pair(out, 8, "0");
}

}  // namespace

std::string r12_text() {
    std::string out;
    pair(out, 0, "SECTION");
    pair(out, 2, "HEADER");
    pair(out, 9, "$ACADVER");
    pair(out, 1, "AC1009");
    pair(out, 0, "ENDSEC");
    pair(out, 0, "SECTION");
    pair(out, 2, "ENTITIES");
    for (int f = 1, first = 0, terminator = 0; find_figure(f, first, terminator); ++f)
        figure(out, first, terminator);
    pair(out, 0, "ENDSEC");
    pair(out, 0, "EOF");
    return out;
}

std::string export_r12(const std::string& path) {
    if (!shapes.PointsLoaded) return "there is no drawing to save";
    std::string why;
    if (!replace_file(path, r12_text(), why)) return why;
    return "";
}
