#pragma once
#include <cstddef>
#include <cstdio>
#include <string>
#include <vector>

// Binary DXF: after its sentinel, pairs of a group code (two bytes, least
// significant first; one byte before Release 13, where 255 brings a
// two-byte code) and a value whose type the code decides. The reader takes
// it as the text of the ASCII DXF that holds the same pairs: each code
// right-justified in three characters, each value on its own line as ASCII
// DXF writes it, so that every line is read as it would be read there.

inline constexpr char kBinarySentinel[] = "AutoCAD Binary DXF\r\n\x1a";  // and a NUL
inline constexpr std::size_t kBinarySentinelSize = 22;

// What a file is, from its first bytes.
enum class FileKind { text, binary_dxf, dwg, other_binary };
FileKind file_kind(const char* first, std::size_t n);

class BinaryGroups {
public:
    // `first` holds the `n` bytes after the sentinel already read from `fh`.
    void start(FILE* fh, bool one_byte_codes, const char* first, std::size_t n);
    // Appends the text of whole pairs to `out` until it holds at least
    // `want` characters or the file has ended. False when the file breaks
    // off inside a pair or holds a code the format does not have (`fault`
    // says which), or cannot be read (errno kept in `read_errno`).
    bool text(std::string& out, std::size_t want);
    bool ended() const { return ended_; }
    const std::string& fault() const { return fault_; }
    int read_errno() const { return read_errno_; }

private:
    bool have(std::size_t n);
    bool pair(std::string& out);

    FILE* fh_ = nullptr;
    bool one_byte_ = false;
    std::vector<unsigned char> raw_;
    std::size_t at_ = 0;
    bool file_ended_ = false, ended_ = false;
    long long offset_ = 0;  // of raw_[0] in the file
    std::string fault_;
    int read_errno_ = 0;
};
