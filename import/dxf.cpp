#include "import/dxf.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <vector>

#include "import/groups.h"
#include "import/limits.h"
#include "import/nesting.h"
#include "import/numbers.h"
#include "import/shapes.h"
#include "platform/files.h"
#include "platform/text.h"
#include "records/notice.h"
#include "records/settings.h"
#include "records/units.h"

DxfReader dxf;
DrawingNotes drawing_notes;

void reset_dxf() {
    dxf = DxfReader{};
    drawing_notes = DrawingNotes{};
    start_groups();
}

namespace {

// What a character does to a word: ends the line, separates, or belongs to it.
enum CharKind : unsigned char { kEnd, kSpace, kWordChar };

constexpr std::array<CharKind, 256> kKinds = [] {
    std::array<CharKind, 256> k{};
    k.fill(kWordChar);
    k[0] = kEnd;
    for (unsigned char c : {' ', '\t', '\n', '\v', '\f', '\r'}) k[c] = kSpace;
    return k;
}();

CharKind kind(char c) { return kKinds[static_cast<unsigned char>(c)]; }

template <std::size_t N>
bool tokens_begin_with(const char (&word)[N]) {
    return dxf.token_length >= int{N - 1} && std::memcmp(dxf.tokens, word, N - 1) == 0;
}

// The first word of the line [p, end) into `tokens`; a line without one
// leaves `tokens` as it was. False for such a line. A NUL ends the line.
bool take_word(const char* p, const char* end) {
    while (p < end && kind(*p) == kSpace) ++p;
    if (p == end || kind(*p) == kEnd) return false;
    int n = 0;
    do dxf.tokens[n++] = *p++;
    while (p < end && kind(*p) == kWordChar);
    dxf.tokens[n] = '\0';
    dxf.word_length = n;
    dxf.token_length = std::min(n, kShortWord);
    return true;
}

// `tokens` as a number; false, and nothing changes, when it is none.
template <typename T>
bool scan_tokens(T& v) {
    return scan_value(dxf.tokens, dxf.word_length, v);
}

}  // namespace

void start_reading(FILE* fh) {
    dxf.fh = fh;
    dxf.block_start = dxf.block_end = 0;
    dxf.file_ended = false;
    dxf.read_errno = 0;
    start_groups();
}

namespace {

// Keeps the unread rest of the block and fills the block up behind it.
void refill() {
    auto& r = dxf;
    std::size_t rest = r.block_end - r.block_start;
    std::memmove(r.block.data(), r.block.data() + r.block_start, rest);
    std::size_t wanted = r.block.size() - rest;
    errno = 0;
    std::size_t got = r.fh ? std::fread(r.block.data() + rest, 1, wanted, r.fh) : 0;
    r.block_start = 0;
    r.block_end = rest + got;
    r.file_ended = got < wanted;
    if (r.file_ended && r.fh && std::ferror(r.fh)) r.read_errno = errno != 0 ? errno : EIO;
}

// The next line, as a read of at most 127 characters takes it.
void read_line() {
    auto& r = dxf;
    if (r.block_end - r.block_start < kMaxRead && !r.file_ended) refill();
    std::size_t n = std::min(r.block_end - r.block_start, kMaxRead);
    if (n == 0) {
        r.data = nullptr;
        return;
    }
    const char* p = r.block.data() + r.block_start;
    const void* nl = std::memchr(p, '\n', n);
    if (nl) n = static_cast<const char*>(nl) - p + 1;
    r.data = p;
    r.line_end = p + n;
    r.block_start += n;
    groups.take(p, n, nl != nullptr);
}

}  // namespace

void get_data(int count) {
    dxf.vtype = 0;
    long long left = count;  // each "30" adds two: no overflow however many
    while (left != 0) {
        read_line();
        if (!dxf.data) return;
        take_word(dxf.data, dxf.line_end);
        const char* t = dxf.tokens;
        if (dxf.token_length == 1 && t[0] == '5') {
            read_line();
        } else if (dxf.token_length == 2) {
            if (t[0] == '1' && t[1] == '0') dxf.vtype = 1;
            else if (t[0] == '2' && t[1] == '0') dxf.vtype = 2;
            else if (t[0] == '4' && t[1] == '2') dxf.vtype = 3;
            else if (t[0] == '7' && t[1] == '0') dxf.closed = 1;
            else if (t[0] == '3' && t[1] == '0') left += 2;
        }
        --left;
    }
}

namespace {

// Where a figure of the tables came from: the drawing's entity count where
// it first appeared, and the outline of the group reader it was made of
// (-1 for a POLYLINE).
struct FigureSource {
    int key;
    int outline;
};

// The state load_array carries from vertex to vertex. Every write into the
// entry tables is checked against their size; past it the reader only goes
// on counting, so that a refusal can say how many entries the drawing needs.
struct Reader {
    float sx = 0.0f, sy = 0.0f;  // the vertex being read, in drawing units
    int s = 0;            // 1 once the current figure has a vertex
    int varc = 0;         // 1 when the previous vertex carried a bulge
    int close_entry = 0;  // entry of the current figure's first element
    float first_x = 0.0f, first_y = 0.0f;  // the figure's first vertex, as stored
    float last_x = 0.0f, last_y = 0.0f;    // its latest vertex, as stored
    int first_key = 0;    // where the current POLYLINE figure first appeared
    int vertex_number = 0;  // VERTEX keywords of the current POLYLINE so far
    int objects = 0;
    std::vector<FigureSource>* sources = nullptr;  // one per figure made, when kept

    // Past the tables' end fp only counts, and stops short of overflowing
    // however large the file.
    static void advance() {
        if (dxf.fp < INT32_MAX - 1) ++dxf.fp;
    }

    // Entry fp becomes the element from the vertex stored there to (x, y),
    // the entry after it the figure's terminator.
    void complete(float x, float y) {
        int fp = dxf.fp;
        if (fp + 1 < kShapeEntries) {
            if (varc == 1) {
                shapes.tp[fp] = kArc;
                shapes.p5[fp] = x;
                shapes.p6[fp] = y;
                polyarc(fp);
            } else {
                shapes.tp[fp] = kLine;
                shapes.p3[fp] = x;
                shapes.p4[fp] = y;
                shapes.p5[fp] = 0.0f;
                shapes.p6[fp] = 0.0f;
            }
            shapes.tp[fp + 1] = kFigureEnd;
        }
        advance();
    }

    // The vertex (x, y), as stored: the element from the vertex before ends
    // here, and the next one starts here.
    void take_vertex(float x, float y) {
        if (s == 1) complete(x, y);
        if (dxf.fp < kShapeEntries) {
            shapes.p1[dxf.fp] = x;
            shapes.p2[dxf.fp] = y;
        }
        if (s == 0) first_x = x, first_y = y;
        last_x = x;
        last_y = y;
        s = 1;
    }

    // Reads items until `vtype` is `code`, then the value after it.
    // False when the file ends first.
    bool read_value(int code, float& v) {
        while (dxf.vtype != code) {
            get_data(1);
            if (!dxf.data) return false;
        }
        get_data(1);
        if (!dxf.data) return false;
        if (!scan_tokens(v)) value_fault("a coordinate");
        return true;
    }

    // The value just read is not a number: the drawing will be refused,
    // naming the figure and the vertex.
    void value_fault(const char* what) {
        note_value_fault(s == 1 ? first_key : groups.ordinal, vertex_number, "", what,
                         std::string_view(dxf.tokens, dxf.word_length));
    }

    // At a VERTEX keyword. False when the file ends before its Y value: the
    // vertex is then dropped.
    bool vertex() {
        ++vertex_number;
        if (!read_value(1, sx) || !read_value(2, sy)) return false;
        if (s == 0) first_key = groups.ordinal;
        take_vertex(stored(sx, groups.per_inch), stored(sy, groups.per_inch));
        get_data(1);
        varc = 0;
        if (dxf.vtype == 3) {
            get_data(1);
            if (dxf.data) {
                varc = 1;
                if (!scan_tokens(dxf.spoint)) value_fault("a bulge");
            }
        }
        return true;
    }

    // Outline `index` of the group reader, as a polyline of its vertices and
    // bulges. `reversed` runs one that ends where it starts the other way
    // round, from the same start point.
    void outline(int index, const Outline& o, bool reversed = false) {
        const OutlineVertex* v = groups.vertices.data() + o.first;
        int last = o.count - 1;
        for (int k = 0; k <= last; ++k) {
            const OutlineVertex& p = reversed ? v[last - k] : v[k];
            take_vertex(stored(p.x, groups.per_inch), stored(p.y, groups.per_inch));
            // Run backwards, the segment out of a vertex is the one into it.
            const OutlineVertex* b = !reversed ? &p : k < last ? &v[last - k - 1] : nullptr;
            varc = b && b->arc ? 1 : 0;
            if (varc == 1) dxf.spoint = reversed ? -b->bulge : b->bulge;
        }
        end_figure(o.closed ? 1 : 0, o.key, index);
    }

    // At a POLYLINE keyword, at the end of the file and after an outline. A
    // figure marked closed whose last vertex is not its first gets a closing
    // element when the operator's setting asks for it. A polyline of fewer
    // than two vertices makes no figure and is not counted.
    void end_figure(int closed, int key, int outline) {
        if (dxf.fp > close_entry) {
            if (closed == 1 && settings.closed_figure == 1 &&
                (last_x != first_x || last_y != first_y))
                complete(first_x, first_y);
            advance();
            ++objects;
            if (sources) sources->push_back({key, outline});
        } else if (s == 1 && dxf.fp < kShapeEntries) {
            shapes.p1[dxf.fp] = 0.0f;
            shapes.p2[dxf.fp] = 0.0f;
        }
        close_entry = dxf.fp;
        s = 0;
        vertex_number = 0;
    }
};

void clear_entries() {
    for (auto* t : {&shapes.p1, &shapes.p2, &shapes.p3, &shapes.p4, &shapes.p5, &shapes.p6})
        t->fill(0.0f);
    shapes.tp.fill(0);
    shapes.points.fill(PTS{0, 0});
}

std::string too_many_entries(int needed) {
    return strprintf("it needs %d shape table entries (one for each line or arc, one more for "
                     "each figure and one at the end) and %d fit.",
                     needed, kShapeEntries);
}

// A value that is not a number, named by the figure it belongs to in the
// drawing's order.
std::string value_fault_text(const ValueFault& f, const std::vector<FigureSource>& sources) {
    int figure = 1;
    for (const FigureSource& s : sources) figure += s.key < f.key;
    std::string where = strprintf("figure %d", figure);
    if (f.vertex > 0) where += strprintf(", vertex %d", f.vertex);
    if (*f.entity) where += std::string(" (") + f.entity + ")";
    return where + " has " + f.what + " that is not a number (\"" + f.word + "\")";
}

// Why a drawing read to its end is not taken, before its figures are put in
// order; empty when nothing stands against it.
std::string reading_refusal(const std::vector<FigureSource>& sources, int needed) {
    if (!groups.ended)
        return "the file is cut short: it ends without the EOF group that ends every DXF "
               "drawing (it may not have been copied or saved to its end).";
    if (groups.fault.found) return value_fault_text(groups.fault, sources);
    if (needed > kShapeEntries) return too_many_entries(needed);
    return "";
}

// The figures of the tables, each a run of elements and its terminator, put
// in the order of their keys. Only needed when outlines of the group reader
// were added after the polylines.
void put_in_drawing_order(std::vector<FigureSource>& sources) {
    auto by_key = [](const FigureSource& a, const FigureSource& b) { return a.key < b.key; };
    if (std::is_sorted(sources.begin(), sources.end(), by_key)) return;
    static ShapeTables read;
    read = shapes;
    std::vector<int> starts;
    for (int i = 0; read.tp[i] != kTableEnd; ++i)
        if (i == 0 || read.tp[i - 1] == kFigureEnd) starts.push_back(i);
    starts.push_back(dxf.fp);  // the end of table
    std::vector<int> order(sources.size());
    for (std::size_t k = 0; k < order.size(); ++k) order[k] = static_cast<int>(k);
    std::stable_sort(order.begin(), order.end(),
                     [&](int a, int b) { return sources[a].key < sources[b].key; });
    int to = 0;
    std::vector<FigureSource> sorted;
    for (int k : order) {
        for (int i = starts[k]; i < starts[k + 1]; ++i, ++to) {
            shapes.tp[to] = read.tp[i];
            shapes.p1[to] = read.p1[i], shapes.p2[to] = read.p2[i];
            shapes.p3[to] = read.p3[i], shapes.p4[to] = read.p4[i];
            shapes.p5[to] = read.p5[i], shapes.p6[to] = read.p6[i];
        }
        sorted.push_back(sources[k]);
    }
    sources = std::move(sorted);
}

// Chains and circles that run against the way outer outlines and counters
// run are written again the other way round, from the same start point.
void turn_outlines(const std::vector<FigureSource>& sources) {
    std::vector<char> asked(sources.size());
    bool any = false;
    for (std::size_t k = 0; k < sources.size(); ++k) {
        int o = sources[k].outline;
        asked[k] = o >= 0 && groups.outlines[o].by_nesting;
        any = any || asked[k];
    }
    if (!any) return;
    std::vector<char> turn = against_the_rule(asked);
    int first = 0;
    for (std::size_t k = 0; k < sources.size(); ++k) {
        int terminator = first;
        while (shapes.tp[terminator] != kFigureEnd) ++terminator;
        if (turn[k]) {
            int keep = dxf.fp;
            Reader r;
            dxf.fp = r.close_entry = first;
            r.outline(sources[k].outline, groups.outlines[sources[k].outline], true);
            dxf.fp = keep;
        }
        first = terminator + 1;
    }
}

}  // namespace

bool load_array(FILE* fh) {
    static ShapeTables before;  // put back when the drawing is refused
    before = shapes;
    clear_entries();

    std::vector<FigureSource> sources;
    Reader r;
    r.sources = &sources;
    start_reading(fh);
    get_data(1);
    shapes.selected = 0;
    shapes.objects = 0;
    dxf.fp = 0;
    dxf.closed = 0;
    while (dxf.data) {
        if (tokens_begin_with("VERTEX") && !r.vertex()) break;
        get_data(1);
        if (dxf.data && tokens_begin_with("POLYLINE")) {
            r.end_figure(dxf.closed, r.first_key, -1);
            dxf.closed = 0;
        }
    }
    r.end_figure(dxf.closed, r.first_key, -1);
    dxf.fh = nullptr;  // the caller's to close

    finish_groups();
    auto& outlines = groups.outlines;
    std::stable_sort(outlines.begin(), outlines.end(),
                     [](const Outline& a, const Outline& b) { return a.key < b.key; });
    for (std::size_t k = 0; k < outlines.size(); ++k) r.outline(static_cast<int>(k), outlines[k]);

    int needed = dxf.fp + 1;
    std::string refusal = dxf.read_errno != 0 ? "" : reading_refusal(sources, needed);
    if (dxf.read_errno != 0 || !refusal.empty()) {
        shapes = before;
        if (!refusal.empty()) notice("The drawing was not loaded: " + refusal);
        return false;
    }
    shapes.tp[dxf.fp] = kTableEnd;
    if (!outlines.empty()) {
        put_in_drawing_order(sources);
        turn_outlines(sources);
    }
    // Figures and vertices are named as the operator will see them: in drawing order.
    if (std::string fault = drawing_limit_fault(dxf.fp); !fault.empty()) {
        shapes = before;
        notice(fault);
        return false;
    }
    if (r.objects == 0) {
        shapes = before;
        notice("The drawing was not loaded: " + no_outline(groups.passed));
        return false;
    }
    shapes.objects = r.objects;
    plot();
    shapes.selected = 1;
    shapes.PointsLoaded = 1;
    drawing_notes = DrawingNotes{"", groups.declared, unit_in_use(groups.declared), groups.passed};
    return true;
}

DrawingLoad load_drawing(const std::string& path) {
    std::string not_regular = not_a_regular_file(path);
    if (!not_regular.empty()) {
        notice(path + " was not opened: " + not_regular + ", not a drawing file");
        return DrawingLoad::refused;
    }
    FILE* f = std::fopen(path.c_str(), "r+b");
    if (!f && (errno == EACCES || errno == EROFS || errno == EPERM))
        f = std::fopen(path.c_str(), "rb");
    if (!f) return DrawingLoad::not_opened;
    bool loaded = load_array(f);
    std::fclose(f);
    if (loaded) {
        drawing_notes.path = path;
        return DrawingLoad::loaded;
    }
    return dxf.read_errno != 0 ? DrawingLoad::read_failed : DrawingLoad::refused;
}

namespace {

// What the reader passes over, as the operator is told of it. Those that
// may be outlines are also named in the status line.
struct PassedKind {
    int PassedEntities::*count;
    const char* one;
    const char* many;
    bool outline;
};

constexpr PassedKind kPassedKinds[] = {
    {&PassedEntities::spline, "SPLINE", "SPLINE", true},
    {&PassedEntities::ellipse, "ELLIPSE", "ELLIPSE", true},
    {&PassedEntities::hatch, "HATCH", "HATCH", false},
    {&PassedEntities::text, "TEXT", "TEXT", false},
    {&PassedEntities::insert, "INSERT of a block", "INSERT of blocks", true},
    {&PassedEntities::open_chains, "open chain of LINE and ARC", "open chains of LINE and ARC",
     true},
};

// "2 SPLINE, 1 TEXT and 3 open chains of LINE and ARC"; empty for none.
std::string passed_list(const PassedEntities& passed, bool outlines_only) {
    std::vector<std::string> parts;
    for (const PassedKind& k : kPassedKinds) {
        int n = passed.*k.count;
        if (n > 0 && (k.outline || !outlines_only))
            parts.push_back(strprintf("%d %s", n, n == 1 ? k.one : k.many));
    }
    std::string out;
    for (std::size_t i = 0; i < parts.size(); ++i)
        out += (i == 0 ? "" : i + 1 == parts.size() ? " and " : ", ") + parts[i];
    return out;
}

}  // namespace

std::string no_outline(const PassedEntities& passed) {
    std::string list = passed_list(passed, false);
    if (list.empty())
        return "it has no outline (no POLYLINE or LWPOLYLINE with two or more vertices, no "
               "closed chain of LINE and ARC and no CIRCLE).";
    return "it has no outline that can be read. It holds " + list +
           ", which are not read: convert them to polylines (explode the blocks, join or "
           "close the chains) and save the drawing again.";
}

std::string units_hint() {
    const DrawingNotes& n = drawing_notes;
    if (n.declared == DrawingUnit::inch || n.in_use != DrawingUnit::inch) return "";
    return strprintf("The drawing declares %s but is read in inches, one drawing unit to the "
                     "inch; Options, Drawing units can read it in %s.",
                     unit_name(n.declared), unit_name(n.declared));
}

std::string drawing_status() {
    if (!shapes.PointsLoaded)
        return unit_setting.choice == UnitChoice::inch ? "Drawings in inches"
                                                       : "Drawings in their declared units";
    const DrawingNotes& n = drawing_notes;
    std::string out = std::string("Drawing in ") + unit_name(n.in_use);
    if (n.in_use != DrawingUnit::inch)
        out += ", scaled to inches";
    else if (n.declared != DrawingUnit::inch)
        out += std::string(" (it declares ") + unit_name(n.declared) + ")";
    std::string passed = passed_list(drawing_notes.passed, true);
    if (!passed.empty()) out += "; not read: " + passed;
    return out;
}
