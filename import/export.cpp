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
// very middle point the table holds: the bulge through the three points,
// nudged until the reader's arithmetic lands on that middle.
double bulge_of_entry(int k) {
    const ShapeTables& t = shapes;
    double b = geo::bulge_of({t.p1[k], t.p2[k]}, {t.p3[k], t.p4[k]}, {t.p5[k], t.p6[k]});
    auto lands = [&](double c) {
        ArcMiddle m = arc_middle(t.p1[k], t.p2[k], t.p5[k], t.p6[k], c);
        return m.x == t.p3[k] && m.y == t.p4[k];
    };
    if (!std::isfinite(b) || lands(b)) return b;
    for (int step = 1; step <= 256; ++step)
        for (double sign : {1.0, -1.0}) {
            double c = b * (1.0 + sign * step * 0x1p-32);
            if (lands(c)) return c;
        }
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
