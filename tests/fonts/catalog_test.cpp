// The installed fonts through fontconfig: the fonts of fonts-dejavu-core are
// there on every machine that builds the program.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>

#include "fonts/fonts.h"

namespace {

std::string file_name(const std::string& path) { return path.substr(path.rfind('/') + 1); }

std::string lower(std::string s) {
    for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

TEST(Fonts, AMatchIsTheFontAskedForOrSaysItIsOnlyTheClosest) {
    struct Case {
        const char* how;
        std::string asked, style;
        const char* file;  // "" for whichever font is closest
        bool exact;
    };
    const Case cases[] = {
        {"pattern", "DejaVu Sans:style=Bold", "", "DejaVuSans-Bold.ttf", true},
        {"pattern", "dejavu sans mono:bold", "", "DejaVuSansMono-Bold.ttf", true},
        {"pattern", "DejaVu Serif", "", "DejaVuSerif.ttf", true},
        {"pattern", "No Such Family Qz", "", "", false},
        {"pattern", "DejaVu Sans:style=Heavy", "", "", false},
        {"family", "DejaVu Sans Mono", "Bold", "DejaVuSansMono-Bold.ttf", true},
        {"family", "DejaVu Serif", "", "DejaVuSerif.ttf", true},
        {"family", "No Such Family Qz", "Bold", "", false},
        {"file", "DejaVuSans-Bold.ttf", "", "DejaVuSans-Bold.ttf", true},
        {"file", "C:\\WINDOWS\\Fonts\\DEJAVUSERIF.TTF", "", "DejaVuSerif.ttf", true},
        {"file", "DejaVuSansMono", "", "DejaVuSansMono.ttf", true},
        {"file", "arial.ttf", "", "", false},
        {"file", "romans.shx", "", "", false},
        {"file", "nosuchfont.otf", "", "", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.asked);
        std::string how = c.how;
        FontMatch m = how == "pattern" ? match_font(c.asked)
                      : how == "family" ? match_font(c.asked, c.style)
                                        : match_font_file(c.asked);
        EXPECT_EQ(m.error, "");
        EXPECT_EQ(m.exact, c.exact);
        EXPECT_FALSE(m.font.family.empty());
        if (*c.file) {
            EXPECT_EQ(file_name(m.font.file), c.file);
        }
        // The font found can be used.
        EXPECT_EQ(text_outlines("A", m.font, {}).error, "");
    }
    EXPECT_EQ(match_font("").error, "No font was named");
    EXPECT_EQ(match_font_file("C:\\Fonts\\").error, "No font file was named");
}

TEST(Fonts, TheListIsSortedForAListBoxAndFiltersByWords) {
    std::vector<FontFace> all = installed_fonts();
    ASSERT_TRUE(std::is_sorted(all.begin(), all.end(), [](const FontFace& a, const FontFace& b) {
        return lower(a.family) < lower(b.family);
    }));
    auto has = [](const std::vector<FontFace>& list, const std::string& file) {
        return std::any_of(list.begin(), list.end(), [&](const FontFace& f) { return file_name(f.file) == file; });
    };
    EXPECT_TRUE(has(all, "DejaVuSans.ttf"));

    std::vector<FontFace> bold = installed_fonts("  dejavu BOLD sans ");
    EXPECT_TRUE(has(bold, "DejaVuSans-Bold.ttf"));
    EXPECT_TRUE(has(bold, "DejaVuSansMono-Bold.ttf"));
    EXPECT_FALSE(has(bold, "DejaVuSans.ttf"));
    for (const FontFace& f : bold) EXPECT_NE(lower(f.style).find("bold"), std::string::npos) << f.style;
    EXPECT_TRUE(installed_fonts("qzqz").empty());
}

}  // namespace
