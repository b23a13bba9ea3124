#include "import/shapes.h"

#include <cmath>

ShapeTables shapes;

void reset_shapes() { shapes = ShapeTables{}; }

bool find_figure(int figure, int& first, int& terminator) {
    const auto& tp = shapes.tp;
    if (figure < 1) return false;
    int i = 0;
    for (int skip = 1; skip < figure; ++skip) {
        while (i < kShapeEntries && tp[i] != kFigureEnd && tp[i] != kTableEnd) ++i;
        if (i >= kShapeEntries || tp[i] == kTableEnd) return false;
        ++i;
    }
    int j = i;
    while (j < kShapeEntries && (tp[j] == kLine || tp[j] == kArc)) ++j;
    if (j == i || j >= kShapeEntries || tp[j] != kFigureEnd) return false;
    first = i;
    terminator = j;
    return true;
}

namespace {

// A drawing coordinate in screen units: three per drawing unit, truncated
// toward zero. Coordinates beyond +-10922 units are held at the edge of that
// range, so that no point can take the marker value -32767, and one that is
// not a number becomes 0.
int32_t screen(float v) {
    constexpr int32_t edge = -kPointMarker - 1;
    float u = v * 3.0f;
    if (std::isnan(u)) return 0;
    if (u <= -edge - 1) return -edge;
    if (u >= edge + 1) return edge;
    return static_cast<int32_t>(u);
}

}  // namespace

void plot() {
    auto& t = shapes;
    int w = 0;
    auto put = [&](int32_t x, int32_t y) {
        if (w < kScreenPoints - 1) t.points[w++] = PTS{x, y};
    };
    int i = 0;
    while (i < kShapeEntries && t.tp[i] != kTableEnd) {
        put(kPointMarker, 0);
        put(screen(t.p1[i]), screen(t.p2[i]));
        for (; i < kShapeEntries && t.tp[i] != kFigureEnd && t.tp[i] != kTableEnd; ++i) {
            put(screen(t.p3[i]), screen(t.p4[i]));
            if (t.tp[i] == kArc) put(screen(t.p5[i]), screen(t.p6[i]));
        }
        if (i < kShapeEntries && t.tp[i] == kFigureEnd) ++i;
    }
    t.points[w] = PTS{0, kPointMarker};
}
