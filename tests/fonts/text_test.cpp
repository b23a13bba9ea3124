// Text to outlines, checked against the font as FreeType reads it directly.
#include <algorithm>

#include "tests/fonts/reference.h"

namespace {

TextOutlines outlines_of(const std::string& text, double height = 12, double spacing = 0, double lines = 1) {
    TextOutlines t = text_outlines(text, kSans, {height, spacing, lines});
    EXPECT_EQ(t.error, "") << text;
    return t;
}

Box box_of(const Chain& chain) {
    Polygon p = sampled(chain);
    Box b{INFINITY, INFINITY, -INFINITY, -INFINITY};
    for (Point q : p) b = {std::min(b.left, q.x), std::min(b.bottom, q.y), std::max(b.right, q.x), std::max(b.top, q.y)};
    return b;
}

TEST(TextOutlines, EachLetterHasTheOutlinesOfItsGlyph) {
    struct Case {
        char32_t c;
        const char* text;
        int outlines, counters;
    };
    const Case cases[] = {{U'O', "O", 2, 1}, {U'B', "B", 3, 2}, {U'i', "i", 2, 0}, {U'8', "8", 3, 2},
                          {U'A', "A", 2, 1}, {U'H', "H", 1, 0}, {U'%', "%", 5, 2}, {U'g', "g", 2, 1}};
    ReferenceFont font(kSans.file);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        TextOutlines t = outlines_of(c.text);
        EXPECT_EQ(font.contours(c.c), c.outlines);
        ASSERT_EQ(t.outlines.size(), static_cast<std::size_t>(c.outlines));
        EXPECT_EQ(std::count_if(t.outlines.begin(), t.outlines.end(), [](auto& o) { return o.counter; }), c.counters);
        for (const TextOutline& o : t.outlines) {
            EXPECT_EQ(o.code, c.c);
            EXPECT_EQ(o.chain.front().start().x, o.chain.back().end().x);  // closed
            EXPECT_EQ(o.chain.front().start().y, o.chain.back().end().y);
        }
    }
    EXPECT_EQ(outlines_of("\u0301").outlines.size(), 1u);  // an accent alone, on no dotted circle
}

// Reading order, sense and start: "®" has an outline inside a counter.
TEST(TextOutlines, OuterOutlinesRunCounterClockwiseBeforeTheirCountersFromTheirLowestPoint) {
    TextOutlines t = outlines_of("Bi®\nO");
    ASSERT_EQ(t.outlines.size(), 3u + 2u + 4u + 2u);
    const int depth[] = {0, 1, 1, 0, 0, 0, 1, 2, 3, 0, 1};
    const std::size_t character[] = {0, 0, 0, 1, 1, 2, 2, 2, 2, 4, 4};
    for (std::size_t k = 0; k < t.outlines.size(); ++k) {
        SCOPED_TRACE(k);
        const TextOutline& o = t.outlines[k];
        EXPECT_EQ(o.character, character[k]);
        EXPECT_EQ(o.counter, depth[k] % 2 == 1);
        Polygon p = sampled(o.chain);
        EXPECT_EQ(shoelace(p) > 0, depth[k] % 2 == 0);
        Point s = o.chain.front().start();
        for (Point q : p) {
            EXPECT_GE(q.y, s.y - 1e-9);
            if (std::fabs(q.y - s.y) < 1e-9) {
                EXPECT_GE(q.x, s.x - 1e-9);
            }
        }
        // An outline lies inside the last one before it of one depth less.
        if (depth[k] > 0) {
            std::size_t up = k - 1;
            while (depth[up] != depth[k] - 1) --up;
            Box in = box_of(o.chain), out = box_of(t.outlines[up].chain);
            EXPECT_TRUE(in.left > out.left && in.right < out.right && in.bottom > out.bottom && in.top < out.top);
        }
    }
    // The dot of the i after its stem; the second line below the first.
    EXPECT_LT(box_of(t.outlines[3].chain).top, box_of(t.outlines[4].chain).bottom);
    EXPECT_LT(box_of(t.outlines[9].chain).top, 0);
}

TEST(TextOutlines, TheCapitalHIsAsHighAsAskedAndTheRestInProportion) {
    ReferenceFont font(kSans.file);
    for (double height : {0.25, 12.0, 200.0}) {
        SCOPED_TRACE(height);
        TextOutlines t = outlines_of("Hx", height);
        Box h = box_of(t.outlines[0].chain), x = box_of(t.outlines[1].chain);
        EXPECT_DOUBLE_EQ(h.bottom, 0);
        EXPECT_NEAR(h.top, height, height * 1e-12);
        EXPECT_NEAR(x.top, font.top('x') * font.scale(height), height * 1e-12);
        EXPECT_NEAR(t.extent.top - t.extent.bottom, height, height * 1e-12);
    }
}

TEST(TextOutlines, CurvesAreTheFontsOwn) {
    ReferenceFont font(kSans.file);
    for (const char* letter : {"S", "@", "g", "&"}) {
        SCOPED_TRACE(letter);
        char32_t c = static_cast<unsigned char>(letter[0]);
        TextOutlines t = outlines_of(letter, 12);
        double ours = 0, theirs = 0;
        for (const TextOutline& o : t.outlines) ours += perimeter(sampled(o.chain, 256));
        for (const Polygon& p : scaled(font.polygons(c, 256), font.scale(12))) theirs += perimeter(p);
        EXPECT_NEAR(ours, theirs, theirs * 1e-6);
    }
}

TEST(TextOutlines, KerningAndLetterSpacingMoveTheLetters) {
    ReferenceFont font(kSans.file);
    double scale = font.scale(12);
    double a = outlines_of("A").lines[0].width, v = outlines_of("V").lines[0].width;
    EXPECT_NEAR(a, font.advance('A') * scale, 1e-9);
    EXPECT_NEAR(v, font.advance('V') * scale, 1e-9);
    TextOutlines av = outlines_of("AV");
    EXPECT_LT(av.lines[0].width, a + v - 0.1) << a + v - av.lines[0].width;
    // Spacing comes between the letters, not after the last.
    TextOutlines spaced = outlines_of("AV", 12, 0.5);
    EXPECT_NEAR(spaced.lines[0].width, av.lines[0].width + 0.5, 1e-9);
    EXPECT_NEAR(spaced.outlines[2].chain[0].start().x, av.outlines[2].chain[0].start().x + 0.5, 1e-9);
}

TEST(TextOutlines, SpacesAndLineBreaksOnlyMoveTheLetters) {
    ReferenceFont font(kSans.file);
    double scale = font.scale(12);
    for (const char* breaks : {"\n", "\r\n", "\r"}) {
        SCOPED_TRACE(breaks);
        TextOutlines t = outlines_of(std::string("I I") + breaks + "I", 12, 0, 1.5);
        ASSERT_EQ(t.outlines.size(), 3u);
        Point first = t.outlines[0].chain[0].start(), second = t.outlines[1].chain[0].start(),
              third = t.outlines[2].chain[0].start();
        EXPECT_NEAR(second.x - first.x, (font.advance('I') + font.advance(' ')) * scale, 1e-9);
        EXPECT_EQ(second.y, first.y);
        EXPECT_EQ(third.x, first.x);
        EXPECT_NEAR(third.y - first.y, -1.5 * font.line_distance() * scale, 1e-9);
        ASSERT_EQ(t.lines.size(), 2u);
        EXPECT_EQ(t.lines[1].baseline, third.y);
        EXPECT_EQ(t.outlines[2].character, std::string(breaks).size() + 3);
    }
}

TEST(TextOutlines, WhatCannotBeMadeIsRefusedWithItsName) {
    struct Case {
        const char* text;
        double height, spacing, lines;
        const char* says;
    };
    const double nan = std::nan("");
    const Case cases[] = {
        {"", 12, 0, 1, "There is no text"},
        {" \n ", 12, 0, 1, "The text has no letters, only spaces"},
        {"A\xff", 12, 0, 1, "The text is not UTF-8 text (byte 2)"},
        {"A\xc3", 12, 0, 1, "The text is not UTF-8 text (byte 2)"},
        {"A\x07", 12, 0, 1, "The text holds the control character U+0007"},
        {"A\xe6\xbc\xa2", 12, 0, 1, "The font DejaVu Sans has no character \"\xe6\xbc\xa2\" (U+6F22)"},
        {"A", 0, 0, 1, "The letter height 0 in. cannot be used: it must be more than 0 and at most 200 in."},
        {"A", -3, 0, 1, "The letter height -3 in."},
        {"A", 200.5, 0, 1, "The letter height 200.5 in."},
        {"A", nan, 0, 1, "The letter height nan in."},
        {"A", 12, INFINITY, 1, "The letter spacing inf in. cannot be used: it must be a number from -200 to 200"},
        {"A", 12, nan, 1, "The letter spacing nan in."},
        {"A", 12, -201, 1, "The letter spacing -201 in."},
        {"A", 12, 0, 0, "The line spacing 0 cannot be used: it must be more than 0 and at most 100"},
        {"A", 12, 0, nan, "The line spacing nan"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.says);
        TextOutlines t = text_outlines(c.text, kSans, {c.height, c.spacing, c.lines});
        EXPECT_EQ(t.error.rfind(c.says, 0), 0u) << t.error;
        EXPECT_TRUE(t.outlines.empty());
    }
    TextOutlines t = text_outlines("A", {"Nothing", "", "/nonexistent/font.ttf", 0}, {});
    EXPECT_EQ(t.error, "The font Nothing could not be read from /nonexistent/font.ttf");
}

// "Ç" is a C with a cedilla laid over it.
TEST(TextOutlines, OverlappingPartsOfALetterBecomeOneOutline) {
    ReferenceFont font(kSans.file);
    ASSERT_EQ(font.contours(U'\u00c7'), 2);
    TextOutlines t = outlines_of("\u00c7", 12);
    ASSERT_EQ(t.outlines.size(), 1u);
    const Chain& chain = t.outlines[0].chain;
    EXPECT_GT(std::count_if(chain.begin(), chain.end(), [](auto& s) { return s.kind != SegmentKind::line; }), 10);

    std::vector<Polygon> parts = scaled(font.polygons(U'\u00c7'), font.scale(12));
    std::vector<Polygon> merged{sampled(chain)};
    for (Point q : merged[0]) {
        ASSERT_LT(distance(parts, q), 0.001);
        // On the outline of the union: not inside another part.
        for (const Polygon& p : parts)
            if (distance({p}, q) > 0.001) {
                EXPECT_EQ(winding({p}, q), 0);
            }
    }
    // The same area is covered, but for a hair along the outline.
    Box b = t.extent;
    for (int i = 0; i <= 120; ++i)
        for (int j = 0; j <= 120; ++j) {
            Point q{b.left + (b.right - b.left) * i / 120, b.bottom + (b.top - b.bottom) * j / 120};
            if ((winding(parts, q) != 0) != (winding(merged, q) != 0)) {
                EXPECT_LT(distance(parts, q), 0.002);
            }
        }
}

}  // namespace
