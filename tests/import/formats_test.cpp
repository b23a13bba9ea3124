// Binary DXF read as its ASCII twin; the drawing written as R12 DXF and
// read back.
#include <cstring>
#include <sstream>

#include "import/dxf.h"
#include "import/export.h"
#include "planning/planner.h"
#include "planning/walls.h"
#include "records/notice.h"
#include "records/settings.h"
#include "sequencing/jobrun.h"
#include "tests/import/drawing.h"
#include "tests/support/support.h"

namespace {

using Formats = ReaderTest;

// The ASCII drawing `text` as binary DXF: each code in two bytes (one
// before Release 13, 255 and two bytes for larger codes), each value as the
// type its code gives it.
std::string binary_of(const std::string& text, bool one_byte_codes) {
    std::string out("AutoCAD Binary DXF\r\n\x1a\0", 22);
    auto put = [&](uint64_t v, int bytes) {
        for (int i = 0; i < bytes; ++i) out += static_cast<char>(v >> (8 * i) & 0xff);
    };
    std::istringstream in(text);
    std::string code_line, value;
    while (std::getline(in, code_line) && std::getline(in, value)) {
        int c = std::stoi(code_line);
        if (!one_byte_codes) put(static_cast<uint16_t>(c), 2);
        else if (c < 255) put(static_cast<uint64_t>(c), 1);
        else put(255, 1), put(static_cast<uint16_t>(c), 2);
        auto in_range = [c](std::initializer_list<std::pair<int, int>> ranges) {
            for (auto [a, b] : ranges)
                if (c >= a && c <= b) return true;
            return false;
        };
        if (in_range({{10, 59}, {110, 149}, {210, 239}})) {
            double d = std::strtod(value.c_str(), nullptr);
            uint64_t bits;
            std::memcpy(&bits, &d, sizeof d);
            put(bits, 8);
        } else if (in_range({{60, 79}, {170, 179}, {270, 279}})) {
            put(static_cast<uint16_t>(std::stoi(value)), 2);
        } else if (in_range({{90, 99}})) {
            put(static_cast<uint32_t>(std::stol(value)), 4);
        } else if (in_range({{280, 299}})) {
            put(static_cast<uint8_t>(std::stoi(value)), 1);
        } else {
            out += value;
            out += '\0';
        }
    }
    return out;
}

// Every kind of figure the reader makes, in inches and in millimetres.
Drawing every_kind() {
    Drawing d;
    d.header_variable("$INSUNITS", 4);
    d.polyline().vertex(0, 0).vertex(10.6667, 0, 0.19891237).vertex(21.9804, 4.6863)
        .vertex(0, 48).seqend();
    d.lwpolyline({{30, 0, 0}, {40, 0, -0.5}, {40, 10, 0}});
    d.line(50, 0, 60, 0).arc(60, 5, 5, 270, 90).line(60, 10, 50, 10).line(50, 10, 50, 0);
    d.circle(80, 5, 3);
    d.code(0, "ELLIPSE").code(10, "100.0").code(20, "5.0").code(11, "6.0").code(21, "2.0");
    d.code(40, "0.5").code(41, "0.0").code(42, "6.283185307179586");
    d.block("B", 1, 1, Drawing().lwpolyline({{1, 1, 0.3}, {3, 1, 0}, {3, 4, 0}}).circle(2, 2, 0.5));
    d.insert("B", 120, 0, {{41, 2}, {42, 1}, {50, 30}});
    return d;
}

TEST_F(Formats, BinaryDxfGivesTheTablesOfItsAsciiTwin) {
    for (UnitChoice units : {UnitChoice::inch, UnitChoice::declared}) {
        unit_setting.choice = units;
        std::string text = every_kind().text();
        ASSERT_TRUE(load_text(text));
        std::string want = entries() + screen_points();
        EXPECT_EQ(shapes.objects, 7);
        for (bool one_byte : {false, true}) {
            SCOPED_TRACE(one_byte ? "one-byte codes" : "two-byte codes");
            ASSERT_TRUE(load_text(binary_of(text, one_byte)));
            EXPECT_EQ(entries() + screen_points(), want);
            EXPECT_EQ(drawing_notes.declared, DrawingUnit::millimetre);
        }
    }
    // Cut short inside a pair, or holding a code no DXF has.
    std::string binary = binary_of(every_kind().text(), false);
    EXPECT_FALSE(load_text(binary.substr(0, binary.size() - 3)));
    EXPECT_NE(take_notices().back().find("the binary drawing breaks off at byte"),
              std::string::npos);
    EXPECT_FALSE(load_text(binary.substr(0, 32) + std::string("\x10\x27", 2) + binary.substr(32)));
    EXPECT_NE(take_notices().back().find("holds group code 10000, which no DXF drawing has, at "
                                         "byte 32"),
              std::string::npos);
}

TEST_F(Formats, FilesThatAreNoDxfAreRefusedByName) {
    const char* dwg = "The drawing was not loaded: this is a DWG drawing; save it from the "
                      "drawing program as DXF";
    const struct {
        std::string bytes;
        const char* says;
    } cases[] = {
        {std::string("AC1032\0\0\0\x01", 10), dwg},
        {std::string("AC1.50\x02\0", 8), dwg},
        {std::string("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16),
         "The drawing was not loaded: this is no DXF drawing but a binary file; save the "
         "drawing from the drawing program as DXF"},
    };
    for (const auto& c : cases) {
        EXPECT_FALSE(load_text(c.bytes));
        EXPECT_EQ(take_notices(), std::vector<std::string>{c.says});
    }
}

// The walls of every figure, exactly.
std::string plans() {
    std::string out;
    for (int f = 1; f <= shapes.objects; ++f) {
        shapes.selected = f;
        if (!plan_job()) return out + "refused";
        out += strprintf("%.3f:", measure_walls());
        for (int w = 0; w <= wall_list.walls; ++w)
            out += strprintf("%a %a ", wall_list.l_a_dimensions[w], wall_list.angles[w]);
    }
    return out;
}

// The elements of the tables without the terminators' points, which tell
// only whether the reader added a closing element.
std::string elements() {
    std::string out;
    const ShapeTables& t = shapes;
    for (int i = 0; t.tp[i] != kTableEnd; ++i) {
        if (t.tp[i] == kFigureEnd) {
            out += "| ";
            continue;
        }
        out += strprintf("%d %a %a %a %a %a %a ", t.tp[i], t.p1[i], t.p2[i], t.p3[i], t.p4[i],
                         t.p5[i], t.p6[i]);
    }
    return out;
}

TEST_F(Formats, WrittenAsR12AndReadBackTheFiguresAreTheSame) {
    settings.direction = 1;
    settings.bit = 0.25f;
    settings.arc_notch = 0.5f;
    unit_setting.choice = UnitChoice::declared;
    ASSERT_TRUE(load_text(every_kind().text()));
    std::string figures = elements(), walls = plans();
    std::string r12 = r12_text();
    for (int close_figure : {1, 0}) {
        settings.closed_figure = close_figure;
        unit_setting.choice = UnitChoice::inch;
        ASSERT_TRUE(load_text(r12));
        EXPECT_EQ(shapes.objects, 7);
        EXPECT_EQ(elements(), figures);
        EXPECT_EQ(plans(), walls);
    }
    EXPECT_EQ(r12.rfind("  0\nSECTION\n  2\nHEADER\n  9\n$ACADVER\n  1\nAC1009\n", 0), 0u);
    EXPECT_EQ(export_r12(dir.file("out.dxf")), "");
    EXPECT_EQ(read_file(dir.file("out.dxf")), r12);
    EXPECT_NE(export_r12(dir.file("missing/out.dxf")), "");
}

}  // namespace
