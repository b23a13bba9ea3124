#include "import/dxf.h"

#include <algorithm>
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

DrawingNotes drawing_notes;

void reset_dxf() {
    dxf = DxfReader{};
    drawing_notes = DrawingNotes{};
    start_groups(kDefaultJoin);
}

namespace {

template <std::size_t N>
bool tokens_begin_with(const char (&word)[N]) {
    return dxf.token_length >= int{N - 1} && std::memcmp(dxf.tokens, word, N - 1) == 0;
}

// The first word of the line just read becomes `tokens`; a line without
// one leaves `tokens` as it was.
void take_word() {
    std::string_view w = dxf.word;
    if (w.empty()) return;
    int n = static_cast<int>(w.size());
    dxf.tokens = w.data();
    dxf.word_length = n;
    dxf.token_length = n < kShortWord ? n : kShortWord;
}

// `tokens` as a number; false, and nothing changes, when it is none.
template <typename T>
bool scan_tokens(T& v) {
    return scan_value(dxf.tokens, dxf.word_length, v);
}

}  // namespace

void get_data(int count) {
    dxf.vtype = 0;
    long long left = count;  // each "30" adds two: no overflow however many
    while (left != 0) {
        read_line();
        if (!dxf.data) return;
        take_word();
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

// Where a figure of the tables came from: where it stands in the drawing,
// and the outline of the group reader it was made of (-1 for a POLYLINE).
struct FigureSource {
    Key key;
    int outline;
    bool dropped = false;            // a chain took it in
    bool closed_by_setting = false;  // an open POLYLINE closed by Close Figure
    int entries = 0;                 // those it takes in the tables
};

// A vertex read but not yet taken: it is taken once its VERTEX entity has
// been read to its end, unless it turns out to be a spline frame control point.
struct PendingVertex {
    bool any = false;
    float x = 0.0f, y = 0.0f;  // in drawing units, as scanned
    int varc = 0;
    double spoint = 0.0;
    int vertex_ordinal = -1;  // of its VERTEX entity
    int key_ordinal = 0;      // where it was read
};

// The state load_array carries from vertex to vertex. Every write into the
// entry tables is checked against their size; past it the reader only goes
// on counting, so that a refusal can say how many entries the drawing needs.
struct Reader {
    float sx = 0.0f, sy = 0.0f;  // the vertex being read, in drawing units
    int s = 0;            // 1 once the current figure has a vertex
    int varc = 0;         // 1 when the previous vertex carried a bulge
    double spoint = 0.0;  // and its bulge
    int close_entry = 0;  // entry of the current figure's first element
    float first_x = 0.0f, first_y = 0.0f;  // the figure's first vertex, as stored
    float last_x = 0.0f, last_y = 0.0f;    // its latest vertex, as stored
    Key first_key = 0;    // where the current POLYLINE figure first appeared
    int vertex_number = 0;  // VERTEX keywords of the current POLYLINE so far
    int polyline_ordinal = -1;  // of the POLYLINE keyword that started it
    int open = -1;        // 1 when its POLYLINE is not marked closed, 0 when it is, -1 unknown
    int run_first = -1;   // its vertices in the group reader's, for a chain to take in
    int run_count = 0;
    int run_generation = 0;
    PendingVertex pending;
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
                double scanned = dxf.spoint;
                dxf.spoint = spoint;
                polyarc(fp);
                dxf.spoint = scanned;
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
        Key key = s == 1 ? first_key : key_of(groups.ordinal);
        note_fault(key, vertex_number, "",
                   std::string("has ") + what + " that is not a number (\"" +
                       std::string(dxf.tokens, dxf.word_length) + "\")");
    }

    // At a VERTEX keyword. False when the file ends before its Y value: the
    // vertex is then dropped.
    bool vertex() {
        take_pending();
        int vertex_ordinal = groups.ordinal;
        ++vertex_number;
        if (!read_value(1, sx) || !read_value(2, sy)) return false;
        int key_ordinal = groups.ordinal;
        get_data(1);
        int bulge = 0;
        if (dxf.vtype == 3) {
            get_data(1);
            if (dxf.data) {
                bulge = 1;
                if (!scan_tokens(dxf.spoint)) value_fault("a bulge");
            }
        }
        pending = {true, sx, sy, bulge, dxf.spoint, vertex_ordinal, key_ordinal};
        return true;
    }

    // The vertex read before, now that its VERTEX entity has been read to
    // its end: taken, unless it is a spline frame control point.
    void take_pending() {
        if (!pending.any) return;
        pending.any = false;
        const EntityFlags& flags = groups.vertex_flags;
        if (flags.ordinal == pending.vertex_ordinal && (flags.flags & 16) != 0) return;
        if (s == 0) start_figure();
        take_vertex(stored(pending.x, groups.per_inch), stored(pending.y, groups.per_inch));
        varc = pending.varc;
        spoint = pending.spoint;
        Collection& c = groups.drawing;
        if (run_first < 0) return;
        // Only a run of its own, never cut by the group reader's, goes to a chain.
        if (c.over || c.generation != run_generation ||
            c.vertices.size() != static_cast<std::size_t>(run_first + run_count)) {
            run_first = -1;
            return;
        }
        c.vertices.push_back({pending.x, pending.y, spoint, varc == 1});
        ++run_count;
    }

    // At the first vertex taken of a POLYLINE: whether it is marked closed,
    // as the group reader read its flags. An open one in the ENTITIES
    // section may join a chain: its vertices are kept for that.
    void start_figure() {
        first_key = key_of(pending.key_ordinal);
        const EntityFlags& header = groups.polyline_flags;
        bool known = header.ordinal >= 0 && header.ordinal == polyline_ordinal;
        open = !known ? -1 : (header.flags & 1) == 0 ? 1 : 0;
        Collection& c = groups.drawing;
        run_first = open == 1 && header.in_entities && !c.over
                        ? static_cast<int>(c.vertices.size())
                        : -1;
        run_count = 0;
        run_generation = c.generation;
    }

    // Outline `index` of the group reader, as a polyline of its vertices and
    // bulges. `reversed` runs one that ends where it starts the other way
    // round, from the same start point.
    void outline(int index, const Outline& o, bool reversed = false) {
        const OutlineVertex* v = groups.drawing.vertices.data() + o.first;
        int last = o.count - 1;
        double per_inch = groups.per_inch;
        for (int k = 0; k <= last; ++k) {
            const OutlineVertex& p = reversed ? v[last - k] : v[k];
            take_vertex(stored(p.x, per_inch), stored(p.y, per_inch));
            // Run backwards, the segment out of a vertex is the one into it.
            const OutlineVertex* b = !reversed ? &p : k < last ? &v[last - k - 1] : nullptr;
            varc = b && b->arc ? 1 : 0;
            if (varc == 1) spoint = reversed ? -b->bulge : b->bulge;
        }
        end_figure(o.closed ? 1 : 0, o.key, index);
    }

    // At a POLYLINE keyword, at the end of the file and after an outline. A
    // figure marked closed whose last vertex is not its first gets a closing
    // element when the operator's setting asks for it. A polyline of fewer
    // than two vertices makes no figure and is not counted.
    void end_figure(int closed, Key key, int outline) {
        take_pending();
        Collection& c = groups.drawing;
        if (dxf.fp > close_entry) {
            int start = close_entry;
            bool closing = closed == 1 && settings.closed_figure == 1 &&
                           (last_x != first_x || last_y != first_y);
            if (closing) complete(first_x, first_y);
            advance();
            ++objects;
            if (sources) {
                sources->push_back({key, outline, false, closing && open == 1, dxf.fp - start});
                if (outline < 0)
                    figure_made(start, closing, static_cast<int>(sources->size()) - 1);
            }
        } else if (s == 1 && dxf.fp < kShapeEntries) {
            shapes.p1[dxf.fp] = 0.0f;
            shapes.p2[dxf.fp] = 0.0f;
        }
        // A run no chain took in goes, when nothing came after it.
        if (run_first >= 0 && !c.over && c.generation == run_generation &&
            c.vertices.size() == static_cast<std::size_t>(run_first + run_count))
            c.vertices.resize(static_cast<std::size_t>(run_first));
        close_entry = dxf.fp;
        s = 0;
        vertex_number = 0;
        run_first = -1;
        open = -1;
    }

    // A POLYLINE figure from entry `start` to fp (`closing`: with the
    // element that closes it): counted against the tables, and an open one
    // in the ENTITIES section offered to the chains as the run it was drawn.
    void figure_made(int start, bool closing, int source) {
        Collection& c = groups.drawing;
        int elements = dxf.fp - start - 1 - (closing ? 1 : 0);
        int count = c.over || run_first < 0 || c.generation != run_generation ? 0 : run_count;
        if (count == elements + 1 && count >= 2) {
            c.elsewhere += elements;
            const OutlineVertex& a = c.vertices[run_first];
            const OutlineVertex& b = c.vertices[run_first + count - 1];
            bool line0 = !a.arc, line1 = !c.vertices[run_first + count - 2].arc;
            c.add_piece({a.x, a.y, b.x, b.y, 0.0, first_key, run_first, count, -2 - source,
                         line0, line1});
            run_first = -1;  // its vertices stay with the piece
        } else {
            c.elsewhere += dxf.fp - start;
        }
        c.check_size();
    }
};

void clear_entries() {
    for (auto* t : {&shapes.p1, &shapes.p2, &shapes.p3, &shapes.p4, &shapes.p5, &shapes.p6})
        t->fill(0.0f);
    shapes.tp.fill(0);
    shapes.points.fill(PTS{0, 0});
}

std::string too_many_entries(long long needed, bool at_least) {
    return strprintf("it needs %s%lld shape table entries (one for each line or arc, one more "
                     "for each figure and one at the end) and %d fit.",
                     at_least ? "at least " : "", needed, kShapeEntries);
}

// A fault of an entity, named by the figure it is or belongs to in the
// drawing's order.
std::string fault_text(const EntityFault& f, const std::vector<FigureSource>& sources) {
    int figure = 1;
    for (const FigureSource& s : sources) figure += !s.dropped && s.key < f.key;
    std::string where = strprintf("figure %d", figure);
    if (f.vertex > 0) where += strprintf(", vertex %d", f.vertex);
    if (!f.entity.empty()) where += " (" + f.entity + ")";
    return where + " " + f.says;
}

// Why a drawing read to its end is not taken before its figures are put in
// order; empty when nothing stands against it.
std::string reading_refusal(const std::vector<FigureSource>& sources) {
    if (!dxf.binary.fault().empty())
        return dxf.binary.fault() + ": it cannot be read (save it from the drawing program "
                                    "again).";
    if (!groups.ended)
        return "the file is cut short: it ends without the EOF group that ends every DXF "
               "drawing (it may not have been copied or saved to its end).";
    if (groups.fault.found) return fault_text(groups.fault, sources);
    return "";
}

// Copies figure `k` of `read` (entries from `from` to before `to`) to entry `at`.
void copy_figure(const ShapeTables& read, int from, int to, int& at) {
    for (int i = from; i < to; ++i, ++at) {
        shapes.tp[at] = read.tp[i];
        shapes.p1[at] = read.p1[i], shapes.p2[at] = read.p2[i];
        shapes.p3[at] = read.p3[i], shapes.p4[at] = read.p4[i];
        shapes.p5[at] = read.p5[i], shapes.p6[at] = read.p6[i];
    }
}

// The figures of the tables, each a run of elements and its terminator, put
// in the order of their keys, those that chains took in left out.
void put_in_drawing_order(std::vector<FigureSource>& sources) {
    auto by_key = [](const FigureSource& a, const FigureSource& b) { return a.key < b.key; };
    bool dropped = std::any_of(sources.begin(), sources.end(),
                               [](const FigureSource& s) { return s.dropped; });
    if (!dropped && std::is_sorted(sources.begin(), sources.end(), by_key)) return;
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
        if (sources[k].dropped) continue;
        copy_figure(read, starts[k], starts[k + 1], to);
        sorted.push_back(sources[k]);
    }
    for (int i = to; i <= dxf.fp && i < kShapeEntries; ++i) {
        shapes.tp[i] = 0;
        shapes.p1[i] = shapes.p2[i] = shapes.p3[i] = shapes.p4[i] = shapes.p5[i] = shapes.p6[i] = 0;
    }
    dxf.fp = to;
    shapes.tp[to] = kTableEnd;
    sources = std::move(sorted);
}

// Chains and circles that run against the way outer outlines and counters
// run are written again the other way round, from the same start point.
void turn_outlines(const std::vector<FigureSource>& sources) {
    const auto& outlines = groups.drawing.outlines;
    std::vector<char> asked(sources.size());
    bool any = false;
    for (std::size_t k = 0; k < sources.size(); ++k) {
        int o = sources[k].outline;
        asked[k] = o >= 0 && outlines[o].by_nesting;
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
            r.outline(sources[k].outline, outlines[sources[k].outline], true);
            dxf.fp = keep;
        }
        first = terminator + 1;
    }
}

// What is wrong with a file that is no DXF drawing; empty for one that may be.
std::string not_a_drawing() {
    switch (dxf.kind) {
    case FileKind::dwg: return "this is a DWG drawing; save it from the drawing program as DXF";
    case FileKind::other_binary:
        return "this is no DXF drawing but a binary file; save the drawing from the drawing "
               "program as DXF";
    default: return "";
    }
}

}  // namespace

bool load_array(FILE* fh) {
    static ShapeTables before;  // put back when the drawing is refused
    before = shapes;
    auto refuse = [](const std::string& why) {
        shapes = before;
        if (!why.empty()) notice("The drawing was not loaded: " + why);
        return false;
    };
    clear_entries();

    std::vector<FigureSource> sources;
    Reader r;
    r.sources = &sources;
    start_reading(fh, unit_setting.join_tolerance);
    if (std::string why = not_a_drawing(); !why.empty()) {
        dxf.fh = nullptr;
        return refuse(why);
    }
    get_data(1);
    shapes.selected = 0;
    shapes.objects = 0;
    dxf.fp = 0;
    dxf.closed = 0;
    while (dxf.data) {
        if (tokens_begin_with("VERTEX") && !r.vertex()) break;
        get_data(1);
        // A vertex is taken as soon as its VERTEX entity has been read.
        if (r.pending.any && groups.vertex_flags.ordinal == r.pending.vertex_ordinal)
            r.take_pending();
        if (dxf.data && tokens_begin_with("POLYLINE")) {
            r.end_figure(dxf.closed, r.first_key, -1);
            r.polyline_ordinal = groups.ordinal;
            dxf.closed = 0;
        }
    }
    r.end_figure(dxf.closed, r.first_key, -1);
    dxf.fh = nullptr;  // the caller's to close

    Collection& c = groups.drawing;
    finish_groups();
    if (dxf.read_errno != 0) return refuse("");
    long long taken_in = 0;
    for (int k : c.dropped_figures) {
        sources[k].dropped = true;
        taken_in += sources[k].entries;
    }
    if (std::string why = reading_refusal(sources); !why.empty()) return refuse(why);

    // Past the tables' end the POLYLINEs' figures are counted as they stand.
    long long needed = dxf.fp + 1 + c.entries - (dxf.fp + 1 > kShapeEntries ? 0 : taken_in);
    if (c.over || needed > kShapeEntries) return refuse(too_many_entries(needed, c.unjoined));
    // Figures taken into chains go before the chains are added.
    shapes.tp[dxf.fp] = kTableEnd;
    put_in_drawing_order(sources);
    auto& outlines = c.outlines;
    std::vector<int> order;
    for (std::size_t k = 0; k < outlines.size(); ++k)
        if (!outlines[k].dropped) order.push_back(static_cast<int>(k));
    std::stable_sort(order.begin(), order.end(),
                     [&](int a, int b) { return outlines[a].key < outlines[b].key; });
    r.close_entry = dxf.fp;
    for (int k : order) r.outline(k, outlines[k]);
    needed = dxf.fp + 1;
    if (needed > kShapeEntries) return refuse(too_many_entries(needed, false));
    shapes.tp[dxf.fp] = kTableEnd;
    if (!order.empty()) {
        put_in_drawing_order(sources);
        turn_outlines(sources);
    }
    // Figures and vertices are named as the operator will see them: in drawing order.
    if (std::string fault = drawing_limit_fault(dxf.fp); !fault.empty()) {
        shapes = before;
        notice(fault);
        return false;
    }
    if (r.objects == 0 || sources.empty()) return refuse(no_outline(groups.passed, groups.per_inch));
    shapes.objects = static_cast<int>(sources.size());
    plot();
    shapes.selected = 1;
    shapes.PointsLoaded = 1;
    int closed_open = static_cast<int>(std::count_if(
        sources.begin(), sources.end(), [](const FigureSource& s) { return s.closed_by_setting; }));
    drawing_notes = DrawingNotes{"", "", groups.declared, unit_in_use(groups.declared),
                                 groups.passed, closed_open, groups.text_fonts.replaced()};
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
        // What a job on it is made from, so that a stopped one is carried on
        // only on the same drawing.
        std::string content, why;
        constexpr std::size_t kWhole = std::size_t{1} << 32;
        drawing_notes.digest = read_small_file(path, kWhole, content, why) ? digest(content) : "";
        return DrawingLoad::loaded;
    }
    return dxf.read_errno != 0 ? DrawingLoad::read_failed : DrawingLoad::refused;
}
