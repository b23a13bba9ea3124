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
