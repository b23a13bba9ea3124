// zel --text and --fonts: letters from text in an installed font, measured
// or written as a drawing in place of one read from a file; and the list of
// fonts to choose from.
#include <cstdio>
#include <string>

#include "app/modes.h"
#include "fonts/fonts.h"
#include "planning/new_drawing.h"
#include "records/lettering.h"
#include "records/notice.h"

namespace {

constexpr double kMillimetresPerInch = 25.4;

int fail(const std::string& message) {
    std::fprintf(stderr, "zel: %s\n", message.c_str());
    return 1;
}

}  // namespace

int make_text_drawing(const CommandLine& cl) {
    get_lettering();
    FontMatch m = cl.font.empty() ? match_font(lettering.family, lettering.style)
                                  : match_font(cl.font);
    std::string asked = cl.font.empty() ? lettering.family + " " + lettering.style : cl.font;
    if (!m.error.empty()) return fail(m.error);
    if (!m.exact)
        notice("The font \"" + asked + "\" is not installed; the closest, " +
               font_name(m.font) + ", is used");
    TextRequest r;
    r.text = cl.text;
    r.font = m.font;
    bool mm = cl.height_given ? cl.millimetres : lettering.millimetres;
    double height = cl.height_given ? cl.height : lettering.height;
    double per_inch = mm ? kMillimetresPerInch : 1.0;
    r.style.height = height / per_inch;
    r.style.letter_spacing = cl.spacing / (cl.millimetres ? kMillimetresPerInch : 1.0);
    r.style.line_spacing = cl.line_spacing;
    r.millimetres = mm;
    return load_new_letters(r) ? 0 : 1;  // refused: the notice has said why
}

int run_fonts(const CommandLine& cl) {
    std::vector<FontFace> fonts = installed_fonts(cl.fonts_filter);
    if (fonts.empty()) {
        std::string test = match_font("").error;
        return fail(test.empty() ? "no installed font matches \"" + cl.fonts_filter + "\"" : test);
    }
    for (const FontFace& f : fonts)
        std::printf("%s:style=%s\t%s\n", f.family.c_str(), f.style.c_str(), f.file.c_str());
    return 0;
}
