#pragma once
#include <cstdio>
#include <string>

#include "import/groups.h"
#include "import/lines.h"

// The DXF reader. Its line scanner reads a DXF drawing line by line and
// turns every POLYLINE with its VERTEX entities into one figure of the shape
// tables, exactly as drawings have always been read (a spline frame control
// point left out); the group reader (import/groups.h) sees the same lines
// and adds the other outlines and chains, each figure in the drawing's order.
// Everything else in the file is passed over.

// What the reader knows of the loaded drawing besides its figures.
struct DrawingNotes {
    std::string path;  // the file it came from, when load_drawing read it
    std::string digest;  // of that file's content as it was read
    DrawingUnit declared = DrawingUnit::inch;
    DrawingUnit in_use = DrawingUnit::inch;
    PassedEntities passed;
    int closed_open = 0;  // POLYLINEs not marked closed that Close Figure closed
    std::string fonts_replaced;  // the text styles' fonts read in a close match, for the operator
};

extern DrawingNotes drawing_notes;

void reset_dxf();

// Reads lines from the file being read (through `block`) until `count`
// lines have been taken. Every line is examined the same way, code or
// value: its first word goes to `tokens`; "10", "20", "42" set `vtype`, "70"
// sets `closed`, "30" takes the Z value and the line after it into the same
// call, and the line after a "5" (the entity handle) is read without being
// examined.
void get_data(int count);

// Reads the open drawing `fh` from its position to the end and rebuilds the
// shape tables with figure 1 selected. (What else a new drawing resets is
// load_new_drawing's: planning/new_drawing.h.) A drawing that is no DXF, is
// cut short, holds a value that is not a number or a shape that cannot be
// followed, needs more shape entries than there are, holds a point beyond
// kDrawingLimit (import/limits.h) or no outline at all is refused with a
// notice for the operator, and a file that cannot be read to its end
// (dxf.read_errno) is not taken; the tables and everything else then stay as
// they were. True when loaded.
bool load_array(FILE* fh);

// The middle point of the arc from (x1, y1) to (x2, y2) with `bulge`, as
// the shape tables keep it.
struct ArcMiddle {
    float x, y;
};
ArcMiddle arc_middle(float x1, float y1, float x2, float y2, double bulge);
// The same before it is rounded to floats.
struct ArcMiddleExact {
    double x, y;
};
ArcMiddleExact arc_middle_exact(float x1, float y1, float x2, float y2, double bulge);

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

// Why a drawing that passes over `passed` has no figure, for the operator;
// `per_inch` drawing units to the inch.
std::string no_outline(const PassedEntities& passed, double per_inch);

// When the loaded drawing declares millimetres or centimetres but is read in
// inches: what that means and where to change it. Empty otherwise.
std::string units_hint();

// How many POLYLINEs not marked closed Close Figure closed in the loaded
// drawing, for the operator; empty for none.
std::string closed_note();

// The fonts of the drawing's TEXT and MTEXT that are not installed and the
// close matches they were read in ("fonts not installed: romans.shx read
// as DejaVu Sans"); empty for none.
std::string fonts_note();

// For the status line: the unit the drawing is read in, the open outlines
// closed and the outlines left out; with no drawing loaded, how drawings are
// read.
std::string drawing_status();
