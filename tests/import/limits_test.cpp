// What the import refuses before anything is drawn or planned: points that
// are not numbers or lie beyond the drawing's limit, and files that are not
// drawings at all (a folder, a device, a named pipe).
#include <sys/stat.h>

#include "import/dxf.h"
#include "import/limits.h"
#include "records/notice.h"
#include "records/settings.h"
#include "tests/import/drawing.h"
#include "tests/support/support.h"

namespace {

class Limits : public ProgramDirTest {
protected:
    void SetUp() override {
        ProgramDirTest::SetUp();
        settings.closed_figure = 1;
        ASSERT_TRUE(load_text(Drawing().square().text()));
        before = entries();
        take_notices();
    }
    std::string before;
};

// A square and a second figure whose third vertex is (x, y) with `bulge` on
// the vertex before it.
std::string drawing_with(const std::string& x, const std::string& y, const std::string& bulge) {
    Drawing d;
    d.square();
    d.polyline().vertex(0, 0).vertex("5.0", "0.0");
    if (!bulge.empty()) d.code(42, bulge);
    return d.vertex(x, y).vertex(0, 5).seqend().text();
}

TEST_F(Limits, PointsThatAreNoNumbersOrTooFarOutAreRefused) {
    struct Case {
        const char *x, *y, *bulge, *says;
    };
    const Case cases[] = {
        {"1e308", "5.0", "",
         "figure 2, vertex 3 has a coordinate that is not a number (x inf, y 5.000)"},
        {"5.0", "-inf", "", "figure 2, vertex 3 has a coordinate that is not a number"},
        {"nan", "5.0", "", "figure 2, vertex 3 has a coordinate that is not a number"},
        {"10922.01", "5.0", "", "figure 2, vertex 3 lies at x 10922.010, y 5.000, beyond the "
                                "drawing's limit of -10922 to 10922"},
        {"5.0", "-20000", "", "figure 2, vertex 3 lies at x 5.000, y -20000.000"},
        {"5.0", "5.0", "inf", "figure 2, vertex 2 has a bulge that is not a number"},
        {"5.0", "5.0", "nan", "figure 2, vertex 2 has a bulge that is not a number"},
        {"5.0", "5.0", "-1e30", "figure 2, the arc from vertex 2 bulges out to x"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.x) + " " + c.y + " " + c.bulge);
        EXPECT_FALSE(load_text(drawing_with(c.x, c.y, c.bulge)));
        EXPECT_EQ(entries(), before);  // the drawing before stays
        auto notes = take_notices();
        ASSERT_EQ(notes.size(), 1u);
        EXPECT_EQ(notes[0].rfind("The drawing was not loaded: ", 0), 0u) << notes[0];
        EXPECT_NE(notes[0].find(c.says), std::string::npos) << notes[0];
    }
}

// Every reader refuses a value it needs that does not scan as a number, whole.
TEST_F(Limits, ValuesThatAreNoNumbersAreRefused) {
    auto polyline = [](const char* x, const char* bulge) {
        Drawing d;
        d.polyline().vertex("0.0", "0.0").code(42, bulge).vertex(x, "1.0").vertex(2, 2);
        return d.seqend();
    };
    auto lwpolyline = [](const char* y, const char* bulge) {
        Drawing d;
        d.code(0, "LWPOLYLINE").code(70, "1").code(10, "0.0").code(20, "0.0").code(10, "1.0");
        return d.code(20, y).code(42, bulge).code(10, "2.0").code(20, "0.0");
    };
    auto line = [](int code, const char* v) {
        Drawing d;
        d.code(0, "LINE").code(10, "0.0").code(20, "0.0").code(11, "1.0").code(21, "1.0");
        return d.code(code, v);
    };
    auto arc = [](const char* entity, int code, const char* v) {
        Drawing d;
        d.code(0, entity).code(10, "0.0").code(20, "0.0").code(40, "1.0").code(50, "0.0");
        return d.code(51, "90.0").code(code, v);
    };
    const struct {
        Drawing d;
        const char* says;
    } cases[] = {
        {polyline("abc", "0.0"), "figure 2, vertex 2 has a coordinate that is not a number (\"abc\")"},
        {polyline("1.2.3x", "0.0"), "figure 2, vertex 2 has a coordinate that is not a number"},
        {polyline("1.5abc", "0.0"), "figure 2, vertex 2 has a coordinate"},
        {polyline("1e", "0.0"), "figure 2, vertex 2 has a coordinate"},
        {polyline("1.0", "0.5.5"), "figure 2, vertex 1 has a bulge that is not a number (\"0.5.5\")"},
        {lwpolyline("x1", "0.0"), "figure 2, vertex 2 has a coordinate that is not a number (\"x1\")"},
        {lwpolyline("1.0", "--1"), "figure 2, vertex 2 has a bulge that is not a number"},
        {line(21, "1..5"), "figure 2, vertex 2 (a LINE) has a coordinate that is not a number"},
        {line(10, "."), "figure 2, vertex 1 (a LINE) has a coordinate"},
        {arc("ARC", 40, "r"), "figure 2 (an ARC) has a radius that is not a number (\"r\")"},
        {arc("ARC", 51, "90deg"), "figure 2 (an ARC) has an angle that is not a number"},
        {arc("CIRCLE", 20, "y"), "figure 2 (a CIRCLE) has a centre that is not a number"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.says);
        Drawing d;
        d.square().body += c.d.body;
        d.circle(50, 50, 1);  // a figure after the fault does not count
        EXPECT_FALSE(load_text(d.text()));
        EXPECT_EQ(entries(), before);
        auto notes = take_notices();
        ASSERT_EQ(notes.size(), 1u);
        EXPECT_EQ(notes[0].rfind(std::string("The drawing was not loaded: ") + c.says, 0), 0u)
            << notes[0];
    }
}

// A file that ends without its EOF group was cut short on its way here.
TEST_F(Limits, FilesCutShortAreRefused) {
    std::string whole = Drawing().square().text();
    for (std::size_t at : {std::size_t{0}, whole.size() / 2, whole.rfind("EOF")}) {
        EXPECT_FALSE(load_text(whole.substr(0, at)));
        EXPECT_EQ(take_notices(),
                  std::vector<std::string>{
                      "The drawing was not loaded: the file is cut short: it ends without the "
                      "EOF group that ends every DXF drawing (it may not have been copied or "
                      "saved to its end)."});
    }
    EXPECT_TRUE(load_text(whole + "anything after the end\n"));
}

TEST_F(Limits, PointsUpToTheLimitAreTaken) {
    EXPECT_TRUE(load_text(drawing_with("10922", "-10922.0", "")));
    EXPECT_TRUE(load_text(drawing_with("5.0", "5.0", "-3.0")));
    EXPECT_TRUE(take_notices().empty());
    EXPECT_EQ(shapes.objects, 2);
}

TEST_F(Limits, OnlyRegularFilesAreOpenedAsDrawings) {
    ASSERT_EQ(::mkfifo(dir.file("pipe.dxf").c_str(), 0600), 0);
    for (const std::string& path : {dir.file("pipe.dxf"), std::string("/dev/zero"), dir.path()}) {
        SCOPED_TRACE(path);
        EXPECT_EQ(load_drawing(path), DrawingLoad::refused);
        auto notes = take_notices();
        ASSERT_EQ(notes.size(), 1u);
        EXPECT_EQ(notes[0].rfind(path + " was not opened: it is a ", 0), 0u) << notes[0];
        EXPECT_EQ(entries(), before);
    }
    ASSERT_EQ(::symlink(dir.file("pipe.dxf").c_str(), dir.file("link.dxf").c_str()), 0);
    // What a link points to counts.
    EXPECT_EQ(load_drawing(dir.file("link.dxf")), DrawingLoad::refused);
    take_notices();
}

}  // namespace
