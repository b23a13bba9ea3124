#include "import/dxf.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <charconv>
#include <cstdint>
#include <cstring>

#include "import/limits.h"
#include "import/shapes.h"
#include "platform/files.h"
#include "platform/text.h"
#include "records/job.h"
#include "records/notice.h"
#include "records/settings.h"

DxfReader dxf;
PassedEntities passed_over;

void reset_dxf() {
    dxf = DxfReader{};
    passed_over = PassedEntities{};
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

bool token_is(const char* word) { return std::strcmp(dxf.tokens, word) == 0; }

template <std::size_t N>
bool tokens_begin_with(const char (&word)[N]) {
    return dxf.token_length >= int{N - 1} && std::memcmp(dxf.tokens, word, N - 1) == 0;
}

// The first word of the line [p, end) into `tokens`; a line without one
// leaves `tokens` as it was. False for such a line. A NUL ends the line.
bool take_word(const char* p, const char* end) {
    while (p < end && kind(*p) == kSpace) ++p;
    if (p == end || kind(*p) == kEnd) return false;
    const char* stop = p + std::min<std::ptrdiff_t>(23, end - p);
    int n = 0;
    do dxf.tokens[n++] = *p++;
    while (p < stop && kind(*p) == kWordChar);
    dxf.tokens[n] = '\0';
    dxf.token_length = n;
    return true;
}

// `tokens` as a number, as formatted scanning reads it; nothing changes when
// it is none. Plain decimal numbers, nearly all a drawing holds, take the
// fast way; the same value comes out either way (both round to nearest).
template <typename T>
void scan_tokens(T& v) {
    const char* t = dxf.tokens;
    const char* end = t + dxf.token_length;
    const char* digits = t + (t[0] == '-');
    bool plain = (*digits >= '0' && *digits <= '9') || *digits == '.';
    bool hex = digits[0] == '0' && (digits[1] == 'x' || digits[1] == 'X');
    if (plain && !hex) {
        T x;
        if (std::from_chars(t, end, x).ec == std::errc{}) {
            v = x;
            return;
        }
    }
    scan_one(t, v);
}

void count_passed_entity() {
    if (token_is("LWPOLYLINE")) ++passed_over.lwpolyline;
    else if (token_is("LINE")) ++passed_over.line;
    else if (token_is("ARC")) ++passed_over.arc;
    else if (token_is("CIRCLE")) ++passed_over.circle;
}

void start_reading() {
    dxf.block_start = dxf.block_end = 0;
    dxf.file_ended = false;
}

// Keeps the unread rest of the block and fills the block up behind it.
void refill() {
    auto& r = dxf;
    std::size_t rest = r.block_end - r.block_start;
    std::memmove(r.block.data(), r.block.data() + r.block_start, rest);
    std::size_t wanted = r.block.size() - rest;
    std::size_t got = r.fh ? std::fread(r.block.data() + rest, 1, wanted, r.fh) : 0;
    r.block_start = 0;
    r.block_end = rest + got;
    r.file_ended = got < wanted;
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
    if (const void* nl = std::memchr(p, '\n', n)) n = static_cast<const char*>(nl) - p + 1;
    r.data = p;
    r.line_end = p + n;
    r.block_start += n;
}

}  // namespace

void get_data(int count) {
    dxf.vtype = 0;
    long long left = count;  // each "30" adds two: no overflow however many
    while (left != 0) {
        read_line();
        if (!dxf.data) return;
        if (take_word(dxf.data, dxf.line_end)) {
            if (dxf.after_zero) count_passed_entity();
            dxf.after_zero = dxf.token_length == 1 && dxf.tokens[0] == '0';
        }
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

// The state load_array carries from vertex to vertex. Every write into the
// entry tables is checked against their size; past it the reader only goes
// on counting, so that a refusal can say how many entries the drawing needs.
struct Reader {
    float sx = 0.0f, sy = 0.0f;
    int s = 0;            // 1 once the current figure has a vertex
    int varc = 0;         // 1 when the previous vertex carried a bulge
    int close_entry = 0;  // entry of the current figure's first element
    float first_x = 0.0f, first_y = 0.0f;  // the figure's first vertex, as stored
    float last_x = 0.0f, last_y = 0.0f;    // its latest vertex, as stored
    int objects = 0;

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

    // Reads items until `vtype` is `code`, then the value after it.
    // False when the file ends first.
    bool read_value(int code, float& v) {
        while (dxf.vtype != code) {
            get_data(1);
            if (!dxf.data) return false;
        }
        get_data(1);
        if (!dxf.data) return false;
        scan_tokens(v);
        return true;
    }

    // At a VERTEX keyword. False when the file ends before its Y value: the
    // vertex is then dropped.
    bool vertex() {
        if (!read_value(1, sx) || !read_value(2, sy)) return false;
        if (s == 1) complete(sx, sy);
        get_data(1);
        varc = 0;
        if (dxf.vtype == 3) {
            get_data(1);
            if (dxf.data) {
                varc = 1;
                scan_tokens(dxf.spoint);
            }
        }
        if (dxf.fp < kShapeEntries) {
            shapes.p1[dxf.fp] = sx;
            shapes.p2[dxf.fp] = sy;
        }
        if (s == 0) first_x = sx, first_y = sy;
        last_x = sx;
        last_y = sy;
        s = 1;
        return true;
    }

    // At a POLYLINE keyword and at the end of the file. A figure marked closed
    // whose last vertex is not its first gets a closing element when the
    // operator's setting asks for it. A polyline of fewer than two vertices
    // makes no figure and is not counted.
    void end_figure() {
        if (dxf.fp > close_entry) {
            if (dxf.closed == 1 && settings.closed_figure == 1 &&
                (last_x != first_x || last_y != first_y))
                complete(first_x, first_y);
            advance();
            ++objects;
        } else if (s == 1 && dxf.fp < kShapeEntries) {
            shapes.p1[dxf.fp] = 0.0f;
            shapes.p2[dxf.fp] = 0.0f;
        }
        close_entry = dxf.fp;
        s = 0;
    }
};

void clear_entries() {
    for (auto* t : {&shapes.p1, &shapes.p2, &shapes.p3, &shapes.p4, &shapes.p5, &shapes.p6})
        t->fill(0.0f);
    shapes.tp.fill(0);
    shapes.points.fill(PTS{0, 0});
}

std::string too_many_entries(int needed) {
    return strprintf("The drawing was not loaded: it needs %d shape table entries (one for "
                     "each line or arc, one more for each figure and one at the end) and %d "
                     "fit.",
                     needed, kShapeEntries);
}

}  // namespace

bool load_array() {
    static ShapeTables before;  // put back when the drawing is refused
    before = shapes;
    PassedEntities passed_before = passed_over;
    passed_over = PassedEntities{};
    clear_entries();

    Reader r;
    start_reading();
    dxf.after_zero = false;
    get_data(1);
    shapes.selected = 0;
    shapes.objects = 0;
    dxf.fp = 0;
    dxf.closed = 0;
    while (dxf.data) {
        if (tokens_begin_with("VERTEX") && !r.vertex()) break;
        get_data(1);
        if (dxf.data && tokens_begin_with("POLYLINE")) {
            r.end_figure();
            dxf.closed = 0;
        }
    }
    r.end_figure();

    int needed = dxf.fp + 1;
    std::string refused =
        needed > kShapeEntries ? too_many_entries(needed) : drawing_limit_fault(dxf.fp);
    if (!refused.empty()) {
        shapes = before;
        passed_over = passed_before;
        notice(refused);
        return false;
    }
    shapes.tp[dxf.fp] = kTableEnd;
    shapes.objects = r.objects;
    plot();
    shapes.selected = 1;
    job.toggle = 1;
    shapes.PointsLoaded = 1;
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
    dxf.fh = f;
    bool loaded = load_array();
    std::fclose(f);
    dxf.fh = nullptr;
    return loaded ? DrawingLoad::loaded : DrawingLoad::refused;
}

std::string no_figures_hint() {
    if (shapes.objects > 0) return "";
    const PassedEntities& p = passed_over;
    if (p.lwpolyline > 0)
        return strprintf("The drawing has no POLYLINE but %d LWPOLYLINE: it was saved as "
                         "LWPOLYLINE; save it as R12 POLYLINE.",
                         p.lwpolyline);
    if (p.line + p.arc + p.circle > 0)
        return strprintf("The drawing has no POLYLINE but %d LINE, %d ARC and %d CIRCLE: join "
                         "each outline into one polyline and save it as R12 POLYLINE.",
                         p.line, p.arc, p.circle);
    return "The drawing has no POLYLINE with two or more vertices.";
}
