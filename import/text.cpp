#include "import/text.h"

#include <charconv>
#include <cstdio>

#include "geometry/arcs.h"
#include "geometry/curves.h"
#include "geometry/fit.h"
#include "import/dxf.h"
#include "import/emit.h"
#include "import/shapes.h"
#include "import/text_entities.h"
#include "platform/text.h"
#include "records/notice.h"

namespace {

// Chords of an arc in the preview: smooth at any size it is shown.
constexpr int kArcChords = 8;

// Each outline of the text followed with lines and arcs, in the outlines'
// order; empty with `why` set when the text is refused.
std::vector<std::vector<geo::Piece>> fitted_letters(const TextRequest& request,
                                                    std::string& why) {
    std::vector<std::vector<geo::Piece>> out;
    TextOutlines text = text_outlines(request.text, request.font, request.style);
    if (!text.error.empty()) {
        why = text.error;
        return out;
    }
    geo::FitOptions options;
    options.tolerance = kFitTolerance;
    options.max_pieces = kShapeEntries;
    for (const TextOutline& o : text.outlines) {
        std::vector<geo::Piece> pieces;
        std::string fault = geo::fit(outline_curve(o.chain), pieces, options);
        if (!fault.empty() || pieces.empty()) {
            why = "The outline of a letter cannot be followed with lines and arcs" +
                  (fault.empty() ? std::string() : ": " + fault);
            out.clear();
            return out;
        }
        pieces.back().end = pieces.front().start;  // closed exactly
        out.push_back(std::move(pieces));
    }
    return out;
}

void pair(std::string& out, int code, const char* value) {
    out += strprintf("%3d\n%s\n", code, value);
}

// A number as the reader takes it back whole: the shortest text of the
// value, with a point or exponent.
void number(std::string& out, int code, double v) {
    char text[40];
    auto r = std::to_chars(text, text + sizeof text - 3, v);
    std::string value(text, r.ptr);
    if (value.find_first_of(".en") == std::string::npos) value += ".0";
    pair(out, code, value.c_str());
}

void vertex(std::string& out, geo::Point p, double bulge, bool arc) {
    pair(out, 0, "VERTEX");
    pair(out, 8, "0");
    number(out, 10, p.x);
    number(out, 20, p.y);
    if (arc) number(out, 42, bulge);
}

#ifndef _WIN32
FILE* memory_file(std::string& text) { return fmemopen(text.data(), text.size(), "rb"); }
#else
// No memory streams here: a temporary file that goes when it is closed.
FILE* memory_file(std::string& text) {
    FILE* f = std::tmpfile();
    if (f && (std::fwrite(text.data(), 1, text.size(), f) != text.size() ||
              std::fseek(f, 0, SEEK_SET) != 0)) {
        std::fclose(f);
        return nullptr;
    }
    return f;
}
#endif

// Why the letters do not fit in the shape tables; empty when they do.
std::string past_the_tables(const std::vector<std::vector<geo::Piece>>& letters) {
    long long entries = 1;
    for (const auto& pieces : letters) entries += static_cast<long long>(pieces.size()) + 1;
    if (entries <= kShapeEntries) return "";
    return strprintf("The letters need %lld shape table entries (one for each line or arc, one "
                     "more for each figure and one at the end) and %d fit: make fewer or "
                     "simpler letters.",
                     entries, kShapeEntries);
}

}  // namespace

std::string text_drawing_name(const TextRequest& request) {
    std::string first = request.text.substr(0, request.text.find('\n'));
    if (first.size() < request.text.size()) first += " ...";
    double h = request.style.height;
    std::string height = request.millimetres ? strprintf("%g mm", h * 25.4 + 0.0)
                                             : strprintf("%g in.", h);
    return first + " (" + font_name(request.font) + ", " + height + ")";
}

std::string text_dxf(const TextRequest& request, std::string& why) {
    std::vector<std::vector<geo::Piece>> letters = fitted_letters(request, why);
    if (letters.empty()) return "";
    if (why = past_the_tables(letters); !why.empty()) return "";
    long long entries = 0;
    for (const auto& pieces : letters) entries += static_cast<long long>(pieces.size()) + 1;
    std::string out;
    out.reserve(static_cast<std::size_t>(entries) * 80);
    pair(out, 0, "SECTION");
    pair(out, 2, "ENTITIES");
    for (const auto& pieces : letters) {
        pair(out, 0, "POLYLINE");
        pair(out, 8, "0");
        pair(out, 66, "1");
        pair(out, 70, "1");
        for (const geo::Piece& p : pieces)
            vertex(out, p.start, p.arc ? geo::bulge_of(p.start, p.middle, p.end) : 0.0, p.arc);
        vertex(out, pieces.back().end, 0.0, false);
        pair(out, 0, "SEQEND");
    }
    pair(out, 0, "ENDSEC");
    pair(out, 0, "EOF");
    return out;
}

std::vector<PreviewOutline> text_preview(const TextRequest& request, std::string& why) {
    std::vector<PreviewOutline> out;
    std::vector<std::vector<geo::Piece>> letters = fitted_letters(request, why);
    if (why = why.empty() ? past_the_tables(letters) : why; !why.empty()) return out;
    for (const auto& pieces : letters) {
        PreviewOutline o;
        o.xy = {pieces.front().start.x, pieces.front().start.y};
        for (const geo::Piece& p : pieces) {
            auto arc = p.arc ? geo::arc_through(p.start, p.middle, p.end) : std::nullopt;
            for (int k = 1; arc && k < kArcChords; ++k) {
                geo::Point q = arc->point(arc->first() + (arc->last() - arc->first()) * k /
                                                             kArcChords);
                o.xy.insert(o.xy.end(), {q.x, q.y});
            }
            o.xy.insert(o.xy.end(), {p.end.x, p.end.y});
        }
        out.push_back(std::move(o));
    }
    return out;
}

bool load_letters(const TextRequest& request) {
    std::string why;
    std::string drawing = text_dxf(request, why);
    if (drawing.empty()) {
        notice(why);
        return false;
    }
    FILE* f = memory_file(drawing);
    if (!f) {
        notice("The letters could not be made: there is no memory for them.");
        return false;
    }
    bool loaded = load_array(f);
    std::fclose(f);
    if (!loaded) return false;
    // A job on them is carried on only on the same letters.
    drawing_notes.path = text_drawing_name(request);
    drawing_notes.digest = digest(drawing);
    return true;
}
