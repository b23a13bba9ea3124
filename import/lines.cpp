#include "import/lines.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "import/groups.h"

DxfReader dxf;

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

// The first word of the line [p, end); empty for a line without one. A NUL
// ends the line.
std::string_view first_word(const char* p, const char* end) {
    while (p < end && kind(*p) == kSpace) ++p;
    const char* w = p;
    while (p < end && kind(*p) == kWordChar) ++p;
    return {w, static_cast<std::size_t>(p - w)};
}

// Fills `wanted` characters at `to` from the file, or from a binary
// drawing's text; the number taken.
std::size_t take_in(char* to, std::size_t wanted) {
    auto& r = dxf;
    if (r.kind != FileKind::binary_dxf) return std::fread(to, 1, wanted, r.fh);
    if (r.decoded.size() < wanted && !r.binary.ended()) r.binary.text(r.decoded, 2 * wanted);
    std::size_t n = std::min(wanted, r.decoded.size());
    std::memcpy(to, r.decoded.data(), n);
    r.decoded.erase(0, n);
    return n;
}

// Keeps the unread rest of the block and fills the block up behind it.
void refill() {
    auto& r = dxf;
    std::size_t rest = r.block_end - r.block_start;
    std::memmove(r.block.data(), r.block.data() + r.block_start, rest);
    std::size_t wanted = r.block.size() - rest;
    errno = 0;
    std::size_t got = r.fh ? take_in(r.block.data() + rest, wanted) : 0;
    r.block_start = 0;
    r.block_end = rest + got;
    r.file_ended = got < wanted;
    if (r.file_ended && r.fh && std::ferror(r.fh)) r.read_errno = errno != 0 ? errno : EIO;
    if (r.file_ended && r.binary.read_errno() != 0) r.read_errno = r.binary.read_errno();
}

}  // namespace

void start_reading(FILE* fh, double join_tolerance) {
    auto& r = dxf;
    r.fh = fh;
    r.block_start = r.block_end = 0;
    r.file_ended = false;
    r.read_errno = 0;
    r.decoded.clear();
    r.kind = FileKind::text;
    start_groups(join_tolerance);
    refill();
    r.kind = file_kind(r.block.data(), r.block_end);
    if (r.kind != FileKind::binary_dxf) return;
    // R12 writes one-byte codes: its first pair is a 0 of one byte, then "SECTION".
    bool one_byte = r.block_end > kBinarySentinelSize + 1 && r.block[kBinarySentinelSize + 1] != 0;
    std::fseek(fh, static_cast<long>(kBinarySentinelSize), SEEK_SET);
    r.binary.start(fh, one_byte);
    r.block_start = r.block_end = 0;
    r.file_ended = false;
    refill();
}

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
    r.word = first_word(p, p + n);
    r.block_start += n;
    groups.take(r.word, nl != nullptr);
}
