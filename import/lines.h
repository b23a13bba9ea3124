#pragma once
#include <array>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <string_view>

#include "import/binary.h"
#include "import/groups.h"

// The lines of a drawing file, as a read of at most 127 characters takes
// each (the rest of a longer line comes as lines of their own), taken from
// large blocks of the file; a binary DXF comes as the text of its ASCII twin.
// Every line goes to the group reader with its first word, and the line
// scanner takes it from there (import/dxf.h).

inline constexpr std::size_t kMaxRead = 127;

struct DxfReader {
    FILE* fh = nullptr;          // the drawing being read, from start_reading to the end
    const char* data = nullptr;  // the last line read, in `block`; null once the file has ended
    const char* line_end = nullptr;
    std::string_view word;       // its first word; empty when it has none
    // The first word of the last line examined: in the block, or in `kept`
    // once the block has moved on.
    const char* tokens = "";
    int token_length = 0;    // its first 23 characters at most: what codes are matched on
    int word_length = 0;     // all of it: what values are read from
    char kept[kMaxRead + 1] = {};
    int vtype = 0;           // code seen by the last get_data: 0 none, 1 "10", 2 "20", 3 "42"
    int closed = 0;          // 1 once a "70" line has been seen in the current polyline
    double spoint = 0.0;     // the last bulge read
    int fp = 0;              // write position: the entry whose start point is the latest vertex

    // The file is read in large blocks and its lines are taken from there.
    std::array<char, 65536> block{};
    std::size_t block_start = 0, block_end = 0;
    bool file_ended = false;
    int read_errno = 0;      // the reason when reading the file failed, else 0
    FileKind kind = FileKind::text;
    BinaryGroups binary;     // a binary DXF's pairs
    std::string decoded;     // their text not yet in `block`
};

extern DxfReader dxf;

// Starts reading lines from the open file `fh`, from its position, and
// tells what kind of file it is (dxf.kind). `join_tolerance` is for the group
// reader, in inches.
void start_reading(FILE* fh, double join_tolerance);

// Keeps the unread rest of the block and fills the block up behind it.
void refill();

// What a character does to a word: ends the line, separates, or belongs to it.
enum CharKind : unsigned char { kEnd, kSpace, kWordChar };

inline constexpr std::array<CharKind, 256> kCharKinds = [] {
    std::array<CharKind, 256> k{};
    k.fill(kWordChar);
    k[0] = kEnd;
    for (unsigned char c : {' ', '\t', '\n', '\v', '\f', '\r'}) k[c] = kSpace;
    return k;
}();

inline CharKind char_kind(char c) { return kCharKinds[static_cast<unsigned char>(c)]; }

// The characters of code 32 or below that end a word: NUL, the blanks and
// the line ends.
inline constexpr uint64_t kWordEnds = 1ull << 0 | 1ull << '\t' | 1ull << '\n' | 1ull << '\v' |
                                      1ull << '\f' | 1ull << '\r' | 1ull << ' ';

// Where the word starting at `q` ends, `limit` at the latest. Eight
// characters at a time are looked at for one of code 32 or below; the rare
// ones of those that belong to a word are stepped over one by one.
inline const char* word_end(const char* q, const char* limit) {
    for (;;) {
        while (q + 8 <= limit) {
            uint64_t x;
            std::memcpy(&x, q, 8);
            uint64_t low = (x - 0x2121212121212121ull) & ~x & 0x8080808080808080ull;
            if (low != 0) {
                q += std::countr_zero(low) / 8;
                break;
            }
            q += 8;
        }
        if (q + 8 > limit) break;
        if (kWordEnds >> static_cast<unsigned char>(*q) & 1) return q;
        ++q;
    }
    while (q < limit && char_kind(*q) == kWordChar) ++q;
    return q;
}

// The next line into dxf.data (null at the end of the file), dxf.line_end
// and dxf.word (its first word; a NUL ends the line), handed to the group
// reader as well.
inline void read_line() {
    auto& r = dxf;
    if (r.block_end - r.block_start < kMaxRead && !r.file_ended) refill();
    std::size_t n = r.block_end - r.block_start;
    if (n > kMaxRead) n = kMaxRead;
    if (n == 0) {
        r.data = nullptr;
        return;
    }
    const char* p = r.block.data() + r.block_start;
    const char* limit = p + n;
    const char* q = p;
    while (q < limit && *q == ' ') ++q;
    while (q < limit && char_kind(*q) == kSpace && *q != '\n') ++q;
    const char* w = q;
    q = word_end(q, limit);
    r.word = std::string_view(w, static_cast<std::size_t>(q - w));
    // The line ends at its first line feed, which no word holds.
    const char* nl = nullptr;
    if (q < limit && *q == '\n') nl = q;
    else if (q + 1 < limit && *q == '\r' && q[1] == '\n') nl = q + 1;
    else if (q < limit) nl = static_cast<const char*>(std::memchr(q, '\n', limit - q));
    if (nl) n = static_cast<std::size_t>(nl - p) + 1;
    r.data = p;
    r.line_end = p + n;
    r.block_start += n;
    groups.line = std::string_view(p, n);
    groups.take(r.word, nl != nullptr);
}
