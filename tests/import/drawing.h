#pragma once
// Drawings for the import tests, written the way CAD programs write R12
// ASCII DXF (right-justified group codes, handles, layers, Z values), and a
// compact text form of the shape tables to compare against.
#include <array>
#include <cstdio>
#include <string>
#include <vector>

#include "import/dxf.h"
#include "import/shapes.h"
#include "platform/text.h"
#include "records/settings.h"
#include "tests/support/support.h"

struct Drawing {
    std::string body;
    std::string header;  // the HEADER section's variables, when there are any
    std::string blocks;  // entities of a block definition, when there are any
    std::string named_blocks;  // definitions made with block()

    Drawing& code(int c, const std::string& value) {
        body += strprintf("%3d\n%s\n", c, value.c_str());
        return *this;
    }
    // A POLYLINE header; `flags` false leaves out its "70" group.
    Drawing& polyline(bool flags = true, const char* flag_value = "1") {
        code(0, "POLYLINE").code(5, "2A").code(8, "0").code(66, "1");
        code(10, "0.0").code(20, "0.0").code(30, "0.0");
        if (flags) code(70, flag_value);
        return *this;
    }
    Drawing& vertex(const std::string& x, const std::string& y) {
        return code(0, "VERTEX").code(5, "2B").code(8, "0").code(10, x).code(20, y);
    }
    Drawing& vertex(double x, double y) { return vertex(num(x), num(y)); }
    Drawing& vertex(double x, double y, double bulge) {
        return vertex(x, y).code(42, num(bulge));
    }
    Drawing& seqend() { return code(0, "SEQEND").code(5, "2F").code(8, "0"); }
    Drawing& square(bool flags = true) {
        return polyline(flags).vertex(0, 0).vertex(1, 0).vertex(1, 1).vertex(0, 1).seqend();
    }
    // Entities as drawing programs of today write them. An LWPOLYLINE vertex
    // is {x, y, bulge}; a bulge of 0 writes no "42".
    Drawing& lwpolyline(const std::vector<std::array<double, 3>>& v, int flags = 1) {
        code(0, "LWPOLYLINE").code(5, "3A").code(100, "AcDbEntity").code(8, "0");
        code(100, "AcDbPolyline").code(90, strprintf("%6zu", v.size()));
        code(70, strprintf("%6d", flags)).code(43, "0.0");
        for (const auto& p : v) {
            code(10, exact(p[0])).code(20, exact(p[1]));
            if (p[2] != 0) code(42, exact(p[2]));
        }
        return *this;
    }
    Drawing& line(double x0, double y0, double x1, double y1) {
        code(0, "LINE").code(5, "3B").code(8, "0").code(10, exact(x0)).code(20, exact(y0));
        return code(30, "0.0").code(11, exact(x1)).code(21, exact(y1)).code(31, "0.0");
    }
    // Counter-clockwise from angle a0 to a1, in degrees.
    Drawing& arc(double cx, double cy, double r, double a0, double a1) {
        code(0, "ARC").code(5, "3C").code(8, "0").code(10, exact(cx)).code(20, exact(cy));
        return code(30, "0.0").code(40, exact(r)).code(50, exact(a0)).code(51, exact(a1));
    }
    Drawing& circle(double cx, double cy, double r) {
        code(0, "CIRCLE").code(5, "3D").code(8, "0").code(10, exact(cx)).code(20, exact(cy));
        return code(30, "0.0").code(40, exact(r));
    }
    // A block definition with its base point, and an INSERT of a block with
    // the groups given (41/42 scale, 50 rotation, 70/71 columns and rows, ...).
    Drawing& block(const std::string& name, double bx, double by, const Drawing& content) {
        named_blocks += "  0\nBLOCK\n  2\n" + name + "\n 10\n" + exact(bx) + "\n 20\n" + exact(by) +
                        "\n" + content.body + "  0\nENDBLK\n";
        return *this;
    }
    Drawing& insert(const std::string& name, double x, double y,
                    const std::vector<std::pair<int, double>>& groups = {}) {
        code(0, "INSERT").code(8, "0").code(2, name).code(10, exact(x)).code(20, exact(y));
        for (const auto& [c, v] : groups) code(c, exact(v));
        return *this;
    }
    Drawing& header_variable(const char* name, int value) {
        header += strprintf("  9\n%s\n 70\n%6d\n", name, value);
        return *this;
    }
    std::string text() const {
        std::string out;
        if (!header.empty()) out += "  0\nSECTION\n  2\nHEADER\n" + header + "  0\nENDSEC\n";
        std::string defined = named_blocks;
        if (!blocks.empty()) defined += "  0\nBLOCK\n  2\nLETTER\n" + blocks + "  0\nENDBLK\n";
        if (!defined.empty()) out += "  0\nSECTION\n  2\nBLOCKS\n" + defined + "  0\nENDSEC\n";
        return out + "  0\nSECTION\n  2\nENTITIES\n" + body + "  0\nENDSEC\n  0\nEOF\n";
    }
    static std::string num(double v) { return strprintf("%.1f", v); }
    static std::string exact(double v) { return strprintf("%.10g", v); }
};

// Loads `text` as the reader's callers do, from an open stream.
inline bool load_text(const std::string& text) {
    FILE* f = std::tmpfile();
    std::fwrite(text.data(), 1, text.size(), f);
    std::rewind(f);
    bool loaded = load_array(f);
    std::fclose(f);
    return loaded;
}

// The entry tables up to the end of table, one word per entry:
// "L x1,y1>x2,y2" a line, "A x1,y1>xm,ym>x2,y2" an arc, "|x,y" a terminator
// with its p1,p2, "$" the end of table.
inline std::string entries() {
    std::string out;
    auto pt = [](float x, float y) { return strprintf("%g,%g", x, y); };
    const auto& t = shapes;
    for (int i = 0; i < kShapeEntries; ++i) {
        if (!out.empty()) out += ' ';
        switch (t.tp[i]) {
        case kLine: out += "L " + pt(t.p1[i], t.p2[i]) + ">" + pt(t.p3[i], t.p4[i]); break;
        case kArc:
            out += "A " + pt(t.p1[i], t.p2[i]) + ">" + pt(t.p3[i], t.p4[i]) + ">" +
                   pt(t.p5[i], t.p6[i]);
            break;
        case kFigureEnd: out += "|" + pt(t.p1[i], t.p2[i]); break;
        case kTableEnd: return out + "$";
        default: return out + strprintf("?%d", t.tp[i]);
        }
    }
    return out + "(no end)";
}

// The screen point list up to its end entry: "M" for a figure-start marker,
// "x,y" for a point.
inline std::string screen_points() {
    std::string out;
    for (int i = 0; i < kScreenPoints; ++i) {
        const PTS& p = shapes.points[i];
        if (p.y == kPointMarker) return out + "$";
        out += p.x == kPointMarker ? std::string("M ") : strprintf("%d,%d ", p.x, p.y);
    }
    return out + "(no end)";
}

// A program directory of its own, figures closed by the reader.
class ReaderTest : public ProgramDirTest {
protected:
    void SetUp() override {
        ProgramDirTest::SetUp();
        settings.closed_figure = 1;
    }
    static std::string read(const Drawing& d) {
        load_text(d.text());
        return entries();
    }
};
