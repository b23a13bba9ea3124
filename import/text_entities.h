#pragma once
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "fonts/fonts.h"
#include "geometry/curves.h"

// TEXT and MTEXT entities read as letters: the font their text style names,
// the text without its formatting codes, and the outlines placed as the
// drawing program places them.

// A letter's outline as one curve of its line, quadratic and cubic segments.
geo::Path outline_curve(const Chain& chain);

// A TEXT or MTEXT entity's values, in drawing units.
struct TextEntity {
    bool mtext = false;
    std::string text;            // as written: codes 3 then 1
    std::string style = "STANDARD";
    double x = 0, y = 0;         // 10, 20: TEXT's first alignment point, MTEXT's insertion
    double x1 = 0, y1 = 0;       // 11, 21: TEXT's second alignment point, MTEXT's direction
    bool second = false;         // 11 was given
    double height = 1;           // 40: of a capital letter
    double width = 1;            // 41: TEXT's width factor
    double rotation = 0;         // 50: degrees for TEXT, radians for MTEXT
    double oblique = 0;          // 51: TEXT's, degrees
    double line_spacing = 1;     // 44: MTEXT's
    int mirror = 0;              // 71: TEXT's 2 backward, 4 upside down
    int halign = 0;              // 72: TEXT's 0 left, 1 centre, 2 right, 3 aligned, 4 middle, 5 fit
    int valign = 0;              // 73: TEXT's 0 baseline, 1 bottom, 2 middle, 3 top
    int attachment = 1;          // 71: MTEXT's 1 top left ... 9 bottom right
    double extrusion_z = 1;
};

// A text style of the STYLE table: its font file (3) and the family a
// TrueType font names in its extended data (1000 after 1001 ACAD).
struct TextStyleEntry {
    std::string file, family;
};

// What TEXT and MTEXT strings mean: %%d, %%p, %%c and %%nnn in TEXT; \P,
// \~, \U+XXXX, stacked fractions, braces and the formatting codes in MTEXT
// (their settings dropped, line breaks kept).
std::string plain_text(std::string_view text);
std::string plain_mtext(std::string_view text);

// The fonts of a drawing's text styles, each matched once.
class TextFonts {
public:
    void define(const std::string& style, const TextStyleEntry& entry);
    // The font for `style`; an error when there is none.
    const FontMatch& font_for(const std::string& style);
    // "romans.shx read as DejaVu Sans": the fonts replaced by a close match.
    std::string replaced() const;

private:
    std::map<std::string, TextStyleEntry> styles_;  // by upper-case name
    std::map<std::string, FontMatch> matched_;
    std::vector<std::string> replaced_;
};

// The entity's text as plain text (plain_text or plain_mtext).
std::string entity_text(const TextEntity& e);

// The outlines of the entity's `plain` text (not blank) in drawing units
// (`per_inch` of them to the inch), placed, closed, in the outlines' order;
// "" or why they cannot be made.
std::string text_entity_outlines(const TextEntity& e, const std::string& plain,
                                 const FontFace& font, double per_inch,
                                 std::vector<std::unique_ptr<geo::Curve>>& out);
