#include "import/select.h"

#include <algorithm>

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

namespace {

// The square of the distance from (x, y) to the segment from a to b.
double distance2(double x, double y, const PTS& a, const PTS& b) {
    double dx = static_cast<double>(b.x) - a.x, dy = static_cast<double>(b.y) - a.y;
    double length2 = dx * dx + dy * dy;
    double t = length2 > 0 ? std::clamp(((x - a.x) * dx + (y - a.y) * dy) / length2, 0.0, 1.0)
                           : 0.0;
    double ex = a.x + t * dx - x, ey = a.y + t * dy - y;
    return ex * ex + ey * ey;
}

}  // namespace

int get_selected(double x, double y, double reach) {
    int best = 0, figure = 0;
    double best2 = reach * reach;
    const PTS* last = nullptr;
    for (int i = 0; i < kScreenPoints && shapes.points[i].y != kPointMarker; ++i) {
        const PTS& p = shapes.points[i];
        if (p.x == kPointMarker) {
            ++figure;
            last = nullptr;
            continue;
        }
        if (figure == 0) continue;
        double d2 = distance2(x, y, last ? *last : p, p);
        if (d2 < best2 || (best == 0 && d2 <= best2)) {
            best = figure;
            best2 = d2;
        }
        last = &p;
    }
    return best;
}

void select_previous() {
    if (shapes.PointsLoaded == 0) return;
    shapes.selected = shapes.selected > 1 ? shapes.selected - 1 : shapes.objects;
    back_to_start_point_mode();
}

void select_next() {
    if (shapes.PointsLoaded == 0) return;
    int next = shapes.selected + 1;
    shapes.selected = next > shapes.objects ? 1 : next;
    back_to_start_point_mode();
}
