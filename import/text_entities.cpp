#include "import/text_entities.h"

#include <cctype>
#include <cmath>
#include <numbers>

#include "geometry/affine.h"
#include "geometry/curves.h"
#include "platform/text.h"

namespace {

constexpr double kMaxHeight = 200;  // in., as letters from text allow

// The value of up to `digits` characters of `text` from `at` in `base`;
// -1 when there are none.
long number_at(std::string_view text, std::size_t at, int digits, int base) {
    long v = -1;
    for (int k = 0; k < digits && at + k < text.size(); ++k) {
        int c = std::tolower(static_cast<unsigned char>(text[at + k]));
        int d = std::isdigit(c) ? c - '0' : base == 16 && c >= 'a' && c <= 'f' ? c - 'a' + 10 : -1;
        if (d < 0) break;
        v = (v < 0 ? 0 : v) * base + d;
    }
    return v;
}

std::string upper(std::string s) {
    for (char& c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return s;
}

}  // namespace

geo::Path outline_curve(const Chain& chain) {
    geo::Path path;
    auto g = [](Point p) { return geo::Point{p.x, p.y}; };
    for (const Segment& s : chain) {
        const auto& p = s.p;
        if (s.kind == SegmentKind::line) path.add(geo::Bezier(g(p[0]), g(p[1])));
        else if (s.kind == SegmentKind::quadratic) path.add(geo::Bezier(g(p[0]), g(p[1]), g(p[2])));
        else path.add(geo::Bezier(g(p[0]), g(p[1]), g(p[2]), g(p[3])));
    }
    return path;
}

std::string plain_text(std::string_view t) {
    std::string out;
    for (std::size_t i = 0; i < t.size(); ++i) {
        if (t[i] != '%' || i + 2 >= t.size() || t[i + 1] != '%') {
            out += t[i];
            continue;
        }
        char c = static_cast<char>(std::tolower(static_cast<unsigned char>(t[i + 2])));
        i += 2;
        if (c == 'd') out += utf8(U'\u00B0');
        else if (c == 'p') out += utf8(U'\u00B1');
        else if (c == 'c') out += utf8(U'\u2300');
        else if (c == '%') out += '%';
        else if (std::isdigit(static_cast<unsigned char>(c))) {
            long code = number_at(t, i, 3, 10);
            int digits = 1;
            while (digits < 3 && i + digits < t.size() &&
                   std::isdigit(static_cast<unsigned char>(t[i + digits])))
                ++digits;
            i += digits - 1;
            if (code > 0) out += utf8(static_cast<char32_t>(code));
        }
        // %%u and %%o, underline and overline, draw nothing of their own.
    }
    return out;
}

std::string plain_mtext(std::string_view t) {
    std::string out;
    auto skip_to_semicolon = [&](std::size_t i) {
        std::size_t end = t.find(';', i);
        return end == std::string_view::npos ? t.size() - 1 : end;
    };
    for (std::size_t i = 0; i < t.size(); ++i) {
        char c = t[i];
        if (c == '{' || c == '}') continue;
        if (c == '^' && i + 1 < t.size() && (t[i + 1] == 'J' || t[i + 1] == 'I')) {
            out += t[++i] == 'J' ? '\n' : ' ';
            continue;
        }
        if (c != '\\' || i + 1 >= t.size()) {
            out += c;
            continue;
        }
        char code = t[++i];
        switch (code) {
        case 'P': out += '\n'; break;
        case '~': out += ' '; break;
        case '\\': case '{': case '}': out += code; break;
        case 'U':
            if (i + 5 < t.size() && t[i + 1] == '+') {
                long v = number_at(t, i + 2, 4, 16);
                if (v > 0) out += utf8(static_cast<char32_t>(v));
                i += 5;
            }
            break;
        case 'S': {  // a stacked fraction: "1^2;" or "1#2;" shown as 1/2
            std::size_t end = skip_to_semicolon(i);
            for (std::size_t k = i + 1; k < end; ++k)
                out += t[k] == '^' || t[k] == '#' ? '/' : t[k];
            i = end;
            break;
        }
        case 'A': case 'C': case 'c': case 'F': case 'f': case 'H': case 'h': case 'Q':
        case 'q': case 'T': case 't': case 'W': case 'w': case 'p':
            i = skip_to_semicolon(i);
            break;
        default: break;  // \L, \O, \K and the like: their switch alone
        }
    }
    return plain_text(out);
}

void TextFonts::define(const std::string& style, const TextStyleEntry& entry) {
    styles_[upper(style)] = entry;
}

const FontMatch& TextFonts::font_for(const std::string& style) {
    std::string key = upper(style);
    if (auto it = matched_.find(key); it != matched_.end()) return it->second;
    auto s = styles_.find(key);
    TextStyleEntry entry = s != styles_.end() ? s->second : TextStyleEntry{"txt", ""};
    FontMatch m;
    std::string asked = entry.family;
    if (!entry.family.empty()) m = match_font(entry.family, "");
    if (entry.family.empty() || (!m.exact && !entry.file.empty())) {
        asked = entry.file.empty() ? "txt" : entry.file;
        m = match_font_file(asked);
    }
    if (m.error.empty() && !m.exact) {
        std::string said = asked + " read as " + font_name(m.font);
        bool known = false;
        for (const std::string& r : replaced_) known = known || r == said;
        if (!known) replaced_.push_back(said);
    }
    return matched_[key] = m;
}

std::string TextFonts::replaced() const {
    std::string out;
    for (std::size_t k = 0; k < replaced_.size(); ++k)
        out += (k == 0 ? "" : k + 1 == replaced_.size() ? " and " : ", ") + replaced_[k];
    return out.empty() ? "" : "fonts not installed: " + out;
}

std::string entity_text(const TextEntity& e) {
    return e.mtext ? plain_mtext(e.text) : plain_text(e.text);
}

std::string text_entity_outlines(const TextEntity& e, const std::string& text,
                                 const FontFace& font, double per_inch,
                                 std::vector<std::unique_ptr<geo::Curve>>& out) {
    double h = e.height / per_inch;
    if (!(h > 0 && h <= kMaxHeight))
        return "has a text height that cannot be used (more than 0 and at most 200 in.)";
    TextStyle style;
    style.height = h;
    style.line_spacing = e.mtext && e.line_spacing > 0 && e.line_spacing <= 4 ? e.line_spacing : 1;
    TextOutlines letters = text_outlines(text, font, style);
    if (!letters.error.empty()) return "cannot be made into letters: " + letters.error;

    double width = e.mtext || !(e.width > 0) ? 1 : e.width;
    double slant = e.mtext ? 0 : std::tan(e.oblique * std::numbers::pi / 180);
    double line = 0;
    for (const TextLine& l : letters.lines) line = std::max(line, l.width * width);
    double rotation = e.mtext ? (e.second ? std::atan2(e.y1, e.x1) : e.rotation)
                              : e.rotation * std::numbers::pi / 180;
    geo::Point anchor{e.x, e.y}, offset{0, 0};
    double sx = 1, sy = 1;
    if (e.mtext) {
        int a = e.attachment >= 1 && e.attachment <= 9 ? e.attachment - 1 : 0;
        double top = h, bottom = letters.lines.back().baseline;
        offset = {line * (a % 3) / 2, a / 3 == 0 ? top : a / 3 == 1 ? (top + bottom) / 2 : bottom};
    } else if ((e.halign == 3 || e.halign == 5) && e.second && line > 0) {
        // Between the two points: aligned scales the letters, fit only their width.
        geo::Point d{e.x1 - e.x, e.y1 - e.y};
        rotation = std::atan2(d.y, d.x);
        sx = length(d) / per_inch / line;
        sy = e.halign == 3 ? sx : 1;
    } else if (e.halign != 0 || e.valign != 0) {
        if (e.second) anchor = {e.x1, e.y1};
        double across[] = {0, line / 2, line, 0, line / 2, 0};
        offset.x = across[e.halign >= 0 && e.halign <= 5 ? e.halign : 0];
        double up[] = {0, letters.extent.bottom, h / 2, h};
        int v = e.valign >= 0 && e.valign <= 3 ? e.valign : 0;
        offset.y = e.halign == 4 && v == 0 ? h / 2 : up[v];  // middle: halfway up the capitals
    }
    geo::Affine shape{width, slant, 0, 1, 0, 0};
    geo::Affine place = geo::Affine::translation(anchor) * geo::Affine::rotation(rotation) *
                        geo::Affine::scaling(per_inch * ((e.mirror & 2) ? -sx : sx),
                                             per_inch * ((e.mirror & 4) ? -sy : sy)) *
                        geo::Affine::translation(-offset) * shape;
    if (e.extrusion_z < 0) place = geo::Affine::scaling(-1, 1) * place;
    for (const TextOutline& o : letters.outlines)
        out.push_back(outline_curve(o.chain).transformed(place));
    return "";
}
