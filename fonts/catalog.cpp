// The installed fonts, through fontconfig.
#include <fontconfig/fontconfig.h>

#include <algorithm>
#include <cctype>
#include <memory>
#include <mutex>
#include <sstream>
#include <tuple>

#include "fonts/fonts.h"

namespace {

// fontconfig reads its configuration and font cache once; its calls after
// that may come from any thread, but the first must come alone.
void load_config() {
    static std::once_flag once;
    std::call_once(once, [] { FcInit(); });
}

struct PatternDeleter {
    void operator()(FcPattern* p) const { FcPatternDestroy(p); }
};
using PatternPtr = std::unique_ptr<FcPattern, PatternDeleter>;

struct FontSetDeleter {
    void operator()(FcFontSet* s) const { FcFontSetDestroy(s); }
};

std::string text_of(const FcPattern* p, const char* object, int n = 0) {
    FcChar8* s = nullptr;
    return FcPatternGetString(p, object, n, &s) == FcResultMatch ? reinterpret_cast<const char*>(s) : "";
}

std::vector<std::string> texts_of(const FcPattern* p, const char* object) {
    std::vector<std::string> out;
    FcChar8* s = nullptr;
    for (int n = 0; FcPatternGetString(p, object, n, &s) == FcResultMatch; ++n)
        out.emplace_back(reinterpret_cast<const char*>(s));
    return out;
}

double number_of(const FcPattern* p, const char* object) {
    double d = 0;
    return FcPatternGetDouble(p, object, 0, &d) == FcResultMatch ? d : 0;
}

bool flag_of(const FcPattern* p, const char* object) {
    FcBool b = FcFalse;
    return FcPatternGetBool(p, object, 0, &b) == FcResultMatch && b;
}

std::string lower(std::string s) {
    for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

// Names as fontconfig compares them: case and blanks aside.
std::string folded(const std::string& s) {
    std::string out;
    for (char c : s)
        if (c != ' ') out += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return out;
}

FontFace face_of(const FcPattern* p) {
    int index = 0;
    FcPatternGetInteger(p, FC_INDEX, 0, &index);
    return {text_of(p, FC_FAMILY), text_of(p, FC_STYLE), text_of(p, FC_FILE), index};
}

std::string base_name(const std::string& path) {
    std::size_t slash = path.find_last_of("/\\");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string stem(const std::string& file) {
    std::size_t dot = file.rfind('.');
    return dot == std::string::npos || dot == 0 ? file : file.substr(0, dot);
}

// The font that fontconfig finds closest to `asked`, of those with outlines,
// and whether it is the one asked for: its family, its style and the weight
// and slant asked for, where they were.
FontMatch closest(FcPattern* asked) {
    load_config();
    std::string family = text_of(asked, FC_FAMILY), style = text_of(asked, FC_STYLE);
    double weight = -1, slant = -1;
    FcPatternGetDouble(asked, FC_WEIGHT, 0, &weight);
    FcPatternGetDouble(asked, FC_SLANT, 0, &slant);

    FcConfigSubstitute(nullptr, asked, FcMatchPattern);
    FcDefaultSubstitute(asked);
    FcResult result = FcResultNoMatch;
    std::unique_ptr<FcFontSet, FontSetDeleter> sorted(FcFontSort(nullptr, asked, FcTrue, nullptr, &result));
    if (!sorted) return {{}, false, "No font is installed"};
    for (int i = 0; i < sorted->nfont; ++i) {
        PatternPtr found(FcFontRenderPrepare(nullptr, asked, sorted->fonts[i]));
        if (!found || !flag_of(found.get(), FC_OUTLINE) || text_of(found.get(), FC_FILE).empty()) continue;
        auto among = [&](const std::string& name, const char* object) {
            for (const std::string& s : texts_of(found.get(), object))
                if (folded(s) == folded(name)) return true;
            return false;
        };
        bool exact = (family.empty() || among(family, FC_FAMILY)) && (style.empty() || among(style, FC_STYLE)) &&
                     (weight < 0 || number_of(found.get(), FC_WEIGHT) == weight) &&
                     (slant < 0 || number_of(found.get(), FC_SLANT) == slant);
        return {face_of(found.get()), exact, ""};
    }
    return {{}, false, "No font with outlines is installed"};
}

// Font files that drawings made on Windows name, and the family each stands
// for: fontconfig knows the families (and their metric-compatible
// replacements), not the file names.
struct KnownFile {
    const char* stem;
    const char* family;
    const char* style;
};
const KnownFile kKnownFiles[] = {
    {"arial", "Arial", ""},
    {"arialbd", "Arial", "Bold"},
    {"ariali", "Arial", "Italic"},
    {"arialbi", "Arial", "Bold Italic"},
    {"arialn", "Arial Narrow", ""},
    {"ariblk", "Arial Black", ""},
    {"times", "Times New Roman", ""},
    {"timesbd", "Times New Roman", "Bold"},
    {"timesi", "Times New Roman", "Italic"},
    {"timesbi", "Times New Roman", "Bold Italic"},
    {"cour", "Courier New", ""},
    {"courbd", "Courier New", "Bold"},
    {"verdana", "Verdana", ""},
    {"verdanab", "Verdana", "Bold"},
    {"tahoma", "Tahoma", ""},
    {"tahomabd", "Tahoma", "Bold"},
    {"georgia", "Georgia", ""},
    {"georgiab", "Georgia", "Bold"},
    {"impact", "Impact", ""},
    {"comic", "Comic Sans MS", ""},
    {"trebuc", "Trebuchet MS", ""},
    {"calibri", "Calibri", ""},
    {"calibrib", "Calibri", "Bold"},
    {"segoeui", "Segoe UI", ""},
    // Stroke fonts of drawing programs have no outlines to bend: the
    // nearest outline font of their kind stands in.
    {"txt", "sans-serif", ""},
    {"simplex", "sans-serif", ""},
    {"romans", "sans-serif", ""},
    {"romand", "sans-serif", "Bold"},
    {"romanc", "serif", ""},
    {"romant", "serif", "Bold"},
    {"isocp", "sans-serif", ""},
    {"monotxt", "monospace", ""},
};

}  // namespace

std::string font_name(const FontFace& font) {
    static const char* const kPlain[] = {"regular", "book", "normal", "roman", "plain", ""};
    std::string style = lower(font.style);
    for (const char* plain : kPlain)
        if (style == plain) return font.family;
    return font.family + " " + font.style;
}

std::vector<FontFace> installed_fonts(const std::string& filter) {
    load_config();
    PatternPtr outline(FcPatternCreate());
    FcPatternAddBool(outline.get(), FC_OUTLINE, FcTrue);
    FcObjectSet* objects = FcObjectSetBuild(FC_FAMILY, FC_STYLE, FC_FILE, FC_INDEX, FC_WEIGHT, FC_SLANT,
                                            FC_WIDTH, FC_VARIABLE, static_cast<char*>(nullptr));
    std::unique_ptr<FcFontSet, FontSetDeleter> set(FcFontList(nullptr, outline.get(), objects));
    FcObjectSetDestroy(objects);

    std::vector<std::string> words;
    std::istringstream in(lower(filter));
    for (std::string w; in >> w;) words.push_back(w);

    struct Listed {
        FontFace face;
        double width, weight, slant;
    };
    std::vector<Listed> fonts;
    for (int i = 0; set && i < set->nfont; ++i) {
        const FcPattern* p = set->fonts[i];
        // A variable font is listed once for all its axes and once per named
        // instance: the instances are the faces.
        if (flag_of(p, FC_VARIABLE)) continue;
        FontFace face = face_of(p);
        std::string name = lower(face.family + " " + face.style);
        if (std::all_of(words.begin(), words.end(), [&](const std::string& w) { return name.find(w) != name.npos; }))
            fonts.push_back({face, number_of(p, FC_WIDTH), number_of(p, FC_WEIGHT), number_of(p, FC_SLANT)});
    }
    auto key = [](const Listed& f) {
        return std::make_tuple(lower(f.face.family), f.width, f.weight, f.slant, lower(f.face.style), f.face.file,
                               f.face.index);
    };
    std::sort(fonts.begin(), fonts.end(), [&](const Listed& a, const Listed& b) { return key(a) < key(b); });
    std::vector<FontFace> out;
    for (Listed& f : fonts) out.push_back(std::move(f.face));
    return out;
}

FontMatch match_font(const std::string& pattern) {
    if (pattern.find_first_not_of(" \t") == std::string::npos) return {{}, false, "No font was named"};
    PatternPtr asked(FcNameParse(reinterpret_cast<const FcChar8*>(pattern.c_str())));
    if (!asked) return {{}, false, "\"" + pattern + "\" is not a font pattern"};
    return closest(asked.get());
}

FontMatch match_font(const std::string& family, const std::string& style) {
    if (family.find_first_not_of(" \t") == std::string::npos) return {{}, false, "No font was named"};
    PatternPtr asked(FcPatternCreate());
    FcPatternAddString(asked.get(), FC_FAMILY, reinterpret_cast<const FcChar8*>(family.c_str()));
    if (!style.empty()) FcPatternAddString(asked.get(), FC_STYLE, reinterpret_cast<const FcChar8*>(style.c_str()));
    return closest(asked.get());
}

FontMatch match_font_file(const std::string& name) {
    std::string file = lower(base_name(name));
    if (file.find_first_not_of(" \t") == std::string::npos) return {{}, false, "No font file was named"};
    bool has_extension = stem(file) != file;
    for (const FontFace& f : installed_fonts()) {
        std::string installed = lower(base_name(f.file));
        if (installed == file || (!has_extension && stem(installed) == file)) return {f, true, ""};
    }
    std::string wanted = stem(file);
    for (const KnownFile& k : kKnownFiles)
        if (wanted == k.stem) {
            FontMatch m = match_font(k.family, k.style);
            m.exact = false;
            return m;
        }
    FontMatch m = match_font(wanted, "");
    m.exact = false;
    return m;
}
