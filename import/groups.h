#pragma once
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "geometry/spline.h"
#include "import/blocks.h"
#include "import/collect.h"
#include "import/emit.h"
#include "import/pieces.h"
#include "import/text_entities.h"
#include "records/units.h"

// The drawing read as the format defines it: pairs of a group-code line and
// a value line. This reader sees every line the polyline reader reads, in
// the same order, and collects what that reader does not take: LWPOLYLINE
// outlines, LINE and ARC entities and open polylines (joined into chains),
// CIRCLEs, SPLINEs and ELLIPSEs of the ENTITIES section, block definitions
// and the INSERTs that place them, the drawing's declared unit, and counts
// of the entities that are still passed over. For the polyline reader it
// notes the flags of each POLYLINE and VERTEX.

// Entities the reader passes over, and chains that stay open.
struct PassedEntities {
    int hatch = 0;
    int text = 0;          // TEXT and MTEXT that could not be made into letters (no fonts)
    int insert = 0;        // INSERT of a block the drawing does not define
    OpenChains open;       // chains of pieces that do not close
};

// The first entity that stands against the drawing: a value that is no
// number, or a shape that cannot be followed or placed. Named by the figure
// it would be or belong to.
struct EntityFault {
    bool found = false;
    Key key = 0;         // the key that figure would have
    int vertex = 0;      // from 1; 0 when the fault is no vertex's
    std::string entity;  // "" for a polyline's vertex, else "a LINE", ...
    std::string says;    // "has a coordinate that is not a number (\"abc\")", ...
};

// The flags of a POLYLINE or VERTEX entity, once it has been read.
struct EntityFlags {
    int ordinal = -1;
    int flags = 0;
    bool in_entities = false;
};

// The values of the entity being read, by their group codes.
struct EntityFields {
    double x = 0.0, y = 0.0;      // 10, 20: a point, start or centre
    double x1 = 0.0, y1 = 0.0;    // 11, 21: a LINE's end, an ELLIPSE's major axis
    double radius = 0.0;          // 40: an ARC's or CIRCLE's; an ELLIPSE's axis ratio
    double start_angle = 0.0;     // 50: an ARC's, an INSERT's rotation, degrees
    double end_angle = 0.0;       // 51: an ARC's
    double scale_x = 1.0, scale_y = 1.0;        // 41, 42: an INSERT's
    double start_param = 0.0, end_param = 0.0;  // 41, 42: an ELLIPSE's
    double column_spacing = 0.0, row_spacing = 0.0;  // 44, 45: an INSERT's
    double extrusion_z = 1.0;     // 230: negative when the entity is drawn mirrored
    double bulge = 0.0;           // 42: a VERTEX's
    bool arc = false;             // a bulge was given
    int flags = 0;                // 70
    int columns = 1, rows = 1;    // 70, 71: an INSERT's
    std::string name;             // 2: a BLOCK's or INSERT's block
};

struct GroupReader {
    enum class Section : unsigned char { none, header, blocks, entities, tables, other };
    enum class Kind : unsigned char {
        none, lwpolyline, line, arc, circle, polyline, vertex, insert, spline, ellipse, block,
        text, mtext, style
    };

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
    double join_inches = 0.0;  // ends this close meet, in inches

    int ordinal = 0;  // "0" pairs so far: the entity being read is this one
    Kind kind = Kind::none;
    int entity_ordinal = 0;
    EntityFields fields;               // of the entity being read
    std::vector<OutlineVertex> run;    // its vertices (LWPOLYLINE, a block's POLYLINE)
    geo::SplineData spline;            // a SPLINE's values
    // Past the tables' size an LWPOLYLINE is only counted: its vertices, and
    // its first and last one as written.
    int counted_vertices = 0;
    std::string first_x, first_y, last_x, last_y;
    bool in_polyline = false;          // VERTEX entities now belong to a block's POLYLINE
    EntityFields polyline_fields;      // that POLYLINE's own values

    int block = -1;                    // the block being defined, in blocks.list
    Blocks blocks;
    Collection drawing;
    Emitter emitter;  // into `drawing`
    PassedEntities passed;
    EntityFault fault;
    bool ended = false;  // the "0 EOF" pair has been read
    EntityFlags polyline_flags, vertex_flags;  // of the last POLYLINE and VERTEX read

    // The whole line the last word came from, line end and all: text values
    // are read whole.
    std::string_view line;
    TextEntity text_entity;      // the TEXT or MTEXT being read
    TextFonts text_fonts;        // the drawing's text styles and their fonts
    std::string style_name;      // the STYLE table entry being read
    TextStyleEntry style_entry;
    bool acad_data = false;      // its extended data is ACAD's
    bool text_continues = false; // the text value being read goes on in the next read

    // One read of the line scanner, whose first word is `word`; `whole` when
    // it ends the line.
    void take(std::string_view word, bool whole) {
        if (continuing) {
            continuing = !whole;
            if (text_continues) append_text();  // a text value longer than one read
            text_continues = text_continues && continuing;
            return;
        }
        continuing = !whole;
        if (!value_next) {
            code = wanted ? group_code(word) : zero_or_other(word);
            value_next = true;
            return;
        }
        value_next = false;
        if (code == 0 || wanted) take_value(word);
    }

    // 0 for a "0" code line, else -1: all that matters between the entities
    // and sections this reader reads. The usual forms are told at a glance.
    static int zero_or_other(std::string_view w) {
        if (!w.empty() && w[0] >= '1' && w[0] <= '9') return -1;
        if (w.size() == 1 && w[0] == '0') return 0;
        return group_code(w) == 0 ? 0 : -1;
    }

    // The code of a group-code line; one that holds no number takes nothing.
    static int group_code(std::string_view w) {
        const char* p = w.data();
        const char* end = p + w.size();
        bool minus = p < end && *p == '-';
        if (minus) ++p;
        if (p == end || *p < '0' || *p > '9') return -10000;
        int v = 0;
        for (int digits = 0; p < end && *p >= '0' && *p <= '9' && digits < 6; ++p, ++digits)
            v = v * 10 + (*p - '0');
        return minus ? -v : v;
    }

    void take_value(std::string_view word);
    // After the last line.
    void finish();

private:
    void start_entity(std::string_view name);
    void end_entity();
    void section_value(std::string_view word);
    void entity_value(std::string_view word);
    void lwpolyline_value(std::string_view word);
    void count_lwpolyline_value(std::string_view word);
    void count_lwpolyline();
    void vertex_value(std::string_view word);
    void spline_value(std::string_view word);
    bool field_value(std::string_view word);
    void value_fault(std::string_view word, const char* what, int vertex = 0);
    void end_arc();
    void add_polyline(bool closed, double extrusion_z);
    void add_segment(double x0, double y0, double x1, double y1, double bulge, bool arc);
    void add_circle(double cx, double cy, double r);
    void add_curve(std::unique_ptr<geo::Curve> curve, bool closed);
    void end_spline();
    void end_ellipse();
    void end_insert();
    void text_value(std::string_view word);
    void append_text();
    void style_value();
    void end_text();
    void end_block_polyline();
    void shape_fault(const std::string& says, int vertex = 0);
    void decide_unit();
    std::string entity_label() const;
    Block* defining();
    Key key() const { return key_of(entity_ordinal); }
};

extern GroupReader groups;

// Before the first line of a drawing: `tolerance` in inches.
void start_groups(double join_tolerance);

// After the last line: ends the entity being read, decides the unit, and
// joins the pieces into closed outlines (open chains are counted).
void finish_groups();

// Keeps the first fault.
void note_fault(Key key, int vertex, std::string entity, std::string says);

// The unit a drawing declares in its header, whether or not it is the one in
// use: $INSUNITS 4 millimetres, 5 centimetres, $MEASUREMENT 1 millimetres
// when $INSUNITS says nothing; inches otherwise.
DrawingUnit declared_unit(int insunits, int measurement);
