// Drawings as drawing programs of today write them: LWPOLYLINE outlines,
// outlines of LINE and ARC entities, CIRCLEs, declared units, and what is
// still passed over.
#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstring>

#include "import/dxf.h"
#include "import/select.h"
#include "planning/walls.h"
#include "records/notice.h"
#include "records/settings.h"
#include "records/units.h"
#include "sequencing/jobrun.h"
#include "planning/planner.h"
#include "tests/import/drawing.h"
#include "tests/support/support.h"

namespace {

using Entities = ReaderTest;

using Vertices = std::vector<std::array<double, 3>>;

// The POLYLINE with the same vertices, bulges and closed flag.
Drawing polyline_of(const Vertices& v, bool closed) {
    Drawing d;
    d.polyline(closed);
    for (const auto& p : v) {
        d.vertex(Drawing::exact(p[0]), Drawing::exact(p[1]));
        if (p[2] != 0) d.code(42, Drawing::exact(p[2]));
    }
    return d.seqend();
}

// The outer outline of a D and its counter, as in the sample letters.
const Vertices kOuterD = {{0, 0, 0},
                          {10.6667, 0, 0.19891237},
                          {21.9804, 4.6863, 0.19891237},
                          {26.6667, 16, 0},
                          {26.6667, 32, 0.19891237},
                          {21.9804, 43.3137, 0.19891237},
                          {10.6667, 48, 0},
                          {0, 48, 0}};
const Vertices kCounterD = {{8, 8, 0},  {8, 40, 0}, {10.6667, 40, -0.19891237},
                            {16.3235, 37.6569, -0.19891237}, {18.6667, 32, 0},
                            {18.6667, 16, -0.19891237}, {16.3235, 10.3431, -0.19891237},
                            {10.6667, 8, 0}};

TEST_F(Entities, LwpolylineGivesThePolylineElements) {
    const struct {
        Vertices v;
        bool closed;
        int close_figure;
    } cases[] = {
        {kOuterD, true, 1},
        {kCounterD, true, 1},
        {kOuterD, false, 1},
        {kOuterD, true, 0},
        {{{0, 0, 0}, {2, 0, 0.5}}, true, 1},              // the last vertex's bulge closes it
        {{{0, 0, 0}, {2, 0, 0.5}}, true, 0},
        {{{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 0, 0}}, true, 1},  // ends where it starts
        {{{1, 0, 2.5}, {-1, 0, -1}}, true, 1},            // more than a half circle
    };
    for (const auto& c : cases) {
        settings.closed_figure = c.close_figure;
        std::string want = read(polyline_of(c.v, c.closed));
        std::string points = screen_points();
        EXPECT_EQ(read(Drawing().lwpolyline(c.v, c.closed ? 1 : 0)), want);
        EXPECT_EQ(screen_points(), points);
        EXPECT_EQ(shapes.objects, 1);
    }
}

TEST_F(Entities, LwpolylineGroupsAsTheFormatHasThem) {
    Drawing d;
    // Elevation, widths before the bulge, closed by bit 1 of a flags value of 129.
    d.code(0, "LWPOLYLINE").code(8, "0").code(90, "3").code(70, "129").code(38, "5.0");
    d.code(10, "0.0").code(20, "0.0").code(40, "0.1").code(41, "0.2").code(42, "1.0");
    d.code(10, "2.0").code(20, "0.0").code(10, "2.0").code(20, "2.0");
    EXPECT_EQ(read(d), "A 0,0>1,-1>2,0 L 2,0>2,2 L 2,2>0,0 |0,0 $");
    // A flags group without bit 1 leaves it open; a bulge of 0 is a line.
    Drawing open;
    open.code(0, "LWPOLYLINE").code(70, "0").code(10, "0.0").code(20, "0.0").code(42, "0.0");
    open.code(10, "2.0").code(20, "0.0").code(10, "2.0").code(20, "2.0");
    EXPECT_EQ(read(open), "L 0,0>2,0 L 2,0>2,2 |2,2 $");
    // Drawn with its extrusion pointing down: mirrored in x, arcs turning the other way.
    Drawing mirrored;
    mirrored.lwpolyline({{1, 0, 1}, {3, 0, 0}}, 0);
    mirrored.code(210, "0.0").code(220, "0.0").code(230, "-1.0");
    EXPECT_EQ(read(mirrored), "A -1,0>-2,-1>-3,0 |-3,0 $");
    // One vertex or none: no figure.
    EXPECT_EQ(read(Drawing().lwpolyline({{1, 1, 0}}).lwpolyline({}).square()),
              "L 0,0>1,0 L 1,0>1,1 L 1,1>0,1 L 0,1>0,0 |0,0 $");
    EXPECT_EQ(shapes.objects, 1);
}

// A letter D of LINE and ARC entities, its counter drawn clockwise and each
// outline's entities in no order and some of them reversed.
Drawing lines_and_arcs_d() {
    Drawing d;
    d.line(0, 6, 2, 6).arc(2, 3, 3, 270, 90).line(2, 0, 0, 0).line(0, 0, 0, 6);
    d.line(1, 1, 2, 1).line(1, 1, 1, 5).arc(2, 3, 2, 270, 90).line(2, 5, 1, 5);
    return d;
}

TEST_F(Entities, ChainsStartLowestThenLeftmostOuterAntiClockwiseCountersClockwise) {
    EXPECT_EQ(read(lines_and_arcs_d()),
              "L 0,0>2,0 A 2,0>5,3>2,6 L 2,6>0,6 L 0,6>0,0 |0,0 "
              "L 1,1>1,5 L 1,5>2,5 A 2,5>4,3>2,1 L 2,1>1,1 |1,1 $");
    EXPECT_EQ(shapes.objects, 2);
    EXPECT_EQ(drawing_notes.passed.open.count, 0);
    // A counter inside a counter is an outer outline again; arcs run
    // backwards keep their sweep.
    EXPECT_EQ(read(Drawing().arc(10, 10, 3, 0, 180).arc(10, 10, 3, 180, 0)
                       .circle(10, 10, 2).arc(10, 10, 1, 180, 0).arc(10, 10, 1, 0, 180)),
              "A 7,10>10,7>13,10 A 13,10>10,13>7,10 |7,10 "
              "A 10,8>8,10>10,12 A 10,12>12,10>10,8 |10,8 "
              "A 9,10>10,9>11,10 A 11,10>10,11>9,10 |9,10 $");
}

TEST_F(Entities, EndsMeetWithinTheTolerance) {
    auto square = [](double gap) {
        return Drawing().line(0, 0, 1, 0).line(1, 0, 1, 1).line(1, 1, 0, 1).line(0, 1, 0, gap);
    };
    // The junction takes the end that was met: the closing line's end is
    // not the figure's start.
    EXPECT_EQ(read(square(0.0004)), "L 0,0>1,0 L 1,0>1,1 L 1,1>0,1 L 0,1>0,0 |0,0 $");
    EXPECT_EQ(read(square(-0.0004)), "L 0,0>1,0 L 1,0>1,1 L 1,1>0,1 L 0,1>0,0 |0,0 $");
    EXPECT_EQ(read(square(0.0006).circle(5, 5, 1)), "A 5,4>6,5>5,6 A 5,6>4,5>5,4 |5,4 $");
    EXPECT_EQ(drawing_notes.passed.open.count, 1);
    // Where an arc meets a line, the line's point is kept.
    EXPECT_EQ(read(Drawing().line(0, 0, 2, 0.0003).arc(2, 1, 1, 270, 90).line(2, 2, 0, 0)),
              "L 0,0>2,0.0003 A 2,0.0003>2.99985,1.00015>2,2 L 2,2>0,0 |0,0 $");
}

// Where more than two ends meet, a chain goes on with the earliest segment:
// a square drawn twice over, and a third copy of one of its lines.
TEST_F(Entities, WhereMoreEndsMeetTheEarlierSegmentGoesOn) {
    Drawing d;
    for (int copy = 0; copy < 2; ++copy)
        d.line(0, 0, 1, 0).line(1, 0, 1, 1).line(1, 1, 0, 1).line(0, 1, 0, 0);
    d.line(1, 1, 0, 1);
    EXPECT_EQ(read(d), "L 0,0>1,0 L 1,0>1,1 L 1,1>0,1 L 0,1>0,0 |0,0 "
                       "L 0,0>1,0 L 1,0>1,1 L 1,1>0,1 L 0,1>0,0 |0,0 $");
    EXPECT_EQ(drawing_notes.passed.open.count, 1);
}

// Enough ends for the grid to be sorted the way large drawings are.
TEST_F(Entities, ManyChains) {
    Drawing d;
    std::string want;
    for (int k = 0; k < 600; ++k) {
        double x = k % 30 * 2, y = k / 30 * 2;
        d.line(x + 1, y + 1, x, y + 1).line(x, y, x + 1, y).line(x, y + 1, x, y);
        d.line(x + 1, y, x + 1, y + 1);
        want += strprintf("L %g,%g>%g,%g L %g,%g>%g,%g L %g,%g>%g,%g L %g,%g>%g,%g |%g,%g ", x, y,
                          x + 1, y, x + 1, y, x + 1, y + 1, x + 1, y + 1, x, y + 1, x, y + 1, x, y,
                          x, y);
    }
    EXPECT_EQ(read(d), want + "$");
    EXPECT_EQ(drawing_notes.passed.open.count, 0);
}

TEST_F(Entities, OpenChainsAreLeftOutAndCounted) {
    Drawing d = Drawing().line(0, 0, 1, 0).line(1, 0, 1, 1).arc(5, 5, 1, 0, 90);
    d.line(0, 0, 0, 0).line(9, 9, 9, 9.0004);  // no length: nothing at all
    d.circle(20, 20, 1);
    EXPECT_EQ(read(d), "A 20,19>21,20>20,21 A 20,21>19,20>20,19 |20,19 $");
    EXPECT_EQ(drawing_notes.passed.open.count, 2);
    EXPECT_EQ(drawing_status(),
              "Drawing in inches; not read: 2 open chains (widest gap 1.414 in. at x 0.500, y 0.500)");
}

TEST_F(Entities, FiguresKeepTheDrawingsOrder) {
    Drawing d;
    d.polyline().vertex(0, 0).vertex(1, 0).vertex(1, 1).seqend();
    d.line(10, 0, 11, 0).circle(20, 5, 1).line(11, 0, 10, 1);
    d.lwpolyline({{30, 0, 0}, {31, 0, 0}, {31, 1, 0}});
    d.polyline().vertex(40, 0).vertex(41, 0).vertex(41, 1).seqend();
    d.line(10, 1, 10, 0);
    EXPECT_EQ(read(d),
              "L 0,0>1,0 L 1,0>1,1 L 1,1>0,0 |0,0 "
              "L 10,0>11,0 L 11,0>10,1 L 10,1>10,0 |10,0 "
              "A 20,4>21,5>20,6 A 20,6>19,5>20,4 |20,4 "
              "L 30,0>31,0 L 31,0>31,1 L 31,1>30,0 |0,0 "
              "L 40,0>41,0 L 41,0>41,1 L 41,1>40,0 |0,0 $");
    EXPECT_EQ(shapes.objects, 5);
    EXPECT_EQ(screen_points().rfind("M 0,0 3,0 3,3 0,0 M 30,0 33,0 30,3 30,0 M 60,12 ", 0), 0u);
}

TEST_F(Entities, WhatIsNotReadIsCounted) {
    Drawing d;  // a TEXT and an MTEXT without text: read, and nothing to show
    d.code(0, "HATCH").code(0, "TEXT").code(0, "MTEXT");
    d.code(0, "INSERT").code(2, "NOWHERE").code(10, "5.0").code(20, "5.0");
    d.line(0, 0, 1, 0);
    Drawing with_square = d;
    with_square.square();
    EXPECT_EQ(read(with_square), "L 0,0>1,0 L 1,0>1,1 L 1,1>0,1 L 0,1>0,0 |0,0 $");
    const PassedEntities& p = drawing_notes.passed;
    EXPECT_EQ(std::vector<int>({p.hatch, p.text, p.insert, p.open.count}),
              std::vector<int>({1, 0, 1, 1}));
    EXPECT_EQ(drawing_status(),
              "Drawing in inches; not read: 1 INSERT of a block the drawing does not hold and 1 "
              "open chain (widest gap 1 in. at x 0.500, y 0.000)");
    take_notices();
    // Without the square nothing is left to show: the drawing is refused.
    EXPECT_FALSE(load_text(d.text()));
    EXPECT_FALSE(load_text(Drawing().text()));
    EXPECT_EQ(take_notices(),
              std::vector<std::string>(
                  {"The drawing was not loaded: it has no outline that can be read. It holds 1 "
                   "HATCH, 1 INSERT of a block the drawing does not hold and 1 open "
                   "chain (the widest gap left open is 1 in., at x 0.500, y 0.000; it is wider "
                   "than the join tolerance can be, 0.05 in.: close it in the drawing program), "
                   "which are not read: convert them to polylines (join or close the chains) and "
                   "save the drawing again.",
                   "The drawing was not loaded: it has no outline (no POLYLINE or LWPOLYLINE "
                   "with two or more vertices, no closed chain of pieces, no CIRCLE, SPLINE or "
                   "ELLIPSE)."}));
    EXPECT_EQ(entries(), "L 0,0>1,0 L 1,0>1,1 L 1,1>0,1 L 0,1>0,0 |0,0 $");
}

TEST_F(Entities, TheGroupReaderKeepsItsPairsThroughLongLines) {
    // The line scanner takes the end of the layer name for a "20"; this
    // reader takes the line as the one value it is.
    Drawing d;
    d.code(0, "LWPOLYLINE").code(8, std::string(300, 'L')).code(10, "0.0").code(20, "0.0");
    d.code(8, std::string(127, 'L') + "20").code(10, "2.0").code(20, "0.0");
    EXPECT_EQ(read(d), "L 0,0>2,0 |2,0 $");
    // Line ends of two characters, and codes written as they come.
    std::string crlf;
    for (char c : Drawing().code(0, "CIRCLE").text()) crlf += c == '\n' ? "\r\n" : std::string(1, c);
    crlf.insert(crlf.find("ENDSEC") - 5, "\t10\r\n1.0\r\n020\r\n2.0\r\n40\r\n0.5\r\n");
    load_text(crlf);
    EXPECT_EQ(entries(), "A 1,1.5>1.5,2>1,2.5 A 1,2.5>0.5,2>1,1.5 |1,1.5 $");
}

TEST_F(Entities, NumbersComeOutAsTheCLibraryScansThem) {
    const char* values[] = {"0.1",  "-2.675", "123456.789012", "999999999999999",
                            "1234567890123456", "-0.0", ".5", "5.", "1e-3",
                            "0.000000000000001", "+2.5", "-.25", "7"};
    // In a block, where the reader keeps the values as read.
    Drawing d;
    for (const char* v : values)
        d.blocks += Drawing().code(0, "LINE").code(10, v).code(20, "0.0").code(11, "50.0")
                        .code(21, "50.0").body;
    load_text(d.square().text());
    ASSERT_EQ(groups.blocks.list.size(), 1u);
    const auto& v = groups.blocks.list[0].vertices;
    ASSERT_EQ(v.size(), 2 * std::size(values));
    for (std::size_t k = 0; k < std::size(values); ++k) {
        double want = std::strtod(values[k], nullptr), got = v[2 * k].x;
        EXPECT_EQ(std::memcmp(&want, &got, sizeof got), 0) << values[k] << " " << got;
    }
}

TEST_F(Entities, DeclaredUnits) {
    const struct {
        int insunits, measurement;
        DrawingUnit unit;
    } cases[] = {
        {-1, -1, DrawingUnit::inch},      {1, 1, DrawingUnit::inch},
        {4, -1, DrawingUnit::millimetre}, {5, 0, DrawingUnit::centimetre},
        {-1, 1, DrawingUnit::millimetre}, {0, 1, DrawingUnit::millimetre},
        {6, 1, DrawingUnit::inch},        {-1, 0, DrawingUnit::inch},
    };
    for (const auto& c : cases)
        EXPECT_EQ(declared_unit(c.insunits, c.measurement), c.unit)
            << c.insunits << " " << c.measurement;
}

TEST_F(Entities, MillimetresAreScaledToInchesBeforeTheyAreStored) {
    Drawing d;
    d.header_variable("$MEASUREMENT", 1);
    d.polyline().vertex("0.0", "0.0").vertex("600.0", "0.0").vertex("600.0", "25.4").seqend();
    d.lwpolyline({{0, 0, 0}, {600, 0, 0}, {600, 25.4, 0}});
    d.circle(254, 254, 25.4);
    EXPECT_EQ(read(d),
              "L 0,0>600,0 L 600,0>600,25.4 L 600,25.4>0,0 |0,0 "
              "L 0,0>600,0 L 600,0>600,25.4 L 600,25.4>0,0 |0,0 "
              "A 254,228.6>279.4,254>254,279.4 A 254,279.4>228.6,254>254,228.6 |254,228.6 $");
    EXPECT_EQ(units_hint(), "The drawing declares millimetres but is read in inches, one drawing "
                            "unit to the inch; Options, Drawing units can read it in millimetres.");
    EXPECT_EQ(drawing_status(), "Drawing in inches (it declares millimetres)");
    unit_setting.choice = UnitChoice::declared;
    EXPECT_EQ(read(d),
              "L 0,0>23.622,0 L 23.622,0>23.622,1 L 23.622,1>0,0 |0,0 "
              "L 0,0>23.622,0 L 23.622,0>23.622,1 L 23.622,1>0,0 |0,0 "
              "A 10,9>11,10>10,11 A 10,11>9,10>10,9 |10,9 $");
    EXPECT_EQ(shapes.p3[0], static_cast<float>(600 / 25.4));
    EXPECT_EQ(units_hint(), "");
    EXPECT_EQ(drawing_status(), "Drawing in millimetres, scaled to inches");
    d.header_variable("$INSUNITS", 5);
    load_text(d.text());
    EXPECT_EQ(shapes.p3[0], static_cast<float>(600 / 2.54));
}

TEST_F(Entities, NewFiguresCountAgainstTheTablesAndAreRefusedAlike) {
    // A circle takes two arcs and a terminator.
    Drawing fits, over;
    for (int k = 0; k < 1599; ++k) fits.circle(k * 3, 0, 1);
    over = fits;
    over.circle(0, 10, 1);
    ASSERT_TRUE(load_text(fits.text()));
    EXPECT_EQ(shapes.objects, 1599);
    EXPECT_EQ(shapes.tp[4797], kTableEnd);
    ShapeTables before = shapes;
    EXPECT_FALSE(load_text(over.text()));
    EXPECT_EQ(take_notices().back(),
              "The drawing was not loaded: it needs 4801 shape table entries (one for each line "
              "or arc, one more for each figure and one at the end) and 4800 fit.");
    EXPECT_EQ(std::memcmp(&before, &shapes, sizeof before), 0);
    // Pieces that come once the tables are full are not joined, nor counted.
    over.line(0, 20, 1, 20).line(1, 20, 0, 20);
    EXPECT_FALSE(load_text(over.text()));
    EXPECT_NE(take_notices().back().find("it needs at least 4801 shape table entries"),
              std::string::npos);
}

// Twice the signed area of each figure of the tables, arcs taken through
// their middle points: positive when it runs counter-clockwise.
std::vector<double> figure_areas() {
    std::vector<double> out;
    const auto& t = shapes;
    std::vector<std::array<double, 2>> ring;
    for (int i = 0; t.tp[i] != kTableEnd; ++i) {
        if (t.tp[i] == kFigureEnd) {
            double twice = 0;
            for (std::size_t a = 0, b = ring.size() - 1; a < ring.size(); b = a++)
                twice += ring[b][0] * ring[a][1] - ring[a][0] * ring[b][1];
            out.push_back(twice);
            ring.clear();
            continue;
        }
        ring.push_back({t.p1[i], t.p2[i]});
        if (t.tp[i] == kArc) ring.push_back({t.p3[i], t.p4[i]});
    }
    return out;
}

// The figures of the tables as LINE and ARC entities, every other line
// written from its end.
Drawing lines_and_arcs_of_tables() {
    Drawing d;
    const auto& t = shapes;
    for (int i = 0; t.tp[i] != kTableEnd; ++i) {
        if (t.tp[i] == kLine) {
            if (i % 2) d.line(t.p3[i], t.p4[i], t.p1[i], t.p2[i]);
            else d.line(t.p1[i], t.p2[i], t.p3[i], t.p4[i]);
        } else if (t.tp[i] == kArc) {
            double sx = t.p1[i], sy = t.p2[i], mx = t.p3[i], my = t.p4[i];
            double ex = t.p5[i], ey = t.p6[i];
            double ax = sx - ex, ay = sy - ey, bx = mx - ex, by = my - ey;
            double dd = 2 * (ax * by - ay * bx), a2 = ax * ax + ay * ay, b2 = bx * bx + by * by;
            double cx = ex + (by * a2 - ay * b2) / dd, cy = ey + (ax * b2 - bx * a2) / dd;
            double from = std::atan2(sy - cy, sx - cx) * 180 / M_PI;
            double to = std::atan2(ey - cy, ex - cx) * 180 / M_PI;
            double r = std::hypot(sx - cx, sy - cy);
            if (dd > 0) d.arc(cx, cy, r, from, to);
            else d.arc(cx, cy, r, to, from);
        }
    }
    return d;
}

// The sample letters drawn with LINE and ARC entities run as their
// polylines run: outer outlines counter-clockwise, counters clockwise.
TEST_F(Entities, TheSampleLettersAsLinesAndArcsRunAsTheirPolylines) {
    ASSERT_EQ(load_drawing(ZEL_SOURCE_DIR "/examples/drawings/letters.dxf"), DrawingLoad::loaded);
    std::vector<double> want = figure_areas();
    ASSERT_EQ(want.size(), 6u);
    EXPECT_EQ(std::count_if(want.begin(), want.end(), [](double a) { return a < 0; }), 2);
    std::vector<int> elements;
    for (int f = 1, first = 0, end = 0; find_figure(f, first, end); ++f)
        elements.push_back(end - first);

    load_text(lines_and_arcs_of_tables().text());
    std::vector<double> got = figure_areas();
    ASSERT_EQ(got.size(), want.size());
    for (std::size_t k = 0; k < got.size(); ++k) EXPECT_NEAR(got[k], want[k], 1e-3) << k;
    for (int f = 1, first = 0, end = 0; find_figure(f, first, end); ++f)
        EXPECT_EQ(end - first, elements[f - 1]);
}

// A stream that gives the first `good` bytes of `text`, then fails.
struct FailingStream {
    std::string text;
    std::size_t good, at = 0;
    static ssize_t read(void* cookie, char* buf, std::size_t size) {
        auto* s = static_cast<FailingStream*>(cookie);
        if (s->at >= s->good) {
            errno = EIO;
            return -1;
        }
        std::size_t n = std::min(size, s->good - s->at);
        std::memcpy(buf, s->text.data() + s->at, n);
        s->at += n;
        return static_cast<ssize_t>(n);
    }
};

TEST_F(Entities, ADrawingThatCannotBeReadToItsEndIsNotTaken) {
    load_text(lines_and_arcs_d().text());
    ShapeTables before = shapes;
    DrawingNotes notes = drawing_notes;
    Drawing big;
    for (int k = 0; k < 3000; ++k) big.circle(k, 0, 0.25);
    FailingStream s{big.text(), 100000};
    FILE* f = fopencookie(&s, "r", {FailingStream::read, nullptr, nullptr, nullptr});
    EXPECT_FALSE(load_array(f));
    std::fclose(f);
    EXPECT_EQ(dxf.read_errno, EIO);
    EXPECT_EQ(std::memcmp(&before, &shapes, sizeof before), 0);
    EXPECT_EQ(drawing_notes.passed.open.count, notes.passed.open.count);
    EXPECT_TRUE(take_notices().empty());
}

// The planner cannot tell an LWPOLYLINE from the POLYLINE of the same outline.
TEST_F(Entities, LwpolylineAndPolylineGiveTheSamePlan) {
    settings.direction = 1;
    settings.bit = 0.25f;
    settings.arc_notch = 0.5f;
    auto plan = [&](const Drawing& d) {
        load_text(d.text());
        std::string out;
        for (int figure = 1; figure <= shapes.objects; ++figure) {
            shapes.selected = figure;
            EXPECT_TRUE(plan_job());
            measure_walls();
            out += read_file(dir.file("curf.txt")) + read_file(dir.file("segments.txt"));
            for (int w = 0; w <= wall_list.walls; ++w)
                out += strprintf("%a %a\n", wall_list.l_a_dimensions[w], wall_list.angles[w]);
        }
        return out;
    };
    Drawing polylines = polyline_of(kOuterD, true);
    polylines.body += polyline_of(kCounterD, true).body;
    std::string want = plan(polylines);
    EXPECT_GT(want.size(), 1000u);
    EXPECT_EQ(plan(Drawing().lwpolyline(kOuterD).lwpolyline(kCounterD)), want);
}

}  // namespace
