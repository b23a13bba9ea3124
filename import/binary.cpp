#include "import/binary.h"

#include <cerrno>
#include <charconv>
#include <cstdint>
#include <cstring>

#include "platform/text.h"

FileKind file_kind(const char* first, std::size_t n) {
    if (n >= kBinarySentinelSize &&
        std::memcmp(first, kBinarySentinel, kBinarySentinelSize) == 0)
        return FileKind::binary_dxf;
    // A DWG drawing starts with its version: AC1012 ... AC1032, AC1.50, AC2.10.
    if (n >= 4 && (std::memcmp(first, "AC10", 4) == 0 || std::memcmp(first, "AC1.", 4) == 0 ||
                   std::memcmp(first, "AC2.", 4) == 0))
        return FileKind::dwg;
    if (std::memchr(first, '\0', n)) return FileKind::other_binary;
    return FileKind::text;
}

namespace {

enum class Type { string, real, int16, int32, int64, byte, chunk, none };

// The type of a group's value, by its code, as ASCII DXF decides it too.
Type type_of(int code) {
    struct Range {
        int from, to;
        Type type;
    };
    static constexpr Range kRanges[] = {
        {0, 9, Type::string},       {10, 59, Type::real},       {60, 79, Type::int16},
        {90, 99, Type::int32},      {100, 102, Type::string},   {105, 105, Type::string},
        {110, 149, Type::real},     {160, 169, Type::int64},    {170, 179, Type::int16},
        {210, 239, Type::real},     {270, 279, Type::int16},    {280, 299, Type::byte},
        {300, 309, Type::string},   {310, 319, Type::chunk},    {320, 369, Type::string},
        {370, 389, Type::int16},    {390, 399, Type::string},   {400, 409, Type::int16},
        {410, 419, Type::string},   {420, 429, Type::int32},    {430, 439, Type::string},
        {440, 459, Type::int32},    {460, 469, Type::real},     {470, 481, Type::string},
        {999, 999, Type::string},   {1000, 1003, Type::string}, {1004, 1004, Type::chunk},
        {1005, 1009, Type::string}, {1010, 1059, Type::real},   {1060, 1070, Type::int16},
        {1071, 1071, Type::int32},
    };
    for (const Range& r : kRanges)
        if (code >= r.from && code <= r.to) return r.type;
    return Type::none;
}

// A double as ASCII DXF writes one: the shortest text that reads back as
// it, always with a point or an exponent, so that no value reads as a code.
void put_real(std::string& out, double v) {
    char text[40];
    auto r = std::to_chars(text, text + sizeof text, v);
    std::string_view s(text, static_cast<std::size_t>(r.ptr - text));
    out += s;
    if (s.find_first_of(".en") == std::string_view::npos) out += ".0";
}

uint64_t little_endian(const unsigned char* p, int bytes) {
    uint64_t v = 0;
    for (int i = bytes - 1; i >= 0; --i) v = v << 8 | p[i];
    return v;
}

// The longest string or binary chunk taken; longer ones are no DXF's.
constexpr std::size_t kLongestValue = 8192;

}  // namespace

void BinaryGroups::start(FILE* fh, bool one_byte_codes, const char* first, std::size_t n) {
    *this = BinaryGroups{};
    fh_ = fh;
    one_byte_ = one_byte_codes;
    offset_ = static_cast<long long>(kBinarySentinelSize);
    raw_.assign(first, first + n);
}

bool BinaryGroups::have(std::size_t n) {
    if (raw_.size() - at_ >= n) return true;
    if (file_ended_) return false;
    raw_.erase(raw_.begin(), raw_.begin() + static_cast<std::ptrdiff_t>(at_));
    offset_ += static_cast<long long>(at_);
    at_ = 0;
    std::size_t want = std::max<std::size_t>(n, 65536);
    std::size_t had = raw_.size();
    raw_.resize(had + want);
    errno = 0;
    std::size_t got = std::fread(raw_.data() + had, 1, want, fh_);
    raw_.resize(had + got);
    if (got < want) {
        file_ended_ = true;
        if (std::ferror(fh_)) read_errno_ = errno != 0 ? errno : EIO;
    }
    return raw_.size() - at_ >= n;
}

bool BinaryGroups::pair(std::string& out) {
    long long where = offset_ + static_cast<long long>(at_);
    auto broken = [&](const char* what) {
        fault_ = strprintf("the binary drawing %s at byte %lld", what, where);
        return false;
    };
    int code_bytes = one_byte_ ? 1 : 2;
    if (!have(static_cast<std::size_t>(code_bytes))) {
        ended_ = raw_.size() == at_ && read_errno_ == 0;
        return ended_ ? false : broken("breaks off");
    }
    int code = static_cast<int>(little_endian(&raw_[at_], code_bytes));
    at_ += static_cast<std::size_t>(code_bytes);
    if (one_byte_ && code == 255) {
        if (!have(2)) return broken("breaks off");
        code = static_cast<int>(little_endian(&raw_[at_], 2));
        at_ += 2;
    }
    if (!one_byte_) code = static_cast<int16_t>(code);
    Type type = type_of(code);
    if (type == Type::none)
        return broken(strprintf("holds group code %d, which no DXF drawing has,", code).c_str());
    out += strprintf("%3d\n", code);
    auto number = [&](int bytes) -> bool {
        if (!have(static_cast<std::size_t>(bytes))) return false;
        uint64_t v = little_endian(&raw_[at_], bytes);
        at_ += static_cast<std::size_t>(bytes);
        switch (type) {
        case Type::real: {
            double d;
            std::memcpy(&d, &v, sizeof d);
            put_real(out, d);
            break;
        }
        case Type::int16: out += strprintf("%6d", static_cast<int16_t>(v)); break;
        case Type::int32: out += strprintf("%6d", static_cast<int32_t>(v)); break;
        case Type::int64: out += strprintf("%lld", static_cast<long long>(v)); break;
        default: out += strprintf("%6d", static_cast<int>(v)); break;
        }
        out += '\n';
        return true;
    };
    switch (type) {
    case Type::real: return number(8) || broken("breaks off");
    case Type::int16: return number(2) || broken("breaks off");
    case Type::int32: return number(4) || broken("breaks off");
    case Type::int64: return number(8) || broken("breaks off");
    case Type::byte: return number(1) || broken("breaks off");
    case Type::chunk: {
        if (!have(1)) return broken("breaks off");
        std::size_t n = raw_[at_++];
        if (!have(n)) return broken("breaks off");
        static constexpr char kHex[] = "0123456789ABCDEF";
        for (std::size_t i = 0; i < n; ++i) {
            out += kHex[raw_[at_ + i] >> 4];
            out += kHex[raw_[at_ + i] & 15];
        }
        at_ += n;
        out += '\n';
        return true;
    }
    case Type::string: {
        have(kLongestValue + 1);
        const unsigned char* s = raw_.data() + at_;
        std::size_t left = raw_.size() - at_;
        const void* nul = std::memchr(s, '\0', std::min(left, kLongestValue + 1));
        if (!nul) return broken(left > kLongestValue ? "holds a text too long" : "breaks off");
        std::size_t n = static_cast<const unsigned char*>(nul) - s;
        for (std::size_t i = 0; i < n; ++i)
            out += s[i] == '\n' || s[i] == '\r' ? ' ' : static_cast<char>(s[i]);
        at_ += n + 1;
        out += '\n';
        return true;
    }
    case Type::none: break;
    }
    return false;
}

bool BinaryGroups::text(std::string& out, std::size_t want) {
    while (out.size() < want && !ended_) {
        if (!pair(out)) return ended_;
    }
    return true;
}
