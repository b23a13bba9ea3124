#include "import/select.h"

#include <algorithm>
#include <cstdint>

#include "import/shapes.h"
#include "records/job.h"

void rotate(int direction, int selected) {
    auto& t = shapes;
    int start = 0, end = 0;
    if (selected > t.objects || !find_figure(selected, start, end)) return;

    auto turn = [&](auto& table) {
        auto first = table.begin() + start, last = table.begin() + end;
        if (direction == 1) std::rotate(first, first + 1, last);
        if (direction == -1) std::rotate(first, last - 1, last);
    };
    turn(t.tp);
    turn(t.p1);
    turn(t.p2);
    turn(t.p3);
    turn(t.p4);
    turn(t.p5);
    turn(t.p6);
    plot();
}

int get_selected(int x, int y, int zoom) {
    int old = shapes.selected;
    int n = 0;
    // In 64 bits: neither the zoom nor the click can overflow.
    int64_t xlow = int64_t{x} - 10, xhigh = int64_t{x} + 10;
    int64_t ylow = int64_t{y} - 10, yhigh = int64_t{y} + 10;
    for (int i = 0; i < kScreenPoints && shapes.points[i].y != kPointMarker; ++i) {
        const PTS& p = shapes.points[i];
        if (p.x == kPointMarker) {
            ++n;
            continue;
        }
        int64_t sx = int64_t{p.x} * zoom, sy = int64_t{p.y} * zoom;
        if (xlow < sx && sx < xhigh && ylow < sy && sy < yhigh) return n > 0 ? n : old;
    }
    return old;
}

void select_next() {
    if (shapes.PointsLoaded == 0) return;
    int next = shapes.selected + 1;
    shapes.selected = next > shapes.objects ? 1 : next;
    back_to_start_point_mode();
}
