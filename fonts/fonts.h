#pragma once
#include <cstddef>
#include <string>
#include <vector>

#include "fonts/outline.h"

// Letters from text and the fonts installed on the computer: fontconfig
// lists and matches the fonts, HarfBuzz sets the text (kerning included) and
// FreeType reads the letters' outlines. All of it is safe to call from more
// than one thread.

struct FontFace {
    std::string family;  // "DejaVu Sans"
    std::string style;   // "Bold"
    std::string file;    // the font file
    int index = 0;       // the face within the file (a named instance of a variable font above 0xFFFF)
};

// "DejaVu Sans Bold": the family, and the style unless it is the plain one.
std::string font_name(const FontFace& font);

// The installed fonts that have outlines, sorted as a list box shows them:
// by family (case aside), then width (narrow to wide), weight (light to
// heavy), slant and style. With a `filter`, only those whose family and
// style hold every word of it, case aside ("dejavu bold").
std::vector<FontFace> installed_fonts(const std::string& filter = "");

struct FontMatch {
    FontFace font;       // the font found
    bool exact = false;  // it is the font asked for; otherwise the closest installed one
    std::string error;   // not empty: no font was found, and why
};

// A fontconfig pattern: "DejaVu Sans:style=Bold", "DejaVu Serif:bold:italic".
FontMatch match_font(const std::string& pattern);

// A family and a style ("Bold"; empty: the family's regular face).
FontMatch match_font(const std::string& family, const std::string& style);

// A font file as drawings name it: "arial.ttf", "romans.shx", a Windows path
// or a name without its extension. The installed font of that file name is
// exact; otherwise the closest font to the family the name stands for.
FontMatch match_font_file(const std::string& name);

// Sizes are in inches.
struct TextStyle {
    double height = 1;          // of the font's capital H: the size sign letters are ordered by
    double letter_spacing = 0;  // added after each character to its advance and kerning
    double line_spacing = 1;    // baseline to baseline, in the font's own line distances
};

struct TextOutline {
    Chain chain;                // closed, in inches, y up
    bool counter = false;       // lies inside an odd number of its letter's outlines
    std::size_t character = 0;  // the character of the text it came from, counted from 0
    char32_t code = 0;          // that character
};

struct TextLine {
    double baseline = 0;  // y of the line
    double width = 0;     // from x 0 to the advance of its last character
};

struct TextOutlines {
    std::string error;  // not empty: the text was refused, and why; nothing else is set
    std::vector<TextOutline> outlines;
    Box extent;  // of the outlines
    std::vector<TextLine> lines;
};

// The outlines of `text` (UTF-8, lines apart at line breaks) in `font`. The
// first line's baseline starts at (0, 0), each line below the one before.
// Outlines come letter by letter, left to right, line by line; each outer
// outline runs counter-clockwise and is followed by its counters, which run
// clockwise, and an outline inside a counter counter-clockwise again; each
// starts at its lowest point, the leftmost of equally low ones. Parts of a
// letter that overlap are merged into one outline. Spaces only advance.
// Refused: an empty text or one of spaces only, a character the font lacks,
// a height not above 0 or above 200 in., a letter spacing beyond 200 in.
// either way, a line spacing not above 0 or above 100, or a number that is
// not one.
TextOutlines text_outlines(const std::string& text, const FontFace& font, const TextStyle& style);
