#include "import/lines.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "import/groups.h"

DxfReader dxf;

namespace {

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

}  // namespace

void refill() {
    auto& r = dxf;
    // The word last examined lies in the part of the block that goes.
    if (r.tokens >= r.block.data() && r.tokens < r.block.data() + r.block.size()) {
        std::memcpy(r.kept, r.tokens, static_cast<std::size_t>(r.word_length));
        r.tokens = r.kept;
    }
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

void start_reading(FILE* fh, double join_tolerance) {
    auto& r = dxf;
    r.fh = fh;
    r.block_start = r.block_end = 0;
    r.file_ended = false;
    r.read_errno = 0;
    r.decoded.clear();
    r.tokens = "";
    r.token_length = r.word_length = 0;
    r.kind = FileKind::text;
    start_groups(join_tolerance);
    refill();
    r.kind = file_kind(r.block.data(), r.block_end);
    if (r.kind != FileKind::binary_dxf) return;
    // R12 writes one-byte codes: its first pair is a 0 of one byte, then "SECTION".
    bool one_byte = r.block_end > kBinarySentinelSize + 1 && r.block[kBinarySentinelSize + 1] != 0;
    r.binary.start(fh, one_byte, r.block.data() + kBinarySentinelSize,
                   r.block_end - kBinarySentinelSize);
    r.block_start = r.block_end = 0;
    r.file_ended = false;
    refill();
}

