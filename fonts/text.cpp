// Text to outlines: HarfBuzz places the letters, FreeType gives their
// outlines, in the font's units (times 64), which are then scaled to inches.
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_BBOX_H
#include FT_OUTLINE_H
#include FT_TRUETYPE_TABLES_H
#include <hb-ft.h>
#include <hb.h>

#include <cmath>
#include <cstdio>
#include <map>
#include <memory>
#include <mutex>

#include "fonts/fonts.h"
#include "fonts/merge.h"
#include "fonts/order.h"
#include "platform/text.h"

namespace {

constexpr double kMaxHeight = 200;         // in.
constexpr double kMaxLetterSpacing = 200;  // in., either way
constexpr double kMaxLineSpacing = 100;
// How closely merged outlines follow the true outline of overlapping parts,
// and how closely insides are told apart, in inches.
constexpr double kTolerance = 0.0005;

// The font last used stays open: the next text is most often in the same font.
struct OpenFont {
    std::string file;
    int index = -1;
    FT_Face face = nullptr;
    hb_font_t* shaper = nullptr;
    std::string name;
    double cap_height = 0;     // of the capital H, in font units times 64
    double line_distance = 0;  // baseline to baseline, the same

    void close() {
        if (shaper) hb_font_destroy(shaper);
        if (face) FT_Done_Face(face);
        shaper = nullptr;
        face = nullptr;
        index = -1;
    }
};

class FontCache {
public:
    ~FontCache() {
        open_.close();
        if (library_) FT_Done_FreeType(library_);
    }

    std::mutex lock;

    // The font open, or why it could not be.
    std::string open(const FontFace& font, OpenFont*& out) {
        if (!open_.face || open_.file != font.file || open_.index != font.index) {
            if (std::string why = load(font); !why.empty()) return why;
        }
        FT_Face face = open_.face;
        open_.name = !font.family.empty() ? font_name(font)
                     : face->family_name  ? font_name({face->family_name, face->style_name ? face->style_name : "", "", 0})
                                          : font.file;
        out = &open_;
        return "";
    }

    static constexpr int kLoad = FT_LOAD_NO_HINTING | FT_LOAD_NO_BITMAP | FT_LOAD_NO_AUTOHINT;

private:
    std::string load(const FontFace& font) {
        open_.close();
        if (!library_ && FT_Init_FreeType(&library_)) return "The font library could not be started";
        std::string shown = font.family.empty() ? font.file : font_name(font);
        if (FT_New_Face(library_, font.file.c_str(), font.index, &open_.face)) {
            open_.face = nullptr;
            return "The font " + shown + " could not be read from " + font.file;
        }
        FT_Face face = open_.face;
        if (!FT_IS_SCALABLE(face)) {
            open_.close();
            return "The font " + shown + " has no outlines";
        }
        // One pixel to the font unit: outlines come in font units times 64.
        FT_Set_Char_Size(face, 0, static_cast<FT_F26Dot6>(face->units_per_EM) * 64, 72, 72);
        open_.file = font.file;
        open_.index = font.index;
        open_.cap_height = cap_height(face);
        open_.line_distance = 64.0 * (face->height > 0 ? face->height : face->ascender - face->descender);
        open_.shaper = hb_ft_font_create_referenced(face);
        hb_ft_font_set_load_flags(open_.shaper, kLoad);
        return "";
    }

    // The top of the capital H; without an H, the font's own word for it,
    // else its ascender.
    static double cap_height(FT_Face face) {
        FT_UInt h = FT_Get_Char_Index(face, 'H');
        if (h && !FT_Load_Glyph(face, h, kLoad) && face->glyph->format == FT_GLYPH_FORMAT_OUTLINE &&
            face->glyph->outline.n_contours > 0) {
            FT_BBox box;
            FT_Outline_Get_BBox(&face->glyph->outline, &box);
            if (box.yMax > 0) return static_cast<double>(box.yMax);
        }
        auto* os2 = static_cast<TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2));
        if (os2 && os2->version >= 2 && os2->sCapHeight > 0) return 64.0 * os2->sCapHeight;
        return 64.0 * (face->ascender > 0 ? face->ascender : face->units_per_EM);
    }

    FT_Library library_ = nullptr;
    OpenFont open_;
};

FontCache& cache() {
    static FontCache c;
    return c;
}

std::string named(char32_t c) {
    char code[16];
    std::snprintf(code, sizeof code, "U+%04X", static_cast<unsigned>(c));
    return c < 0x20 || c == 0x7F ? std::string(code) : "\"" + utf8(c) + "\" (" + code + ")";
}

// The characters of UTF-8 text; false at the first byte that is not.
bool decode(const std::string& text, std::u32string& out, std::size_t& bad) {
    for (std::size_t i = 0; i < text.size();) {
        auto b = [&](std::size_t k) { return static_cast<unsigned char>(text[k]); };
        unsigned char c = b(i);
        int more = c < 0x80 ? 0 : (c >> 5) == 0x6 ? 1 : (c >> 4) == 0xE ? 2 : (c >> 3) == 0x1E ? 3 : -1;
        char32_t v = more == 0 ? c : more == 1 ? c & 0x1F : more == 2 ? c & 0x0F : c & 0x07;
        if (more < 0 || i + more >= text.size()) return bad = i, false;
        for (int k = 1; k <= more; ++k) {
            if ((b(i + k) & 0xC0) != 0x80) return bad = i, false;
            v = (v << 6) | (b(i + k) & 0x3F);
        }
        static const char32_t kLeast[] = {0, 0x80, 0x800, 0x10000};
        if (v < kLeast[more] || v > 0x10FFFF || (v >= 0xD800 && v <= 0xDFFF)) return bad = i, false;
        out += v;
        i += more + 1;
    }
    return true;
}

std::string number(double v) {
    char s[32];
    std::snprintf(s, sizeof s, "%g", v);
    return s;
}

std::string refused_style(const TextStyle& style) {
    if (!std::isfinite(style.height) || style.height <= 0 || style.height > kMaxHeight)
        return "The letter height " + number(style.height) + " in. cannot be used: it must be more than 0 and at most " +
               number(kMaxHeight) + " in.";
    if (!std::isfinite(style.letter_spacing) || std::fabs(style.letter_spacing) > kMaxLetterSpacing)
        return "The letter spacing " + number(style.letter_spacing) + " in. cannot be used: it must be a number from " +
               number(-kMaxLetterSpacing) + " to " + number(kMaxLetterSpacing) + " in.";
    if (!std::isfinite(style.line_spacing) || style.line_spacing <= 0 || style.line_spacing > kMaxLineSpacing)
        return "The line spacing " + number(style.line_spacing) + " cannot be used: it must be more than 0 and at most " +
               number(kMaxLineSpacing);
    return "";
}

struct Chains {
    FT_Outline_Funcs funcs{};
    std::vector<Chain> contours;
    Point at;
};

Point point_of(const FT_Vector* v) { return {static_cast<double>(v->x), static_cast<double>(v->y)}; }

std::vector<Chain> contours_of(const FT_Outline& outline) {
    Chains c;
    c.funcs.move_to = [](const FT_Vector* to, void* user) {
        auto& self = *static_cast<Chains*>(user);
        self.contours.emplace_back();
        self.at = point_of(to);
        return 0;
    };
    c.funcs.line_to = [](const FT_Vector* to, void* user) {
        auto& self = *static_cast<Chains*>(user);
        Point end = point_of(to);
        if (end.x != self.at.x || end.y != self.at.y) self.contours.back().push_back(line_segment(self.at, end));
        self.at = end;
        return 0;
    };
    c.funcs.conic_to = [](const FT_Vector* control, const FT_Vector* to, void* user) {
        auto& self = *static_cast<Chains*>(user);
        Point end = point_of(to);
        self.contours.back().push_back({SegmentKind::quadratic, {self.at, point_of(control), end, {}}});
        self.at = end;
        return 0;
    };
    c.funcs.cubic_to = [](const FT_Vector* c1, const FT_Vector* c2, const FT_Vector* to, void* user) {
        auto& self = *static_cast<Chains*>(user);
        Point end = point_of(to);
        self.contours.back().push_back({SegmentKind::cubic, {self.at, point_of(c1), point_of(c2), end}});
        self.at = end;
        return 0;
    };
    FT_Outline_Decompose(const_cast<FT_Outline*>(&outline), &c.funcs, &c);
    std::erase_if(c.contours, [](const Chain& chain) { return chain.empty(); });
    return c.contours;
}

// One letter's outlines in font units (times 64), merged and in order.
struct Letter {
    std::string error;
    std::vector<Arranged> outlines;
};

Letter letter_of(const OpenFont& font, unsigned glyph, char32_t code, double tolerance) {
    FT_Face face = font.face;
    if (FT_Load_Glyph(face, glyph, FontCache::kLoad))
        return {"The letter " + named(code) + " of the font " + font.name + " could not be read", {}};
    if (face->glyph->format != FT_GLYPH_FORMAT_OUTLINE)
        return {"The letter " + named(code) + " of the font " + font.name + " has no outline", {}};
    std::vector<Chain> contours = contours_of(face->glyph->outline);
    FillRule rule = face->glyph->outline.flags & FT_OUTLINE_EVEN_ODD_FILL ? FillRule::even_odd : FillRule::nonzero;
    if (!contours.empty() && merge_overlaps(contours, rule, tolerance) == Merge::failed)
        return {"The letter " + named(code) + " of the font " + font.name +
                    " is made of overlapping outlines that could not be merged",
                {}};
    return {"", arrange(std::move(contours), tolerance)};
}

// The lines of the text, as [begin, end) of its characters.
std::vector<std::pair<std::size_t, std::size_t>> lines_of(const std::u32string& text) {
    std::vector<std::pair<std::size_t, std::size_t>> out;
    std::size_t begin = 0;
    for (std::size_t i = 0; i <= text.size(); ++i) {
        if (i < text.size() && text[i] != U'\n' && text[i] != U'\r') continue;
        out.push_back({begin, i});
        if (i + 1 < text.size() && text[i] == U'\r' && text[i + 1] == U'\n') ++i;
        begin = i + 1;
    }
    return out;
}

Point moved(Point p, Point by, double scale) { return {(p.x + by.x) * scale, (p.y + by.y) * scale}; }

}  // namespace

TextOutlines text_outlines(const std::string& text, const FontFace& font, const TextStyle& style) {
    std::u32string chars;
    std::size_t bad = 0;
    if (!decode(text, chars, bad)) return {"The text is not UTF-8 text (byte " + std::to_string(bad + 1) + ")", {}, {}, {}};
    if (chars.find_first_not_of(U" \t\r\n") == std::u32string::npos)
        return {chars.empty() ? "There is no text" : "The text has no letters, only spaces", {}, {}, {}};
    if (std::string why = refused_style(style); !why.empty()) return {why, {}, {}, {}};
    for (char32_t& c : chars) {
        if (c == U'\t') c = U' ';
        if ((c < 0x20 && c != U'\n' && c != U'\r') || c == 0x7F)
            return {"The text holds the control character " + named(c), {}, {}, {}};
    }

    FontCache& fonts = cache();
    std::lock_guard<std::mutex> hold(fonts.lock);
    OpenFont* open = nullptr;
    if (std::string why = fonts.open(font, open); !why.empty()) return {why, {}, {}, {}};
    const double scale = style.height / open->cap_height;  // inches per unit
    const double tolerance = kTolerance / scale;
    const double spacing = style.letter_spacing / scale;

    // Letters as seen: each ligature off, so that every character is a letter of its own.
    static const hb_feature_t kFeatures[] = {
        {HB_TAG('l', 'i', 'g', 'a'), 0, HB_FEATURE_GLOBAL_START, HB_FEATURE_GLOBAL_END},
        {HB_TAG('c', 'l', 'i', 'g'), 0, HB_FEATURE_GLOBAL_START, HB_FEATURE_GLOBAL_END},
    };
    std::unique_ptr<hb_buffer_t, decltype(&hb_buffer_destroy)> buffer(hb_buffer_create(), hb_buffer_destroy);
    std::map<unsigned, Letter> letters;
    TextOutlines out;
    int line = 0;
    for (auto [begin, end] : lines_of(chars)) {
        double baseline = -(line++) * open->line_distance * style.line_spacing;
        hb_buffer_clear_contents(buffer.get());
        hb_buffer_add_utf32(buffer.get(), reinterpret_cast<const uint32_t*>(chars.data()),
                            static_cast<int>(chars.size()), static_cast<unsigned>(begin),
                            static_cast<int>(end - begin));
        hb_buffer_guess_segment_properties(buffer.get());
        // A mark typed alone is a mark, not one on a dotted circle.
        hb_buffer_set_flags(buffer.get(), HB_BUFFER_FLAG_DO_NOT_INSERT_DOTTED_CIRCLE);
        hb_shape(open->shaper, buffer.get(), kFeatures, 2);
        unsigned n = 0;
        const hb_glyph_info_t* info = hb_buffer_get_glyph_infos(buffer.get(), &n);
        const hb_glyph_position_t* pos = hb_buffer_get_glyph_positions(buffer.get(), &n);
        double pen = 0;
        for (unsigned g = 0; g < n; ++g) {
            char32_t code = chars[info[g].cluster];
            if (info[g].codepoint == 0)
                return {"The font " + open->name + " has no character " + named(code), {}, {}, {}};
            auto found = letters.find(info[g].codepoint);
            if (found == letters.end())
                found = letters.emplace(info[g].codepoint, letter_of(*open, info[g].codepoint, code, tolerance)).first;
            if (!found->second.error.empty()) return {found->second.error, {}, {}, {}};
            Point origin{pen + pos[g].x_offset, baseline + pos[g].y_offset};
            for (const Arranged& a : found->second.outlines) {
                TextOutline o{a.chain, a.depth % 2 == 1, info[g].cluster, code};
                for (Segment& s : o.chain)
                    for (int k = 0; k <= s.order(); ++k) s.p[k] = moved(s.p[k], origin, scale);
                out.outlines.push_back(std::move(o));
            }
            pen += pos[g].x_advance;
            if (g + 1 < n && info[g + 1].cluster != info[g].cluster) pen += spacing;
        }
        out.lines.push_back({baseline * scale, pen * scale});
    }
    if (out.outlines.empty()) return {"The text has no letters, only spaces", {}, {}, {}};
    out.extent = bounds(out.outlines.front().chain);
    for (const TextOutline& o : out.outlines) {
        Box b = bounds(o.chain);
        out.extent = {std::min(out.extent.left, b.left), std::min(out.extent.bottom, b.bottom),
                      std::max(out.extent.right, b.right), std::max(out.extent.top, b.top)};
    }
    return out;
}
