#pragma once
#include <array>
#include <cstddef>
#include <cstdio>
#include <string>
#include <string_view>

#include "import/binary.h"

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
    char tokens[kMaxRead + 1] = {};  // first word of the last line examined
    int token_length = 0;    // its first 23 characters at most: what codes are matched on
    int word_length = 0;     // all of it: what values are read from
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

// The next line into dxf.data (null at the end of the file), dxf.line_end
// and dxf.word, handed to the group reader as well.
void read_line();
