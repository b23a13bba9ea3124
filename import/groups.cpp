#include "import/groups.h"

#include <array>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <numbers>
#include <utility>

#include "geometry/curves.h"
#include "import/angles.h"
#include "import/numbers.h"
#include "import/shapes.h"
#include "records/units.h"

GroupReader groups;

void start_groups(double join_tolerance) {
    groups = GroupReader{};
    groups.emitter.bind(groups.drawing);
    groups.join_inches = join_tolerance;
    groups.drawing.tolerance = join_tolerance;
}

DrawingUnit declared_unit(int insunits, int measurement) {
    if (insunits == 4) return DrawingUnit::millimetre;
    if (insunits == 5) return DrawingUnit::centimetre;
    // 0 is "unitless": it says nothing, as a missing $INSUNITS does.
    if ((insunits == -1 || insunits == 0) && measurement == 1) return DrawingUnit::millimetre;
    return DrawingUnit::inch;
}

void note_fault(Key key, int vertex, std::string entity, std::string says) {
    EntityFault& f = groups.fault;
    if (f.found) return;
    f = EntityFault{true, key, vertex, std::move(entity), std::move(says)};
}

namespace {

using Word = std::string_view;
using K = GroupReader::Kind;
using F = EntityFields;

template <typename T>
bool scan(Word w, T& v) {
    return scan_value(w.data(), static_cast<int>(w.size()), v);
}

// Plain decimals of at most 15 digits, as drawing programs write them, the
// quick way: the digits as a whole number, divided by a power of ten, are
// rounded once, to the same double the library's scan gives.
bool scan(Word w, double& v) {
    static constexpr double kTens[] = {1e0, 1e1, 1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                       1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};
    const char* p = w.data();
    const char* end = p + w.size();
    bool minus = p < end && *p == '-';
    uint64_t digits = 0;
    int count = 0, decimals = -1;
    for (p += minus; p < end; ++p) {
        if (*p >= '0' && *p <= '9') {
            digits = digits * 10 + static_cast<uint64_t>(*p - '0');
            ++count;
            decimals += decimals >= 0;
        } else if (*p != '.' || decimals >= 0) {
            break;
        } else {
            decimals = 0;
        }
    }
    if (p != end || count == 0 || count > 15)
        return scan_value(w.data(), static_cast<int>(w.size()), v);
    double x = static_cast<double>(digits) / kTens[decimals < 0 ? 0 : decimals];
    v = minus ? -x : x;
    return true;
}

// A value as text that reads back as it.
std::string number_text(double v) {
    char text[40];
    auto r = std::to_chars(text, text + sizeof text, v);
    return std::string(text, r.ptr);
}

bool near(double x0, double y0, double x1, double y1, double tolerance) {
    double dx = x1 - x0, dy = y1 - y0;
    return dx * dx + dy * dy <= tolerance * tolerance;
}

struct EntityName {
    std::string_view name;
    K kind;
    int PassedEntities::*count;
};

constexpr EntityName kEntities[] = {
    {"LWPOLYLINE", K::lwpolyline, nullptr}, {"LINE", K::line, nullptr},
    {"ARC", K::arc, nullptr},               {"CIRCLE", K::circle, nullptr},
    {"POLYLINE", K::polyline, nullptr},     {"VERTEX", K::vertex, nullptr},
    {"INSERT", K::insert, nullptr},         {"SPLINE", K::spline, nullptr},
    {"ELLIPSE", K::ellipse, nullptr},       {"HATCH", K::none, &PassedEntities::hatch},
    {"TEXT", K::text, nullptr}, {"MTEXT", K::mtext, nullptr},
};

// The values of the simpler entities: where each group goes, and what the
// operator is told when it is no number.
struct FieldCode {
    K kind;
    int code;
    double F::*field;
    const char* what;
    int vertex;
};

constexpr FieldCode kFields[] = {
    {K::line, 10, &F::x, "a coordinate", 1},      {K::line, 20, &F::y, "a coordinate", 1},
    {K::line, 11, &F::x1, "a coordinate", 2},     {K::line, 21, &F::y1, "a coordinate", 2},
    {K::arc, 10, &F::x, "a centre", 0},           {K::arc, 20, &F::y, "a centre", 0},
    {K::arc, 40, &F::radius, "a radius", 0},      {K::arc, 50, &F::start_angle, "an angle", 0},
    {K::arc, 51, &F::end_angle, "an angle", 0},   {K::circle, 10, &F::x, "a centre", 0},
    {K::circle, 20, &F::y, "a centre", 0},        {K::circle, 40, &F::radius, "a radius", 0},
    {K::insert, 10, &F::x, "an insertion point", 0},
    {K::insert, 20, &F::y, "an insertion point", 0},
    {K::insert, 41, &F::scale_x, "a scale", 0},   {K::insert, 42, &F::scale_y, "a scale", 0},
    {K::insert, 50, &F::start_angle, "a rotation", 0},
    {K::insert, 44, &F::column_spacing, "a spacing", 0},
    {K::insert, 45, &F::row_spacing, "a spacing", 0},
    {K::ellipse, 10, &F::x, "a centre", 0},       {K::ellipse, 20, &F::y, "a centre", 0},
    {K::ellipse, 11, &F::x1, "an axis", 0},       {K::ellipse, 21, &F::y1, "an axis", 0},
    {K::ellipse, 40, &F::radius, "an axis ratio", 0},
    {K::ellipse, 41, &F::start_param, "a parameter", 0},
    {K::ellipse, 42, &F::end_param, "a parameter", 0},
    {K::block, 10, &F::x, "a base point", 0},     {K::block, 20, &F::y, "a base point", 0},
};

// For each kind and each code below 64, its entry in kFields, or -1.
constexpr int kKindCount = static_cast<int>(K::block) + 1;
constexpr auto kFieldAt = [] {
    std::array<std::array<signed char, 64>, kKindCount> at{};
    for (auto& row : at) row.fill(-1);
    for (std::size_t i = 0; i < std::size(kFields); ++i)
        at[static_cast<int>(kFields[i].kind)][kFields[i].code] = static_cast<signed char>(i);
    return at;
}();

bool has_extrusion(K kind) {
    return kind == K::arc || kind == K::circle || kind == K::insert || kind == K::lwpolyline ||
           kind == K::ellipse || kind == K::polyline;
}

}  // namespace

Block* GroupReader::defining() {
    return block >= 0 ? &blocks.list[block] : nullptr;
}

std::string GroupReader::entity_label() const {
    switch (kind) {
    case K::line: return "a LINE";
    case K::arc: return "an ARC";
    case K::circle: return "a CIRCLE";
    case K::insert: return "an INSERT of block \"" + fields.name + "\"";
    case K::spline: return "a SPLINE";
    case K::ellipse: return "an ELLIPSE";
    case K::block: return "block \"" + fields.name + "\"";
    case K::text: return "a TEXT";
    case K::mtext: return "an MTEXT";
    default: return "";
    }
}

void GroupReader::value_fault(Word word, const char* what, int vertex) {
    shape_fault(std::string("has ") + what + " that is not a number (\"" + std::string(word) +
                    "\")",
                vertex);
}

void GroupReader::shape_fault(const std::string& says, int vertex) {
    if (Block* b = defining()) {
        // Told when the block is placed, if it ever is.
        std::string entity = entity_label();
        if (b->fault.empty()) b->fault = (entity.empty() ? "a vertex" : entity) + " " + says;
        return;
    }
    note_fault(key(), vertex, entity_label(), says);
}

void GroupReader::take_value(Word word) {
    if (code != 0) {
        if (naming_section || section == Section::header)
            section_value(word);
        else
            entity_value(word);
        return;
    }
    if (kind != K::none) end_entity();
    // A block's POLYLINE runs on through its VERTEX entities.
    if (in_polyline && word != "VERTEX") end_block_polyline();
    ++ordinal;
    kind = K::none;
    naming_section = false;
    header_variable = 0;
    Section was = section;
    char first = word.empty() ? '\0' : word[0];
    if (first == 'S' && word == "SECTION") {
        section = Section::other;
        naming_section = true;
    } else if (first == 'E' && (word == "ENDSEC" || word == "EOF")) {
        section = Section::none;
        block = -1;
        ended = ended || word == "EOF";
    } else if (section == Section::blocks && first == 'B' && word == "BLOCK") {
        kind = K::block;
        entity_ordinal = ordinal;
        fields = EntityFields{};
    } else if (section == Section::tables && first == 'S' && word == "STYLE") {
        kind = K::style;
        style_name.clear();
        style_entry = TextStyleEntry{};
        acad_data = false;
    } else if (section == Section::blocks && first == 'E' && word == "ENDBLK") {
        block = -1;
    } else if (section == Section::entities || section == Section::none ||
               (section == Section::blocks && block >= 0)) {
        start_entity(word);
    }
    if (was == Section::header && section != Section::header) decide_unit();
    wanted = naming_section || kind != K::none;
}

// The entity named, from the few that begin with the name's letter.
const EntityName* entity_named(Word name) {
    if (name.empty()) return nullptr;
    int from = 0, to = 0;
    switch (name[0]) {
    case 'L': from = 0, to = 2; break;
    case 'A': from = 2, to = 3; break;
    case 'C': from = 3, to = 4; break;
    case 'P': from = 4, to = 5; break;
    case 'V': from = 5, to = 6; break;
    case 'I': from = 6, to = 7; break;
    case 'S': from = 7, to = 8; break;
    case 'E': from = 8, to = 9; break;
    case 'H': from = 9, to = 10; break;
    case 'T': from = 10, to = 11; break;
    case 'M': from = 11, to = 12; break;
    default: return nullptr;
    }
    for (int k = from; k < to; ++k)
        if (kEntities[k].name == name) return &kEntities[k];
    return nullptr;
}

void GroupReader::start_entity(Word name) {
    if (const EntityName* found = entity_named(name)) {
        const EntityName& e = *found;
        bool in_block = block >= 0;
        if (e.count) {
            if (!in_block) ++(passed.*e.count);
            return;
        }
        if (drawing.over && !in_block && e.kind != K::lwpolyline && e.kind != K::circle &&
            e.kind != K::polyline && e.kind != K::vertex) {
            // Past the tables' size: only what counts entries cheaply is read.
            drawing.unjoined = true;
            return;
        }
        kind = e.kind;
        entity_ordinal = ordinal;
        fields = EntityFields{};
        if (kind == K::text || kind == K::mtext) {
            text_entity = TextEntity{};
            text_entity.mtext = kind == K::mtext;
        }
        run.clear();
        counted_vertices = 0;
        if (kind == K::spline) spline = geo::SplineData{};
        return;
    }
}

void GroupReader::section_value(Word w) {
    if (naming_section) {
        naming_section = false;
        if (code != 2) return;
        section = w == "HEADER"     ? Section::header
                  : w == "ENTITIES" ? Section::entities
                  : w == "BLOCKS"   ? Section::blocks
                  : w == "TABLES"   ? Section::tables
                                    : Section::other;
        wanted = section == Section::header;
    } else if (code == 9) {
        header_variable = w == "$INSUNITS" ? 1 : w == "$MEASUREMENT" ? 2 : 0;
    } else if (code == 70 && header_variable != 0) {
        // As formatted scanning reads it; a value that says nothing says inches.
        scan_one(std::string(w), header_variable == 1 ? insunits : measurement);
    }
}

bool GroupReader::field_value(Word w) {
    if (code < 0 || code >= 64) return false;
    int at = kFieldAt[static_cast<int>(kind)][code];
    if (at < 0) return false;
    const FieldCode& f = kFields[at];
    if (!scan(w, fields.*f.field)) value_fault(w, f.what, f.vertex);
    return true;
}

void GroupReader::entity_value(Word w) {
    // Past the tables' size a CIRCLE counts the same wherever it lies.
    if (kind == K::circle && code != 40 && drawing.over && block < 0) return;
    switch (kind) {
    case K::lwpolyline: lwpolyline_value(w); return;
    case K::vertex: vertex_value(w); return;
    case K::spline: spline_value(w); return;
    case K::text: case K::mtext: text_value(w); return;
    case K::style: style_value(); return;
    default: break;
    }
    if (field_value(w)) return;
    if (code == 230 && has_extrusion(kind)) {
        if (!scan(w, fields.extrusion_z)) value_fault(w, "an extrusion direction");
    } else if (code == 2 && (kind == K::insert || kind == K::block)) {
        fields.name = std::string(w);
    } else if (code == 70 && kind == K::insert) {
        if (!scan(w, fields.columns)) value_fault(w, "a column count");
    } else if (code == 70 && kind == K::polyline) {
        // Outside blocks the polyline reader reads the POLYLINE as it always has.
        if (!scan(w, fields.flags) && defining()) value_fault(w, "a flags value");
    } else if (code == 71 && kind == K::insert) {
        if (!scan(w, fields.rows)) value_fault(w, "a row count");
    }
}

// Past the tables' size: the values are kept as written, and only those of
// the first and last vertex are read, at the end.
void GroupReader::count_lwpolyline_value(Word w) {
    if (code == 10) {
        if (++counted_vertices == 1) first_x.assign(w);
        last_x.assign(w);
    } else if (code == 20 && counted_vertices > 0) {
        if (counted_vertices == 1) first_y.assign(w);
        last_y.assign(w);
    } else if (code == 70 && !scan(w, fields.flags)) {
        value_fault(w, "a flags value");
    }
}

void GroupReader::count_lwpolyline() {
    if (counted_vertices < 2) return;
    OutlineVertex ends[2] = {};
    float v = 0.0f;
    const std::string* words[4] = {&first_x, &first_y, &last_x, &last_y};
    double* values[4] = {&ends[0].x, &ends[0].y, &ends[1].x, &ends[1].y};
    for (int k = 0; k < 4; ++k) *values[k] = scan(*words[k], v) ? v : 0.0;
    drawing.count_outline(
        drawing.entries_of(ends[0], ends[1], counted_vertices, (fields.flags & 1) != 0));
}

void GroupReader::lwpolyline_value(Word w) {
    if (counted_vertices > 0 || (drawing.over && block < 0)) return count_lwpolyline_value(w);
    if (code == 10 && run.size() >= static_cast<std::size_t>(kShapeEntries)) {
        // More vertices than the tables hold: in a block it is not kept; in
        // the drawing it is counted from here on, from its first vertex and
        // its last.
        if (Block* b = defining()) {
            b->whole = false;
            return;
        }
        counted_vertices = static_cast<int>(run.size());
        first_x = number_text(run.front().x), first_y = number_text(run.front().y);
        run.clear();
        return count_lwpolyline_value(w);
    }
    float v = 0.0f;  // scanned as the polyline reader scans a vertex
    int count = static_cast<int>(run.size());
    if (code == 10) {
        if (!scan(w, v)) value_fault(w, "a coordinate", count + 1);
        run.push_back({v, 0.0, 0.0, false});
    } else if (code == 20 && count > 0) {
        if (scan(w, v)) run.back().y = v;
        else value_fault(w, "a coordinate", count);
    } else if (code == 42 && count > 0) {
        double b = 0.0;
        if (scan(w, b)) run.back().bulge = b, run.back().arc = b != 0.0;
        else value_fault(w, "a bulge", count);
    } else if (code == 70) {
        if (!scan(w, fields.flags)) value_fault(w, "a flags value");
    } else if (code == 230) {
        if (!scan(w, fields.extrusion_z)) value_fault(w, "an extrusion direction");
    }
}

// A VERTEX: its flags for the polyline reader; in a block, the vertex itself.
void GroupReader::vertex_value(Word w) {
    if (code == 70) {
        if (!scan(w, fields.flags) && in_polyline) value_fault(w, "a flags value");
        return;
    }
    if (!in_polyline) return;
    float v = 0.0f;  // scanned as the polyline reader scans a vertex
    if (code == 10 || code == 20) {
        if (!scan(w, v)) value_fault(w, "a coordinate");
        (code == 10 ? fields.x : fields.y) = v;
    } else if (code == 42) {
        if (!scan(w, fields.bulge)) value_fault(w, "a bulge");
        fields.arc = fields.bulge != 0.0;
    }
}

void GroupReader::spline_value(Word w) {
    geo::SplineData& s = spline;
    // Values beyond this many make no outline a sign is bent to.
    constexpr std::size_t kMostValues = 1 << 16;
    double v = 0.0;
    auto number = [&](const char* what) {
        if (scan(w, v)) return true;
        value_fault(w, what);
        return false;
    };
    auto add_point = [&](std::vector<geo::Point>& points, bool x) {
        if (points.size() >= kMostValues) return;
        if (x) points.push_back({v, 0.0});
        else if (!points.empty()) points.back().y = v;
    };
    switch (code) {
    case 70: if (!scan(w, s.flags)) value_fault(w, "a flags value"); break;
    case 71: if (!scan(w, s.degree)) value_fault(w, "a degree"); break;
    case 40: if (number("a knot") && s.knots.size() < kMostValues) s.knots.push_back(v); break;
    case 41: if (number("a weight") && s.weights.size() < kMostValues) s.weights.push_back(v); break;
    case 10: case 20: if (number("a control point")) add_point(s.control, code == 10); break;
    case 11: case 21: if (number("a fit point")) add_point(s.fit, code == 11); break;
    case 12: if (number("a tangent")) s.start_tangent = geo::Point{v, 0.0}; break;
    case 22: if (number("a tangent") && s.start_tangent) s.start_tangent->y = v; break;
    case 13: if (number("a tangent")) s.end_tangent = geo::Point{v, 0.0}; break;
    case 23: if (number("a tangent") && s.end_tangent) s.end_tangent->y = v; break;
    default: break;
    }
}

void GroupReader::end_entity() {
    Block* b = defining();
    const F& f = fields;
    switch (kind) {
    case K::block:
        block = -1;
        if (blocks.find(f.name)) break;  // a second definition of a name is not used
        // A block costs room of its own: past the budget it is not kept.
        if (blocks.vertices + 16 > kBlockVertices) {
            blocks.dropped = true;
            break;
        }
        blocks.vertices += 16;
        blocks.by_name[f.name] = static_cast<int>(blocks.list.size());
        blocks.list.push_back(Block{f.name, f.x, f.y, {}, {}, {}, {}, true, {}});
        block = static_cast<int>(blocks.list.size()) - 1;
        break;
    case K::lwpolyline:
        if (counted_vertices > 0) count_lwpolyline();
        else add_polyline((f.flags & 1) != 0, f.extrusion_z);
        break;
    case K::line:
        if (!near(f.x, f.y, f.x1, f.y1, drawing.tolerance))
            add_segment(f.x, f.y, f.x1, f.y1, 0.0, false);
        break;
    case K::arc: end_arc(); break;
    case K::circle:
        if (f.radius > 0.0) add_circle(f.extrusion_z < 0.0 ? -f.x : f.x, f.y, f.radius);
        break;
    case K::polyline:
        polyline_flags = {entity_ordinal, f.flags, !b};
        if (b) {
            in_polyline = true;
            polyline_fields = f;
            run.clear();
        }
        break;
    case K::vertex:
        vertex_flags = {entity_ordinal, f.flags, !b};
        // A spline frame control point is no part of the outline.
        if (in_polyline && (f.flags & 16) == 0 && run.size() < kBlockVertices)
            run.push_back({f.x, f.y, f.bulge, f.arc});
        break;
    case K::insert: end_insert(); break;
    case K::spline: end_spline(); break;
    case K::ellipse: end_ellipse(); break;
    case K::text: case K::mtext: end_text(); break;
    case K::style: text_fonts.define(style_name, style_entry); break;
    case K::none: break;
    }
}

namespace {

// Longer texts are no lettering a machine bends; kept short, the time spent
// on one stays small.
constexpr std::size_t kMostText = 4096;

// The value line without its line end.
std::string value_line(std::string_view line) {
    while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.remove_suffix(1);
    return std::string(line);
}

}  // namespace

void GroupReader::text_value(Word w) {
    TextEntity& t = text_entity;
    double* number = nullptr;
    int* whole = nullptr;
    switch (code) {
    case 1:
    case 3:  // 3: the parts of a long MTEXT before the last
        text_continues = continuing;
        append_text();
        return;
    case 7: t.style = value_line(line); return;
    case 10: number = &t.x; break;
    case 20: number = &t.y; break;
    case 11: number = &t.x1, t.second = true; break;
    case 21: number = &t.y1; break;
    case 40: number = &t.height; break;
    case 41: number = t.mtext ? nullptr : &t.width; break;
    case 44: number = &t.line_spacing; break;
    case 50: number = &t.rotation; break;
    case 51: number = &t.oblique; break;
    case 230: number = &t.extrusion_z; break;
    case 71: whole = t.mtext ? &t.attachment : &t.mirror; break;
    case 72: whole = t.mtext ? nullptr : &t.halign; break;
    case 73: whole = &t.valign; break;
    default: return;
    }
    if (number && !scan(w, *number)) value_fault(w, "a value");
    if (whole && !scan(w, *whole)) value_fault(w, "a value");
}

void GroupReader::append_text() {
    std::string& t = text_entity.text;
    if (t.size() > kMostText) return;  // refused already
    t += value_line(line);
    if (t.size() > kMostText) shape_fault("has a text longer than 4096 characters");
}

void GroupReader::style_value() {
    std::string v = value_line(line);
    switch (code) {
    case 2: style_name = v; break;
    case 3: style_entry.file = v; break;
    case 1001: acad_data = v == "ACAD"; break;
    case 1000:
        if (acad_data && style_entry.family.empty()) style_entry.family = v;
        break;
    default: break;
    }
}

void GroupReader::end_text() {
    if (text_entity.text.size() > kMostText) return;
    std::string plain = entity_text(text_entity);
    if (plain.find_first_not_of(" \n\t") == std::string::npos) return;  // nothing to show
    const FontMatch& m = text_fonts.font_for(text_entity.style);
    if (!m.error.empty()) {
        if (!defining()) ++passed.text;  // no fonts to make letters with
        return;
    }
    std::vector<std::unique_ptr<geo::Curve>> outlines;
    std::string why = text_entity_outlines(text_entity, plain, m.font, per_inch, outlines);
    if (!why.empty()) return shape_fault(why);
    spline = geo::SplineData{};  // the letters hold no spline values
    for (auto& o : outlines) add_curve(std::move(o), true);
}

void GroupReader::add_polyline(bool closed, double extrusion_z) {
    if (run.size() < 2) return;
    // Drawn with its extrusion pointing down: mirrored in x, arcs turning the other way.
    if (extrusion_z < 0.0)
        for (OutlineVertex& v : run) v.x = -v.x, v.bulge = -v.bulge;
    int count = static_cast<int>(run.size());
    Block* b = defining();
    if (!b) {
        emitter.polyline(run.data(), count, closed, key(), Placement{});
    } else if (blocks.room_for(*b, count)) {
        b->shapes.push_back({BlockShape::Kind::polyline, closed,
                             static_cast<int>(b->vertices.size()), count});
        b->vertices.insert(b->vertices.end(), run.begin(), run.end());
    }
}

void GroupReader::add_segment(double x0, double y0, double x1, double y1, double bulge, bool arc) {
    Block* b = defining();
    if (!b) {
        emitter.segment(x0, y0, x1, y1, bulge, arc, key(), Placement{});
        if (!emitter.fault().empty()) shape_fault("cannot be followed: " + emitter.fault());
    } else if (blocks.room_for(*b, 2)) {
        b->shapes.push_back({BlockShape::Kind::segment, false,
                             static_cast<int>(b->vertices.size()), 2});
        b->vertices.push_back({x0, y0, bulge, arc});
        b->vertices.push_back({x1, y1, 0.0, false});
    }
}

void GroupReader::add_circle(double cx, double cy, double r) {
    Block* b = defining();
    if (!b) {
        emitter.circle(cx, cy, r, key(), Placement{});
    } else if (blocks.room_for(*b, 1)) {
        b->shapes.push_back({BlockShape::Kind::circle, true,
                             static_cast<int>(b->vertices.size()), 1});
        b->vertices.push_back({cx, cy, r, true});
    }
}

void GroupReader::add_curve(std::unique_ptr<geo::Curve> curve, bool closed) {
    Block* b = defining();
    if (!b) {
        emitter.curve(*curve, closed, key(), Placement{});
        if (!emitter.fault().empty())
            shape_fault("cannot be followed with lines and arcs: " + emitter.fault());
    } else if (blocks.room_for(*b, static_cast<long long>(spline.control.size() +
                                                          spline.fit.size() +
                                                          spline.knots.size()))) {
        b->shapes.push_back({BlockShape::Kind::curve, closed, 0, 0,
                             static_cast<int>(b->curves.size())});
        b->curves.push_back(std::move(curve));
    }
}

// Counter-clockwise from the start angle to the end angle, in the entity's
// own axes.
void GroupReader::end_arc() {
    const F& f = fields;
    double cx = f.x, cy = f.y, r = f.radius, a0 = f.start_angle, a1 = f.end_angle;
    if (!(r > 0.0)) return;
    double sweep = std::fmod(a1 - a0, 360.0);
    if (sweep < 0.0) sweep += 360.0;
    double mirrored_cx = f.extrusion_z < 0.0 ? -cx : cx;
    if (sweep == 0.0) return add_circle(mirrored_cx, cy, r);
    Turn t0 = turn(a0), t1 = turn(a1);
    double x0 = cx + r * t0.cos, y0 = cy + r * t0.sin;
    double x1 = cx + r * t1.cos, y1 = cy + r * t1.sin;
    // A half circle is a bulge of 1, not the tangent's 0.9999999999999999.
    double bulge = sweep == 180.0 ? 1.0 : std::tan(sweep * std::numbers::pi / 720.0);
    if (near(x0, y0, x1, y1, drawing.tolerance)) {
        if (sweep > 180.0) add_circle(mirrored_cx, cy, r);  // all but a hair of a circle
        return;
    }
    if (f.extrusion_z < 0.0) x0 = -x0, x1 = -x1, bulge = -bulge;
    add_segment(x0, y0, x1, y1, bulge, true);
}

void GroupReader::end_block_polyline() {
    in_polyline = false;
    if (defining()) add_polyline((polyline_fields.flags & 1) != 0, polyline_fields.extrusion_z);
}

void GroupReader::end_insert() {
    const F& f = fields;
    Insert ins{f.name,    f.x,    f.y,    f.scale_x, f.scale_y,    f.start_angle,
               f.columns, f.rows, f.column_spacing,  f.row_spacing, f.extrusion_z};
    if (ins.columns < 1) ins.columns = 1;
    if (ins.rows < 1) ins.rows = 1;
    if (Block* b = defining()) {
        if (!blocks.room_for(*b, 0)) return;
        b->shapes.push_back({BlockShape::Kind::insert, false, 0, 0,
                             static_cast<int>(b->inserts.size())});
        b->inserts.push_back(std::move(ins));
        return;
    }
    bool undefined = false;
    std::string why = place_insert(blocks, ins, entity_ordinal, emitter, drawing, undefined);
    if (undefined) ++passed.insert;
    if (!why.empty()) shape_fault("cannot be placed: " + why);
}

void GroupReader::end_spline() {
    geo::SplineCurve c = geo::make_spline(spline);
    if (!c.curve) {
        shape_fault("makes no curve: " + c.fault);
        return;
    }
    add_curve(std::move(c.curve),
              (spline.flags & (geo::SplineData::closed | geo::SplineData::periodic)) != 0);
}

void GroupReader::end_ellipse() {
    const F& f = fields;
    if (!(std::hypot(f.x1, f.y1) > 0.0) || !(std::fabs(f.radius) > 0.0)) {
        shape_fault("makes no curve: an axis of it has no length");
        return;
    }
    // Its centre and major axis are the drawing's own; a normal pointing
    // down runs it the other way round.
    double ratio = f.extrusion_z < 0.0 ? -f.radius : f.radius;
    double sweep = std::fmod(f.end_param - f.start_param, 2 * std::numbers::pi);
    if (sweep < 0) sweep += 2 * std::numbers::pi;
    bool whole = sweep < 1e-9 || sweep > 2 * std::numbers::pi - 1e-9;
    add_curve(std::make_unique<geo::EllipticalArc>(geo::Point{f.x, f.y}, geo::Point{f.x1, f.y1},
                                                   ratio, f.start_param, f.end_param),
              whole);
}

void GroupReader::decide_unit() {
    declared = declared_unit(insunits, measurement);
    per_inch = units_per_inch(unit_in_use(declared));
    drawing.per_inch = per_inch;
    drawing.tolerance = join_inches * per_inch;
}

void GroupReader::finish() {
    if (kind != K::none) end_entity();
    kind = K::none;
    if (in_polyline) end_block_polyline();
    if (section == Section::header) decide_unit();
    drawing.join(true);
    passed.open = drawing.open;
}

void finish_groups() { groups.finish(); }
