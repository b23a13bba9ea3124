#pragma once
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "records/units.h"

// The drawing read as the format defines it: pairs of a group-code line and
// a value line. This reader sees every line the polyline reader reads, in
// the same order, and collects what that reader does not take: LWPOLYLINE
// outlines, LINE and ARC entities (joined into chains at the end) and
// CIRCLEs of the ENTITIES section, the drawing's declared unit, and counts
// of the entities that are still passed over.

// A vertex of an outline, in the drawing's own units; `bulge` belongs to the
// segment that starts here and makes it an arc when `arc` is set.
struct OutlineVertex {
    double x, y;
    double bulge;
    bool arc;
};

// A figure to be: `count` vertices from `first` in GroupReader::vertices.
// `key` is the drawing's entity count where the figure first appeared, so
// that figures keep the drawing's order. Chains and circles are turned to
// run the way outer outlines and counters run (`by_nesting`); polylines stay
// as drawn.
struct Outline {
    int key;
    int first, count;
    bool closed;
    bool by_nesting;
};

// A LINE or ARC entity between two points; an arc carries the bulge of its
// sweep from (x0, y0) to (x1, y1).
struct Segment {
    double x0, y0, x1, y1;
    double bulge;
    int key;
    bool line;
};

// Ends that lie this close (in drawing units) are joined.
inline constexpr double kJoinTolerance = 0.0005;

// Entities the reader passes over, counted in the ENTITIES section.
struct PassedEntities {
    int spline = 0;
    int ellipse = 0;
    int hatch = 0;
    int text = 0;         // TEXT and MTEXT
    int insert = 0;       // INSERT of a block
    int open_chains = 0;  // chains of LINE and ARC that do not close
};

// The first value a reader needed that is not a number: the drawing is
// refused, naming the figure it belongs to by where that figure would stand.
struct ValueFault {
    bool found = false;
    int key = 0;              // the key the figure would have (see Outline)
    int vertex = 0;           // from 1; 0 when the value is no vertex's
    const char* entity = "";  // "" for a vertex of a polyline, else "a LINE", ...
    const char* what = "";    // "a coordinate", "a bulge", ...
    std::string word;         // the value as the file has it
};

// The values of the entity being read, by their group codes.
struct EntityFields {
    double x = 0.0, y = 0.0;    // 10, 20: a LINE's start, an ARC's or CIRCLE's centre
    double x1 = 0.0, y1 = 0.0;  // 11, 21: a LINE's end
    double radius = 0.0;        // 40
    double start_angle = 0.0, end_angle = 0.0;  // 50, 51: an ARC's, in degrees
    double extrusion_z = 1.0;   // 230: negative when the entity is drawn mirrored
    int flags = 0;              // 70: an LWPOLYLINE's; bit 1 closed
};

struct GroupReader {
    enum class Section : unsigned char { none, header, entities, other };
    enum class Kind : unsigned char { none, lwpolyline, line, arc, circle };

    // Pairing of the lines.
    bool value_next = false;  // the next line is a value line
    bool continuing = false;  // the next read continues a line longer than one read
    int code = 0;             // the group code of the current pair
    bool wanted = false;      // values other than those of code 0 are looked at

    Section section = Section::none;
    bool naming_section = false;  // after "0 SECTION": its "2" pair names it
    int header_variable = 0;      // 1 after "9 $INSUNITS", 2 after "9 $MEASUREMENT"
    int insunits = -1, measurement = -1;
    DrawingUnit declared = DrawingUnit::inch;
    double per_inch = 1.0;  // drawing units in one inch, for the unit in use

    int ordinal = 0;  // "0" pairs so far: the entity being read is this one
    Kind kind = Kind::none;
    int entity_key = 0;
    EntityFields fields;   // of the entity being read
    int first_vertex = 0;  // its first vertex in `vertices` (LWPOLYLINE)

    std::vector<OutlineVertex> vertices;
    std::vector<Outline> outlines;
    std::vector<Segment> segments;
    PassedEntities passed;
    ValueFault fault;
    bool ended = false;  // the "0 EOF" pair has been read

    // One read of the line scanner: `n` characters at `p`, `whole` when they
    // end the line.
    void take(const char* p, std::size_t n, bool whole) {
        if (continuing) {
            continuing = !whole;
            return;
        }
        continuing = !whole;
        if (!value_next) {
            code = wanted ? group_code(p, n) : zero_or_other(p, n);
            value_next = true;
            return;
        }
        value_next = false;
        if (code == 0 || wanted) take_value(p, n);
    }

    // 0 for a "0" code line, else -1: all that matters between the entities
    // and sections this reader reads. The usual forms are told at a glance.
    static int zero_or_other(const char* p, std::size_t n) {
        const char* end = p + n;
        const char* q = p;
        while (q < end && *q == ' ') ++q;
        if (q < end && *q >= '1' && *q <= '9') return -1;
        if (q < end && *q == '0' && (q + 1 == end || q[1] < '0' || q[1] > '9')) return 0;
        return group_code(p, n) == 0 ? 0 : -1;
    }

    // The code of a group-code line; one that holds no number takes nothing.
    static int group_code(const char* p, std::size_t n) {
        const char* end = p + n;
        while (p < end && (*p == ' ' || *p == '\t')) ++p;
        bool minus = p < end && *p == '-';
        if (minus) ++p;
        if (p == end || *p < '0' || *p > '9') return -10000;
        int v = 0;
        for (int digits = 0; p < end && *p >= '0' && *p <= '9' && digits < 6; ++p, ++digits)
            v = v * 10 + (*p - '0');
        return minus ? -v : v;
    }
    void take_value(const char* p, std::size_t n);
    void entity_value(const char* p, std::size_t n);
    void lwpolyline_value(std::string_view word);
    void entity_fault(std::string_view word);
};

extern GroupReader groups;

// Keeps the first value that is not a number.
void note_value_fault(int key, int vertex, const char* entity, const char* what,
                      std::string_view word);

// Before the first line of a drawing.
void start_groups();

// After the last line: ends the entity being read, decides the unit, and
// joins the segments into closed outlines (open chains are counted).
void finish_groups();

// The unit a drawing declares in its header, whether or not it is the one in
// use: $INSUNITS 4 millimetres, 5 centimetres, $MEASUREMENT 1 millimetres
// when $INSUNITS says nothing; inches otherwise.
DrawingUnit declared_unit(int insunits, int measurement);

// The coordinate `v`, in drawing units, as the shape tables keep it.
inline float stored(double v, double per_inch) {
    return per_inch == 1.0 ? static_cast<float>(v) : static_cast<float>(v / per_inch);
}
