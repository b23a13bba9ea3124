// TEXT and MTEXT read as letters: placed by their points, height, rotation,
// width factor, oblique angle and alignment, in the font their style names.
#include <cmath>

#include "import/dxf.h"
#include "import/shapes.h"
#include "import/text_entities.h"
#include "records/notice.h"
#include "tests/import/drawing.h"
#include "tests/support/support.h"

namespace {

using TextEntities = ReaderTest;

struct Bounds {
    double left = 1e300, bottom = 1e300, right = -1e300, top = -1e300;
};

// Of every point the tables hold: the letter H is made of lines alone.
Bounds drawing_bounds() {
    Bounds b;
    for (int k = 0; shapes.tp[k] != kTableEnd; ++k) {
        if (shapes.tp[k] != kLine) continue;
        for (auto [x, y] : {std::pair{shapes.p1[k], shapes.p2[k]}, {shapes.p3[k], shapes.p4[k]}}) {
            b.left = std::min(b.left, double(x)), b.right = std::max(b.right, double(x));
            b.bottom = std::min(b.bottom, double(y)), b.top = std::max(b.top, double(y));
        }
    }
    return b;
}

Drawing text(const std::string& value, const std::vector<std::pair<int, std::string>>& groups,
             const char* entity = "TEXT") {
    Drawing d;
    d.code(0, entity).code(8, "0");
    for (const auto& [c, v] : groups) d.code(c, v);
    d.code(1, value);
    return d;
}

// The styles: SIGN in DejaVu Sans Bold by its file, SERIF by the family a
// TrueType style names, ROMAN in a font no computer here has.
std::string with_styles(const Drawing& d) {
    std::string tables =
        "  0\nSECTION\n  2\nTABLES\n  0\nTABLE\n  2\nSTYLE\n"
        "  0\nSTYLE\n  2\nSign\n  3\nDejaVuSans-Bold.ttf\n"
        "  0\nSTYLE\n  2\nSERIF\n  3\n\n1001\nACAD\n1000\nDejaVu Serif\n1071\n0\n"
        "  0\nSTYLE\n  2\nROMAN\n  3\nromans.shx\n"
        "  0\nENDTAB\n  0\nENDSEC\n";
    return tables + d.text();
}

TEST_F(TextEntities, PlacedByTheirPointsHeightRotationAndAlignment) {
    FontFace bold = match_font("DejaVu Sans:style=Bold").font;
    TextStyle two;
    two.height = 2;
    TextOutlines h = text_outlines("H", bold, two);
    ASSERT_TRUE(h.error.empty());
    double left = h.extent.left, right = h.extent.right, advance = h.lines[0].width;
    ASSERT_NEAR(h.extent.top, 2, 1e-9);

    struct Case {
        const char* what;
        Drawing d;
        Bounds want;
    };
    using G = std::vector<std::pair<int, std::string>>;
    const G style{{7, "Sign"}, {40, "2.0"}};
    auto with = [&](G more) {
        G g = style;
        g.insert(g.end(), more.begin(), more.end());
        return g;
    };
    double slant = 2 * std::tan(20 * M_PI / 180);
    const Case cases[] = {
        {"baseline left", text("H", with({{10, "3.0"}, {20, "4.0"}})),
         {3 + left, 4, 3 + right, 6}},
        {"turned 90 degrees", text("H", with({{10, "3.0"}, {20, "4.0"}, {50, "90.0"}})),
         {3 - 2, 4 + left, 3, 4 + right}},
        {"right, top", text("H", with({{10, "9.0"}, {20, "9.0"}, {11, "3.0"}, {21, "4.0"},
                                       {72, "2"}, {73, "3"}})),
         {3 - advance + left, 2, 3 - advance + right, 4}},
        {"middle", text("H", with({{11, "0.0"}, {21, "0.0"}, {72, "4"}})),
         {left - advance / 2, -1, right - advance / 2, 1}},
        {"width factor 2", text("H", with({{41, "2.0"}})), {2 * left, 0, 2 * right, 2}},
        {"oblique 20 degrees", text("H", with({{51, "20.0"}})), {left, 0, right + slant, 2}},
        {"aligned between two points",
         text("H", with({{11, "10.0"}, {21, "0.0"}, {72, "3"}})),
         {10 * left / advance, 0, 10 * right / advance, 2 * 10 / advance}},
        {"backward", text("H", with({{71, "2"}})), {-right, 0, -left, 2}},
        {"MTEXT by its middle", text("H", with({{71, "5"}}), "MTEXT"),
         {left - advance / 2, -1, right - advance / 2, 1}},
        {"MTEXT turned by its direction",
         text("H", with({{11, "0.0"}, {21, "1.0"}, {71, "7"}}), "MTEXT"), {-2, left, 0, right}},
    };
    for (const Case& c : cases) {
        ASSERT_TRUE(load_text(with_styles(c.d))) << c.what;
        EXPECT_EQ(shapes.objects, 1) << c.what;
        Bounds b = drawing_bounds();
        EXPECT_NEAR(b.left, c.want.left, 1e-5) << c.what;
        EXPECT_NEAR(b.bottom, c.want.bottom, 1e-5) << c.what;
        EXPECT_NEAR(b.right, c.want.right, 1e-5) << c.what;
        EXPECT_NEAR(b.top, c.want.top, 1e-5) << c.what;
    }
}

TEST_F(TextEntities, InBlocksPlacedByTheirInsert) {
    Drawing block = text("H", {{7, "Sign"}, {40, "1.0"}});
    Drawing d;
    d.block("WORD", 0, 0, block);
    d.insert("WORD", 10, 20, {{41, 2}, {42, 2}});
    ASSERT_TRUE(load_text(with_styles(d)));
    EXPECT_EQ(shapes.objects, 1);
    EXPECT_NEAR(drawing_bounds().bottom, 20, 1e-5);
    EXPECT_NEAR(drawing_bounds().top, 22, 1e-5);
}

TEST_F(TextEntities, AFontNotInstalledIsReplacedAndTheStatusLineSaysSo) {
    Drawing d = text("OPEN", {{7, "ROMAN"}, {40, "3.0"}});
    d.body += text("OPEN", {{7, "SERIF"}, {40, "3.0"}, {20, "-5.0"}}).body;
    ASSERT_TRUE(load_text(with_styles(d)));
    EXPECT_EQ(shapes.objects, 12);  // two O and P with counters, E and N
    EXPECT_NE(drawing_status().find("fonts not installed: romans.shx read as "),
              std::string::npos)
        << drawing_status();
    EXPECT_EQ(drawing_status().find("DejaVu Serif"), std::string::npos) << drawing_status();
}

TEST_F(TextEntities, AHeightThatCannotBeUsedRefusesTheDrawing) {
    EXPECT_FALSE(load_text(with_styles(text("H", {{7, "Sign"}, {40, "0.0"}}))));
    EXPECT_FALSE(load_text(with_styles(text("H", {{7, "Sign"}, {40, "x"}}))));
}

TEST_F(TextEntities, LongTextsAreReadWholeAndTooLongOnesRefused) {
    ASSERT_TRUE(load_text(with_styles(text(std::string(200, 'I') + "O", {{40, "1.0"}}))));
    EXPECT_EQ(shapes.objects, 202);
    Drawing many = text("H", {{7, "Sign"}, {40, "1.0"}}, "MTEXT");
    for (int k = 0; k < 20; ++k) many.code(3, std::string(250, 'H'));
    take_notices();
    EXPECT_FALSE(load_text(with_styles(many)));
    EXPECT_EQ(take_notices(), std::vector<std::string>{"The drawing was not loaded: figure 1 "
                                                       "(an MTEXT) has a text longer than 4096 "
                                                       "characters"});
}

TEST(PlainText, FormattingCodesReadAsPlainText) {
    const std::pair<const char*, const char*> mtext[] = {
        {"{\\fArial|b1|i0;EAT}\\PHERE", "EAT\nHERE"},
        {"\\A1;\\H2.5x;BIG\\P\\C1;red", "BIG\nred"},
        {"1\\S1^2; in", "11/2 in"},
        {"a\\~b\\\\c\\{d\\}", "a b\\c{d}"},
        {"\\U+00B0 \\Lunder\\l", "\xc2\xb0 under"},
        {"50%%d", "50\xc2\xb0"},
    };
    for (auto [in, out] : mtext) EXPECT_EQ(plain_mtext(in), out) << in;
    EXPECT_EQ(plain_text("%%p0.5 %%uA%%u 100%%%"), "\xc2\xb1" "0.5 A 100%");
    EXPECT_EQ(plain_text("%%065"), "A");
}

}  // namespace
