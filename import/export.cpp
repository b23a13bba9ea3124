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
// very middle point the table holds. The middle moves along the chord's
// bisector as the bulge changes: the bulge that brings it nearest to the
// table's middle is found by Newton's method, then stepped along until the
// reader's rounding lands on it.
double bulge_of_entry(int k) {
    const ShapeTables& t = shapes;
    float x1 = t.p1[k], y1 = t.p2[k], x2 = t.p5[k], y2 = t.p6[k];
    float mx = t.p3[k], my = t.p4[k];
    double b = geo::bulge_of({x1, y1}, {mx, my}, {x2, y2});
    auto lands = [&](double c) {
        ArcMiddle m = arc_middle(x1, y1, x2, y2, c);
        return m.x == mx && m.y == my;
    };
    if (!std::isfinite(b) || b == 0 || lands(b)) return b;
    // The bisector's direction, and how far along it the middle lies from the table's.
    double nx = -(static_cast<double>(y2) - y1), ny = static_cast<double>(x2) - x1;
    double n = std::hypot(nx, ny);
    if (!(n > 0)) return b;
    nx /= n, ny /= n;
    auto off = [&](double c) {
        ArcMiddleExact m = arc_middle_exact(x1, y1, x2, y2, c);
        return (m.x - mx) * nx + (m.y - my) * ny;
    };
    for (int i = 0; i < 40; ++i) {
        double f = off(b), h = std::fabs(b) * 1e-7;
        double slope = (off(b + h) - f) / h;
        if (!(std::fabs(slope) > 0)) break;
        double next = b - f / slope;
        if (!std::isfinite(next) || next == b) break;
        b = next;
    }
    if (lands(b)) return b;
    // A step moves the middle by a sixteenth of the finer float spacing.
    double spacing = std::min(std::fabs(std::nextafter(mx, 2 * mx + 1) - mx),
                              std::fabs(std::nextafter(my, 2 * my + 1) - my));
    double h = std::fabs(b) * 1e-7;
    double slope = std::fabs((off(b + h) - off(b)) / h);
    if (!(slope > 0)) return b;
    double step = spacing / 16 / slope;
    for (int i = 1; i <= 4096; ++i)
        for (double c : {b + i * step, b - i * step})
            if (lands(c)) return c;
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
