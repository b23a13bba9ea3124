// What the operator is told about the drawing read: what it holds that is
// not read, the open chains, its unit, the open outlines closed.
#include <cmath>
#include <vector>

#include "import/dxf.h"
#include "import/shapes.h"
#include "platform/text.h"
#include "records/units.h"

namespace {

// What the reader passes over, as the operator is told of it. Those that
// may be outlines are also named in the status line.
struct PassedKind {
    int PassedEntities::*count;
    const char* one;
    const char* many;
    bool outline;
};

constexpr PassedKind kPassedKinds[] = {
    {&PassedEntities::hatch, "HATCH", "HATCH", false},
    {&PassedEntities::text, "TEXT", "TEXT", false},
    {&PassedEntities::insert, "INSERT of a block the drawing does not hold",
     "INSERT of blocks the drawing does not hold", true},
};

// The join tolerance, in inches, that closes a gap this wide: rounded up
// to three figures.
double closing_tolerance(double gap) {
    double step = std::pow(10.0, std::floor(std::log10(gap)) - 2);
    return std::ceil(gap / step - 1e-9) * step;
}

// "3 open chains", with where the widest gap is and what closes it; in
// full for a refusal, short for the status line.
std::string open_chains(const OpenChains& open, double per_inch, bool full) {
    std::string out = strprintf("%d open chain%s", open.count, open.count == 1 ? "" : "s");
    if (open.gap < 0) return out;
    double gap = open.gap / per_inch, x = open.gap_x / per_inch, y = open.gap_y / per_inch;
    if (!full) return out + strprintf(" (widest gap %.4g in. at x %.3f, y %.3f)", gap, x, y);
    out += strprintf(" (the widest gap left open is %.4g in., at x %.3f, y %.3f; ", gap, x, y);
    double closes = closing_tolerance(gap);
    if (closes > kMostJoin)
        return out + strprintf("it is wider than the join tolerance can be, %g in.: close it "
                               "in the drawing program)",
                               kMostJoin);
    return out + strprintf("a join tolerance of %.3g in. closes it: Options, Drawing units)",
                           closes);
}

// "2 TEXT, 1 HATCH and 3 open chains"; empty for none.
std::string passed_list(const PassedEntities& passed, double per_inch, bool outlines_only) {
    std::vector<std::string> parts;
    for (const PassedKind& k : kPassedKinds) {
        int n = passed.*k.count;
        if (n > 0 && (k.outline || !outlines_only))
            parts.push_back(strprintf("%d %s", n, n == 1 ? k.one : k.many));
    }
    if (passed.open.count > 0) parts.push_back(open_chains(passed.open, per_inch, !outlines_only));
    std::string out;
    for (std::size_t i = 0; i < parts.size(); ++i)
        out += (i == 0 ? "" : i + 1 == parts.size() ? " and " : ", ") + parts[i];
    return out;
}

}  // namespace

std::string no_outline(const PassedEntities& passed, double per_inch) {
    std::string list = passed_list(passed, per_inch, false);
    if (list.empty())
        return "it has no outline (no POLYLINE or LWPOLYLINE with two or more vertices, no "
               "closed chain of pieces, no CIRCLE, SPLINE or ELLIPSE).";
    return "it has no outline that can be read. It holds " + list +
           ", which are not read: convert them to polylines (join or close the chains) and "
           "save the drawing again.";
}

std::string units_hint() {
    const DrawingNotes& n = drawing_notes;
    if (n.declared == DrawingUnit::inch || n.in_use != DrawingUnit::inch) return "";
    return strprintf("The drawing declares %s but is read in inches, one drawing unit to the "
                     "inch; Options, Drawing units can read it in %s.",
                     unit_name(n.declared), unit_name(n.declared));
}

std::string closed_note() {
    int n = drawing_notes.closed_open;
    if (n == 0) return "";
    return strprintf("Close Figure closed %d open outline%s", n, n == 1 ? "" : "s");
}

std::string fonts_note() { return drawing_notes.fonts_replaced; }

std::string drawing_status() {
    if (!shapes.PointsLoaded)
        return unit_setting.choice == UnitChoice::inch ? "Drawings in inches"
                                                       : "Drawings in their declared units";
    const DrawingNotes& n = drawing_notes;
    std::string out = std::string("Drawing in ") + unit_name(n.in_use);
    if (n.in_use != DrawingUnit::inch)
        out += ", scaled to inches";
    else if (n.declared != DrawingUnit::inch)
        out += std::string(" (it declares ") + unit_name(n.declared) + ")";
    if (std::string closed = closed_note(); !closed.empty()) out += "; " + closed;
    if (!n.fonts_replaced.empty()) out += "; " + n.fonts_replaced;
    std::string passed = passed_list(n.passed, units_per_inch(n.in_use), true);
    if (!passed.empty()) out += "; not read: " + passed;
    return out;
}
