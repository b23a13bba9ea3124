// The DXF polyline reader: figures, closing, bulges, the line scanner's
// quirks that old drawings rely on, capacity, and the files callers open.
#include <sys/stat.h>

#include <cstring>
#include <random>

#include "import/dxf.h"
#include "import/select.h"
#include "planning/walls.h"
#include "records/job.h"
#include "records/notice.h"
#include "records/settings.h"
#include "shell/window_state.h"
#include "tests/import/drawing.h"
#include "tests/support/support.h"

namespace {

using Reader = ReaderTest;

const char* kClosedSquare = "L 0,0>1,0 L 1,0>1,1 L 1,1>0,1 L 0,1>0,0 |0,0 $";
const char* kOpenSquare = "L 0,0>1,0 L 1,0>1,1 L 1,1>0,1 |0,1 $";

TEST_F(Reader, ClosedSquareReplacesTheDrawingBefore) {
    load_text(Drawing().polyline().vertex(5, 5).vertex(6, 6).vertex(7, 5).text());
    rotate(1, 1);
    message_line.record = "*** Error communicating with controller";
    shapes.selected = 3;
    ASSERT_TRUE(load_text(Drawing().square().text()));
    EXPECT_EQ(entries(), kClosedSquare);
    EXPECT_EQ(screen_points(), "M 0,0 3,0 3,3 0,3 0,0 $");
    EXPECT_EQ(shapes.objects, 1);
    EXPECT_EQ(shapes.selected, 1);
    EXPECT_EQ(shapes.PointsLoaded, 1);
    EXPECT_EQ(message_line.record, "*** Error communicating with controller");
}

TEST_F(Reader, ClosingFollowsTheFlagsLineAndTheSetting) {
    // A fifth vertex equal to the first: nothing to close, the terminator
    // keeps the last vertex.
    EXPECT_EQ(read(Drawing().polyline().vertex(0, 0).vertex(1, 0).vertex(1, 1).vertex(0, 1)
                       .vertex(0, 0)),
              "L 0,0>1,0 L 1,0>1,1 L 1,1>0,1 L 0,1>0,0 |0,0 $");
    EXPECT_EQ(read(Drawing().square(false)), kOpenSquare);  // no "70" line
    // The value of the flags group is not read; a vertex's own flags count too.
    EXPECT_EQ(read(Drawing().polyline(true, "     0").vertex(0, 0).vertex(1, 0).vertex(1, 1)
                       .vertex(0, 1)),
              kClosedSquare);
    EXPECT_EQ(read(Drawing().polyline(false).vertex(0, 0).vertex(1, 0).vertex(1, 1)
                       .code(70, "0").vertex(0, 1)),
              kClosedSquare);
    settings.closed_figure = 0;
    EXPECT_EQ(read(Drawing().square()), kOpenSquare);
    EXPECT_EQ(read(Drawing().square(false)), kOpenSquare);
}

TEST_F(Reader, BulgesMakeArcs) {
    load_text(Drawing().polyline(false).vertex(1, 0, 1.0).vertex(-1, 0).text());
    EXPECT_EQ(shapes.tp[0], kArc);
    EXPECT_NEAR(shapes.p3[0], 0.0f, 1e-6);
    EXPECT_EQ(shapes.p4[0], 1.0f);
    // The last vertex's bulge makes the closing element an arc; it is not
    // used on a figure left open.
    EXPECT_EQ(read(Drawing().polyline().vertex(0, 0).vertex(2, 0, 0.5)),
              "L 0,0>2,0 A 2,0>1,0.5>0,0 |0,0 $");
    settings.closed_figure = 0;
    EXPECT_EQ(read(Drawing().polyline().vertex(0, 0).vertex(2, 0, 0.5)), "L 0,0>2,0 |2,0 $");
}

TEST_F(Reader, BulgeIsSeenOnlyRightAfterYOrAfterTheZPair) {
    auto with_z = [](const char* between) {
        Drawing d;
        d.polyline(false).vertex(0, 0).code(30, "0.0").body += between;
        return d.code(42, "0.5").vertex(2, 0);
    };
    EXPECT_EQ(read(with_z("")), "A 0,0>1,-0.5>2,0 |2,0 $");
    EXPECT_EQ(read(with_z(" 40\n0.1\n 41\n0.1\n")), "L 0,0>2,0 |2,0 $");
}

TEST_F(Reader, HandlesThatReadLikeCodesAreSkipped) {
    Drawing d;
    d.polyline(false).code(0, "VERTEX").code(5, "10").code(8, "0").code(10, "3.0");
    d.code(20, "4.0").code(0, "VERTEX").code(5, "20").code(10, "5.0").code(5, "42");
    EXPECT_EQ(read(d.code(20, "6.0")), "L 3,4>5,6 |5,6 $");
}

TEST_F(Reader, BareValuesActAsGroupCodes) {
    // X written as 5: the " 20" after it is taken for a handle, and the Y
    // search runs on into the next vertex, which is lost.
    EXPECT_EQ(read(Drawing().polyline(false).vertex("5", "2.0").vertex(3, 4).vertex(6, 7)),
              "L 5,4>6,7 |6,7 $");
    EXPECT_EQ(read(Drawing().polyline(false).vertex("5.0", "2.0").vertex(3, 4)),
              "L 5,2>3,4 |3,4 $");
    // X written as 20: the " 20" code line is the Y value.
    EXPECT_EQ(read(Drawing().polyline(false).vertex("20", "7.5").vertex(1, 1)),
              "L 20,20>1,1 |1,1 $");
    EXPECT_EQ(read(Drawing().polyline(false).vertex("10", "10").vertex(1, 1)),
              "L 10,10>1,1 |1,1 $");
    EXPECT_EQ(read(Drawing().polyline(false).vertex("1.0", "42").vertex(2, 2)),
              "L 1,42>2,2 |2,2 $");
    // X written as 30: " 20" and the Y value go into the same read, so X is
    // the Y value and Y the next vertex's " 0" code.
    EXPECT_EQ(read(Drawing().polyline(false).vertex("30", "4.0").vertex(1, 1).vertex(2, 2)),
              "L 4,0>2,2 |2,2 $");
    // A value written as 70 marks the polyline closed.
    EXPECT_EQ(read(Drawing().polyline(false).vertex(0, 0).vertex(1, 0).vertex("1.0", "70")),
              "L 0,0>1,0 L 1,0>1,70 L 1,70>0,0 |0,0 $");
}

TEST_F(Reader, LongLinesAreReadIn127CharacterPieces) {
    // A layer name whose 128th character starts "POLYLINE" starts a figure.
    auto drawing = [](std::size_t pad) {
        return Drawing().polyline(false).vertex(0, 0).vertex(1, 0)
            .code(8, std::string(pad, 'L') + "POLYLINE").vertex(1, 1).vertex(0, 1);
    };
    EXPECT_EQ(read(drawing(127)), "L 0,0>1,0 |1,0 L 1,1>0,1 |0,1 $");
    EXPECT_EQ(shapes.objects, 2);
    EXPECT_EQ(read(drawing(126)), "L 0,0>1,0 L 1,0>1,1 L 1,1>0,1 |0,1 $");
}

TEST_F(Reader, TwoFiguresAndPolylinesTooShortForOne) {
    Drawing d;
    d.polyline().seqend().polyline().vertex(9, 9).seqend().square();
    d.polyline(false).vertex(5, 5).vertex(6, 5).seqend().polyline().vertex(8, 8);
    EXPECT_EQ(read(d), "L 0,0>1,0 L 1,0>1,1 L 1,1>0,1 L 0,1>0,0 |0,0 L 5,5>6,5 |6,5 $");
    EXPECT_EQ(shapes.objects, 2);
    EXPECT_EQ(shapes.p1[7], 0.0f);  // the lone last vertex leaves nothing behind
    EXPECT_EQ(screen_points(), "M 0,0 3,0 3,3 0,3 0,0 M 15,15 18,15 $");
}

TEST_F(Reader, FileEndsAndLineEnds) {
    // The file ends while a vertex is sought: the vertex is dropped.
    std::string start = Drawing().polyline().vertex(0, 0).vertex(1, 0).body;
    EXPECT_TRUE(load_text(start + "  0\nVERTEX\n 10\n5.0\n  0\nEOF\n"));
    EXPECT_EQ(entries(), "L 0,0>1,0 L 1,0>0,0 |0,0 $");

    std::string crlf;
    for (char c : Drawing().square().text()) crlf += c == '\n' ? "\r\n" : std::string(1, c);
    load_text(crlf);
    EXPECT_EQ(entries(), kClosedSquare);
}

TEST_F(Reader, NumbersComeOutAsTheCLibraryScansThem) {
    // (Values beyond the drawing's limit are refused: limits_test.cpp.)
    for (const char* x : {"0.1", "-2.675", "1e-40", "1e-50", "-0", "+2.5", "0x1p3", ".5", "-.5e1",
                          "1677.7217", "10921.9999", "-10922"}) {
        load_text(Drawing().polyline(false).vertex(x, "0.0").vertex(1, 1).text());
        float want = std::strtof(x, nullptr), got = shapes.p1[0];
        EXPECT_EQ(std::memcmp(&want, &got, sizeof got), 0) << x << " " << got;
    }
}

// Values longer than 23 characters are read in full, unless all they add
// is digits beyond what a double holds: those read as they always have.
TEST_F(Reader, LongValuesAreReadInFull) {
    const struct {
        const char* value;
        double want;
    } cases[] = {
        {"1.00000000000000000000e-05", 1e-05},
        {"0000000000000000000000010", 10},
        {"-0000000000000000000000.5", -0.5},
        {"0.1000000000000000055511151231257827", 0.1},
        {"1.2345678901234567890123456789", std::strtod("1.234567890123456789012", nullptr)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.value);
        ASSERT_TRUE(load_text(Drawing().polyline(false).vertex(c.value, "0.0").code(42, c.value)
                                  .vertex(1, 1).text()));
        EXPECT_EQ(shapes.p1[0], static_cast<float>(c.want));
        EXPECT_EQ(dxf.spoint, c.want);
    }
}

// Reads of at most 127 characters, through the reader's blocks, take the
// same lines as fgets with a 128-byte buffer, wherever a block ends.
TEST_F(Reader, LinesAreTheReadsOfFgets) {
    std::mt19937 random(7);
    const char alphabet[] = "ab c\td\r\n\n\0e";
    std::string text;
    while (text.size() < 300000) {
        std::size_t n = random() % 300;
        for (std::size_t i = 0; i < n; ++i) text += alphabet[random() % (sizeof alphabet - 1)];
        text += '\n';
    }
    text.pop_back();
    FILE* f = std::tmpfile();
    std::fwrite(text.data(), 1, text.size(), f);
    std::rewind(f);
    std::vector<std::string> want;
    char line[128], word[24] = "";
    while (std::fgets(line, sizeof line, f)) {
        std::sscanf(line, "%23s", word);
        want.push_back(word);
    }
    std::rewind(f);
    start_reading(f, kDefaultJoin);
    std::vector<std::string> got;
    for (get_data(1); dxf.data; get_data(1)) got.emplace_back(dxf.tokens, dxf.token_length);
    std::fclose(f);
    EXPECT_GT(want.size(), 4000u);
    EXPECT_EQ(got, want);
}

// Polylines of the given numbers of vertices, none ending where it starts:
// open ones take one entry per vertex, closed ones one more, and the
// drawing one more at the end.
std::string drawing_of(std::vector<int> sizes, bool closed = false) {
    Drawing d;
    for (std::size_t f = 0; f < sizes.size(); ++f) {
        d.polyline(closed);
        for (int v = 0; v < sizes[f]; ++v) d.vertex(v, f);
    }
    return d.text();
}

TEST_F(Reader, DrawingsThatFillTheTablesExactlyAreLoaded) {
    ASSERT_TRUE(load_text(drawing_of({4799})));
    EXPECT_EQ(shapes.tp[4798], kFigureEnd);
    EXPECT_EQ(shapes.tp[4799], kTableEnd);
    ASSERT_TRUE(load_text(drawing_of({2, 1600, 3194}, true)));
    EXPECT_EQ(shapes.objects, 3);
    EXPECT_EQ(shapes.tp[4799], kTableEnd);
    EXPECT_EQ(shapes.points[2 * 3 + 4796].y, kPointMarker);
    EXPECT_TRUE(take_notices().empty());
}

TEST_F(Reader, LargerDrawingsAreRefusedAndEverythingStays) {
    EXPECT_FALSE(load_text(drawing_of({2400, 2400})));
    EXPECT_EQ(shapes.PointsLoaded, 0);
    EXPECT_EQ(shapes.tp[0], 0);

    // An open figure whose start point has moved is out of its chain order:
    // it stays so, as the operator left it.
    load_text(Drawing().square(false).code(0, "HATCH").text());
    rotate(1, 1);
    ShapeTables before = shapes;
    wall_list.l_a_dimensions[0] = 12.0f;
    job.toggle = 0;
    take_notices();
    EXPECT_FALSE(load_text(drawing_of({4800})));
    EXPECT_EQ(take_notices(),
              std::vector<std::string>{
                  "The drawing was not loaded: it needs 4801 shape table entries (one for each "
                  "line or arc, one more for each figure and one at the end) and 4800 fit."});
    EXPECT_FALSE(load_text(drawing_of({1600, 1600, 1600}, true)));
    EXPECT_NE(take_notices().at(0).find("needs 4804 "), std::string::npos);
    EXPECT_EQ(std::memcmp(&before, &shapes, sizeof before), 0);
    EXPECT_EQ(wall_list.l_a_dimensions[0], 12.0f);
    EXPECT_EQ(job.toggle, 0);
    EXPECT_EQ(drawing_notes.passed.hatch, 1);
}

using DrawingFile = ProgramDirTest;

TEST_F(DrawingFile, OpensReadsAndCloses) {
    write("square.dxf", Drawing().square().text());
    ::chmod(dir.file("square.dxf").c_str(), 0444);  // read-only drawings are read too
    EXPECT_EQ(load_drawing(dir.file("square.dxf")), DrawingLoad::loaded);
    EXPECT_EQ(shapes.objects, 1);
    EXPECT_EQ(dxf.fh, nullptr);
    EXPECT_EQ(load_drawing(dir.file("missing.dxf")), DrawingLoad::not_opened);
    EXPECT_EQ(load_drawing(dir.path()), DrawingLoad::refused);  // a folder
    write("big.dxf", drawing_of({5000}));
    EXPECT_EQ(load_drawing(dir.file("big.dxf")), DrawingLoad::refused);
    EXPECT_EQ(shapes.objects, 1);
}

// Drawings as drawing programs save them.
TEST_F(DrawingFile, SampleDrawings) {
    std::string data = std::string(ZEL_SOURCE_DIR) + "/tests/import/data/";
    settings.closed_figure = 1;
    ASSERT_EQ(load_drawing(data + "letter_d.dxf"), DrawingLoad::loaded);
    EXPECT_EQ(entries(),
              "L 0,0>0,6 L 0,6>2,6 A 2,6>5,3>2,0 L 2,0>0,0 |0,0 "
              "L 1,1>2,1 A 2,1>4,3>2,5 L 2,5>1,5 L 1,5>1,1 |0,0 $");
    std::string polyline = entries();
    ASSERT_EQ(load_drawing(data + "letter_d_lwpolyline.dxf"), DrawingLoad::loaded);
    EXPECT_EQ(entries(), polyline);
}

}  // namespace
