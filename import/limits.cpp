#include "import/limits.h"

#include <cmath>

#include "import/shapes.h"
#include "platform/text.h"

namespace {

const char* kRange = "beyond the drawing's limit of -10922 to 10922";

bool finite(float x, float y) { return std::isfinite(x) && std::isfinite(y); }

bool within(float x, float y) {
    return std::fabs(x) <= kDrawingLimit && std::fabs(y) <= kDrawingLimit;
}

std::string vertex_fault(int figure, int vertex, float x, float y) {
    if (!finite(x, y))
        return strprintf("figure %d, vertex %d has a coordinate that is not a number "
                         "(x %.3f, y %.3f)",
                         figure, vertex, x, y);
    if (!within(x, y))
        return strprintf("figure %d, vertex %d lies at x %.3f, y %.3f, %s", figure, vertex, x, y,
                         kRange);
    return "";
}

// The middle point of the arc that starts at `vertex`: only its bulge can
// have put it out of bounds, the arc's ends being checked on their own.
std::string middle_fault(int figure, int vertex, float x, float y) {
    if (!finite(x, y)) return strprintf("figure %d, vertex %d has a bulge that is not a number",
                                        figure, vertex);
    if (!within(x, y))
        return strprintf("figure %d, the arc from vertex %d bulges out to x %.3f, y %.3f, %s",
                         figure, vertex, x, y, kRange);
    return "";
}

}  // namespace

std::string drawing_limit_fault(int entries) {
    const ShapeTables& s = shapes;
    int figure = 1, vertex = 1;
    for (int k = 0; k < entries; ++k) {
        if (s.tp[k] == kFigureEnd) {
            ++figure;
            vertex = 1;
            continue;
        }
        if (s.tp[k] != kLine && s.tp[k] != kArc) continue;
        bool arc = s.tp[k] == kArc;
        std::string why = vertex_fault(figure, vertex, s.p1[k], s.p2[k]);
        if (why.empty() && arc) why = middle_fault(figure, vertex, s.p3[k], s.p4[k]);
        if (why.empty())
            why = arc ? vertex_fault(figure, vertex + 1, s.p5[k], s.p6[k])
                      : vertex_fault(figure, vertex + 1, s.p3[k], s.p4[k]);
        if (!why.empty()) return "The drawing was not loaded: " + why;
        ++vertex;
    }
    return "";
}
