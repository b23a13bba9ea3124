#pragma once
#include <array>
#include <cstdio>
#include <string>

#include "import/groups.h"

// The DXF reader. Its line scanner reads an ASCII DXF drawing line by line
// and turns every POLYLINE with its VERTEX entities into one figure of the
// shape tables, exactly as drawings have always been read; the group reader
// (import/groups.h) sees the same lines and adds the LWPOLYLINE outlines,
// the closed chains of LINE and ARC and the CIRCLEs, each figure in the
// drawing's order. Everything else in the file is passed over.

// Each read takes one line, up to and including its line end, but never more
// than 127 characters: the rest of a longer line comes as lines of its own.
inline constexpr std::size_t kMaxRead = 127;

struct DxfReader {
    FILE* fh = nullptr;          // the drawing being read, from start_reading to the end
    const char* data = nullptr;  // the last line read, in `block`; null once the file has ended
    const char* line_end = nullptr;
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
};

extern DxfReader dxf;

// What the reader knows of the loaded drawing besides its figures.
struct DrawingNotes {
    std::string path;  // the file it came from, when load_drawing read it
    DrawingUnit declared = DrawingUnit::inch;
    DrawingUnit in_use = DrawingUnit::inch;
    PassedEntities passed;
};

extern DrawingNotes drawing_notes;

void reset_dxf();

// Starts reading lines from the open file `fh`, from its position.
void start_reading(FILE* fh);

// Reads lines from the file being read (through `block`) until `count`
// lines have been taken. Every line is
// examined the same way, code or value: its first word goes to `tokens`;
// "10", "20", "42" set `vtype`, "70" sets `closed`, "30" takes the Z value
// and the line after it into the same call, and the line after a "5" (the
// entity handle) is read without being examined.
void get_data(int count);

// Reads the open drawing `fh` from its position to the end and rebuilds the
// shape tables with figure 1 selected. (What else a new drawing resets is
// load_new_drawing's: planning/new_drawing.h.) A drawing that needs more shape
// entries than there are, or holds a point that is not a number or lies
// beyond kDrawingLimit (import/limits.h), is refused with a notice for the
// operator, and a file that cannot be read to its end (dxf.read_errno) is not
// taken; the tables and everything else then stay as they were. True when loaded.
bool load_array(FILE* fh);

// Completes the arc element at entry `fp` (start p1,p2, end p5,p6, bulge
// `dxf.spoint`) with the middle point of the arc in p3,p4.
void polyarc(int fp);

enum class DrawingLoad { loaded, not_opened, refused, read_failed };

// Opens the drawing at `path` ("r+b", or read-only when the file may not be
// written), reads it with load_array and closes it. Only `loaded` changes
// anything: `not_opened` leaves errno set, `refused` has told the operator
// why, `read_failed` leaves the reason in dxf.read_errno. Only a regular file
// is opened: a folder, device or named pipe is refused.
DrawingLoad load_drawing(const std::string& path);

// Why a drawing that passes over `passed` has no figure, for the operator.
std::string no_outline(const PassedEntities& passed);

// When the loaded drawing declares millimetres or centimetres but is read in
// inches: what that means and where to change it. Empty otherwise.
std::string units_hint();

// For the status line: the unit the drawing is read in and the outlines left
// out; with no drawing loaded, how drawings are read.
std::string drawing_status();
