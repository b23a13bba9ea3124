#include "import/groups.h"

#include <cmath>
#include <cstdint>
#include <cstring>
#include <numbers>
#include <string_view>

#include "import/chains.h"
#include "import/numbers.h"
#include "records/units.h"

GroupReader groups;

void start_groups() {
    GroupReader fresh;
    fresh.vertices.swap(groups.vertices);  // keeps what the vectors hold room for
    fresh.outlines.swap(groups.outlines);
    fresh.segments.swap(groups.segments);
    fresh.vertices.clear();
    fresh.outlines.clear();
    fresh.segments.clear();
    groups = std::move(fresh);
}

DrawingUnit declared_unit(int insunits, int measurement) {
    if (insunits == 4) return DrawingUnit::millimetre;
    if (insunits == 5) return DrawingUnit::centimetre;
    // 0 is "unitless": it says nothing, as a missing $INSUNITS does.
    if ((insunits == -1 || insunits == 0) && measurement == 1) return DrawingUnit::millimetre;
    return DrawingUnit::inch;
}

namespace {

// The first word of a value line; it stays in the line it was read from.
using Word = std::string_view;

Word first_word(const char* p, std::size_t n) {
    auto space = [](char c) {
        return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
    };
    const char* end = p + n;
    while (p < end && space(*p)) ++p;
    const char* w = p;
    while (p < end && *p != '\0' && !space(*p)) ++p;
    return Word(w, static_cast<std::size_t>(p - w));
}

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

struct Turn {
    double cos, sin;
};

// Cosine and sine of an angle in degrees, exact at the quarter turns, so
// that an arc from 0 to 90 degrees ends on its centre's axes.
Turn turn(double degrees) {
    double r = std::fmod(degrees, 360.0);
    if (r < 0) r += 360.0;
    if (r == 0.0) return {1.0, 0.0};
    if (r == 90.0) return {0.0, 1.0};
    if (r == 180.0) return {-1.0, 0.0};
    if (r == 270.0) return {0.0, -1.0};
    double a = r * std::numbers::pi / 180.0;
    return {std::cos(a), std::sin(a)};
}

bool near(double x0, double y0, double x1, double y1) {
    double dx = x1 - x0, dy = y1 - y0;
    return dx * dx + dy * dy <= kJoinTolerance * kJoinTolerance;
}

struct EntityName {
    std::string_view name;
    GroupReader::Kind kind;
    int PassedEntities::*count;
};

using K = GroupReader::Kind;
constexpr EntityName kEntities[] = {
    {"LWPOLYLINE", K::lwpolyline, nullptr}, {"LINE", K::line, nullptr},
    {"ARC", K::arc, nullptr},               {"CIRCLE", K::circle, nullptr},
    {"SPLINE", K::none, &PassedEntities::spline},
    {"ELLIPSE", K::none, &PassedEntities::ellipse},
    {"HATCH", K::none, &PassedEntities::hatch},
    {"TEXT", K::none, &PassedEntities::text},
    {"MTEXT", K::none, &PassedEntities::text},
    {"INSERT", K::none, &PassedEntities::insert},
};

// Where the values of a LINE's, ARC's or CIRCLE's groups are kept.
double EntityFields::*field_of(int code) {
    switch (code) {
    case 10: return &EntityFields::x;
    case 20: return &EntityFields::y;
    case 11: return &EntityFields::x1;
    case 21: return &EntityFields::y1;
    case 40: return &EntityFields::radius;
    case 50: return &EntityFields::start_angle;
    case 51: return &EntityFields::end_angle;
    case 230: return &EntityFields::extrusion_z;
    default: return nullptr;
    }
}

class EntityEnd {
public:
    explicit EntityEnd(GroupReader& g) : g_(g), f_(g.fields) {}

    void run() {
        switch (g_.kind) {
        case K::lwpolyline: lwpolyline(); break;
        case K::line:
            if (!near(f_.x, f_.y, f_.x1, f_.y1))
                g_.segments.push_back({f_.x, f_.y, f_.x1, f_.y1, 0.0, g_.entity_key, true});
            break;
        case K::arc: arc(); break;
        case K::circle: circle(f_.x, f_.y, f_.radius); break;
        case K::none: break;
        }
    }

private:
    // An extrusion direction pointing down mirrors the entity's own x axis.
    bool mirrored() const { return f_.extrusion_z < 0.0; }

    void lwpolyline() {
        auto& v = g_.vertices;
        int count = static_cast<int>(v.size()) - g_.first_vertex;
        if (count < 2) {
            v.resize(g_.first_vertex);
            return;
        }
        if (mirrored())
            for (std::size_t k = g_.first_vertex; k < v.size(); ++k) {
                v[k].x = -v[k].x;
                v[k].bulge = -v[k].bulge;
            }
        g_.outlines.push_back({g_.entity_key, g_.first_vertex, count, (f_.flags & 1) != 0, false});
    }

    // Two half arcs from the lowest point round to it again.
    void circle(double cx, double cy, double r) {
        if (!(r > 0.0)) return;
        if (mirrored()) cx = -cx;
        int first = static_cast<int>(g_.vertices.size());
        g_.vertices.push_back({cx, cy - r, 1.0, true});
        g_.vertices.push_back({cx, cy + r, 1.0, true});
        g_.vertices.push_back({cx, cy - r, 0.0, false});
        g_.outlines.push_back({g_.entity_key, first, 3, true, true});
    }

    // Counter-clockwise from the start angle to the end angle, in the
    // entity's own axes.
    void arc() {
        double cx = f_.x, cy = f_.y, r = f_.radius, a0 = f_.start_angle, a1 = f_.end_angle;
        if (!(r > 0.0)) return;
        double sweep = std::fmod(a1 - a0, 360.0);
        if (sweep < 0.0) sweep += 360.0;
        if (sweep == 0.0) return circle(cx, cy, r);
        Turn t0 = turn(a0), t1 = turn(a1);
        double x0 = cx + r * t0.cos, y0 = cy + r * t0.sin;
        double x1 = cx + r * t1.cos, y1 = cy + r * t1.sin;
        // A half circle is a bulge of 1, not the tangent's 0.9999999999999999.
        double bulge = sweep == 180.0 ? 1.0 : std::tan(sweep * std::numbers::pi / 720.0);
        if (near(x0, y0, x1, y1)) {
            if (sweep > 180.0) circle(cx, cy, r);  // all but a hair of a circle
            return;
        }
        if (mirrored()) x0 = -x0, x1 = -x1, bulge = -bulge;
        g_.segments.push_back({x0, y0, x1, y1, bulge, g_.entity_key, false});
    }

    GroupReader& g_;
    const EntityFields& f_;
};

}  // namespace

void GroupReader::take_value(const char* p, std::size_t n) {
    if (code != 0) {
        entity_value(p, n);
        return;
    }
    Word w = first_word(p, n);
    if (kind != Kind::none) EntityEnd(*this).run();
    ++ordinal;
    kind = Kind::none;
    naming_section = false;
    header_variable = 0;
    Section was = section;
    char first = w.empty() ? '\0' : w[0];
    if (first == 'S' && w == "SECTION") {
        section = Section::other;
        naming_section = true;
    } else if (first == 'E' && (w == "ENDSEC" || w == "EOF")) {
        section = Section::none;
        ended = ended || w == "EOF";
    } else if (section == Section::entities || section == Section::none) {
        for (const EntityName& e : kEntities) {
            if (first != e.name[0] || w != e.name) continue;
            if (e.count) {
                ++(passed.*e.count);
            } else {
                kind = e.kind;
                entity_key = ordinal;
                fields = EntityFields{};
                first_vertex = static_cast<int>(vertices.size());
            }
            break;
        }
    }
    if (was == Section::header && section != Section::header) {
        declared = declared_unit(insunits, measurement);
        per_inch = units_per_inch(unit_in_use(declared));
    }
    wanted = naming_section || kind != Kind::none;
}

void GroupReader::entity_value(const char* p, std::size_t n) {
    if (naming_section) {
        naming_section = false;
        wanted = section == Section::header;
        if (code != 2) return;
        Word w = first_word(p, n);
        section = w == "HEADER" ? Section::header
                  : w == "ENTITIES" ? Section::entities
                                    : Section::other;
        wanted = section == Section::header;
    } else if (section == Section::header) {
        if (code == 9) {
            Word w = first_word(p, n);
            header_variable = w == "$INSUNITS" ? 1 : w == "$MEASUREMENT" ? 2 : 0;
        } else if (code == 70 && header_variable != 0) {
            // As formatted scanning reads it; a value that says nothing says inches.
            scan_one(std::string(first_word(p, n)), header_variable == 1 ? insunits : measurement);
        }
    } else if (kind == Kind::lwpolyline) {
        lwpolyline_value(first_word(p, n));
    } else if (double EntityFields::*field = field_of(code)) {
        Word w = first_word(p, n);
        if (!scan(w, fields.*field)) entity_fault(w);
    }
}

void GroupReader::lwpolyline_value(std::string_view w) {
    float v = 0.0f;  // scanned as the polyline reader scans a vertex
    int count = static_cast<int>(vertices.size()) - first_vertex;
    auto fault = [&](const char* what, int vertex) {
        note_value_fault(entity_key, vertex, "", what, w);
    };
    if (code == 10) {
        if (!scan(w, v)) fault("a coordinate", count + 1);
        vertices.push_back({v, 0.0, 0.0, false});
    } else if (code == 20 && count > 0) {
        if (scan(w, v)) vertices.back().y = v;
        else fault("a coordinate", count);
    } else if (code == 42 && count > 0) {
        double b = 0.0;
        if (scan(w, b)) vertices.back().bulge = b, vertices.back().arc = b != 0.0;
        else fault("a bulge", count);
    } else if (code == 70) {
        if (!scan(w, fields.flags)) fault("a flags value", 0);
    } else if (code == 230) {
        if (!scan(w, fields.extrusion_z)) fault("an extrusion direction", 0);
    }
}

// A value of a LINE, ARC or CIRCLE that is not a number.
void GroupReader::entity_fault(std::string_view w) {
    static constexpr struct {
        int code, vertex;
        const char* what;
    } kWhat[] = {{10, 1, "a coordinate"}, {20, 1, "a coordinate"}, {11, 2, "a coordinate"},
                 {21, 2, "a coordinate"}, {40, 0, "a radius"},     {50, 0, "an angle"},
                 {51, 0, "an angle"},     {230, 0, "an extrusion direction"}};
    bool line = kind == Kind::line;
    for (const auto& k : kWhat) {
        if (k.code != code) continue;
        const char* what = !line && k.vertex != 0 ? "a centre" : k.what;
        const char* entity = line ? "a LINE" : kind == Kind::arc ? "an ARC" : "a CIRCLE";
        note_value_fault(entity_key, line ? k.vertex : 0, entity, what, w);
    }
}

void note_value_fault(int key, int vertex, const char* entity, const char* what,
                      std::string_view word) {
    ValueFault& f = groups.fault;
    if (f.found) return;
    f = ValueFault{true, key, vertex, entity, what, std::string(word)};
}

void finish_groups() {
    if (groups.kind != GroupReader::Kind::none) EntityEnd(groups).run();
    groups.kind = GroupReader::Kind::none;
    if (groups.section == GroupReader::Section::header) {
        groups.declared = declared_unit(groups.insunits, groups.measurement);
        groups.per_inch = units_per_inch(unit_in_use(groups.declared));
    }
    join_chains(groups);
}
