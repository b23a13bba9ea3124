#include "shell/letters.h"

#include <cmath>
#include <cstdlib>

#include "records/lettering.h"
#include "platform/text.h"
#include "records/notice.h"
#include "shell/window.h"

namespace {

constexpr double kMillimetresPerInch = 25.4;

bool number(const std::string& typed, const char* what, double& out, std::string& why) {
    const char* p = typed.c_str();
    char* end = nullptr;
    out = std::strtod(p, &end);
    while (*end == ' ') ++end;
    if (end != p && *end == '\0' && std::isfinite(out)) return true;
    why = std::string("The ") + what + " \"" + typed + "\" is not a number";
    return false;
}

std::vector<std::pair<std::string, std::string>> listed_fonts(const std::string& filter) {
    std::vector<std::pair<std::string, std::string>> out;
    for (const FontFace& f : installed_fonts(filter)) out.emplace_back(f.family, f.style);
    return out;
}

std::vector<std::vector<double>> preview(const TextFields& fields, std::string& why) {
    TextRequest request;
    std::vector<std::vector<double>> out;
    if (!letters_request(fields, request, why)) return out;
    for (PreviewOutline& o : text_preview(request, why)) out.push_back(std::move(o.xy));
    return out;
}

std::string typed(double v) { return strprintf("%g", v); }

}  // namespace

bool letters_request(const TextFields& fields, TextRequest& request, std::string& why) {
    double per_inch = fields.millimetres ? kMillimetresPerInch : 1.0;
    double height = 0, spacing = 0, lines = 0;
    if (!number(fields.height, "letter height", height, why) ||
        !number(fields.letter_spacing, "letter spacing", spacing, why) ||
        !number(fields.line_spacing, "line spacing", lines, why))
        return false;
    FontMatch m = match_font(fields.family, fields.style);
    if (!m.error.empty() || !m.exact) {
        why = m.error.empty() ? "The font " + fields.family + " " + fields.style +
                                    " is not installed: pick one from the list"
                              : m.error;
        return false;
    }
    request.text = fields.text;
    request.font = m.font;
    request.style.height = height / per_inch;
    request.style.letter_spacing = spacing / per_inch;
    request.style.line_spacing = lines;
    request.millimetres = fields.millimetres;
    return true;
}

void new_from_text() {
    get_lettering();
    TextFields fields;
    fields.family = lettering.family;
    fields.style = lettering.style;
    fields.height = typed(lettering.height);
    fields.millimetres = lettering.millimetres;
    static const TextDialogHelp help{listed_fonts, preview};
    if (!window_system().text_dialog(fields, help)) return;
    TextRequest request;
    std::string why;
    if (!letters_request(fields, request, why)) {
        notice(why);
        return;
    }
    if (!open_letters(request)) return;
    lettering.family = request.font.family;
    lettering.style = request.font.style;
    lettering.height = std::strtod(fields.height.c_str(), nullptr);
    lettering.millimetres = request.millimetres;
    save_lettering();
}
