// The fonts layer where FreeType, HarfBuzz and fontconfig are not to be had
// (the Windows build): no font is installed, and letters are refused with a
// message that says why.
#include "fonts/fonts.h"

namespace {
const char* kUnavailable =
    "Letters from fonts are not available in this build of ZEL: it was made without the font "
    "libraries. Make the letters in a drawing program and open them as a DXF drawing";
}

std::string font_name(const FontFace& font) {
    return font.style.empty() ? font.family : font.family + " " + font.style;
}

std::vector<FontFace> installed_fonts(const std::string&) { return {}; }

FontMatch match_font(const std::string&) { return {{}, false, kUnavailable}; }

FontMatch match_font(const std::string&, const std::string&) { return {{}, false, kUnavailable}; }

FontMatch match_font_file(const std::string&) { return {{}, false, kUnavailable}; }

TextOutlines text_outlines(const std::string&, const FontFace&, const TextStyle&) {
    TextOutlines out;
    out.error = kUnavailable;
    return out;
}
