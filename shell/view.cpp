#include "shell/view.h"

#include <algorithm>
#include <climits>
#include <cstdint>

#include "import/shapes.h"
#include "planning/walls.h"
#include "records/job.h"
#include "records/notice.h"
#include "records/progress.h"
#include "records/settings.h"
#include "shell/window_state.h"

namespace {

struct WinPoint {
    int x, y;
};

int clamp_int(int64_t v) { return static_cast<int>(std::clamp<int64_t>(v, INT_MIN, INT_MAX)); }

WinPoint to_window(const PTS& p) {
    return {clamp_int(int64_t{p.x} * win.zoom + settings.XOFFSET),
            clamp_int(settings.YOFFSET - int64_t{p.y} * win.zoom)};
}

void mark(Canvas& c, WinPoint p, int half) {
    c.rectangle(p.x - half, p.y - half, p.x + half, p.y + half);
}

// While a job runs: how many points of the selected figure (after its start
// point) belong to elements whose walls have all been made.
int points_made() {
    const Progress& p = progress;
    int first = 0, terminator = 0;
    if (!p.running || p.work != Progress::Work::job || p.wall <= 0 ||
        !find_figure(shapes.selected, first, terminator))
        return 0;
    int done = p.wall >= p.walls ? terminator - first : wall_list.element[p.wall];
    int points = 0;
    for (int i = first; i < first + done && i < terminator; ++i)
        points += shapes.tp[i] == kArc ? 2 : 1;
    return points;
}

void paint_figures(Canvas& c) {
    const auto& pts = shapes.points;
    Rgb coloured = settings.direction == 1 ? kBlue : kRed;
    int made = points_made();
    int count = 0, pc = 0;
    WinPoint p{0, 0};
    for (int i = 0; i < kScreenPoints && pts[i].y != kPointMarker; ++i) {
        if (pts[i].x == kPointMarker) {
            if (++i >= kScreenPoints) break;
            p = to_window(pts[i]);
            ++count;
            if (count == shapes.selected) {
                pc = 0;
                c.select_pen(coloured);
                mark(c, p, 2);
            } else {
                c.select_pen(kBlack);
            }
            c.move_to(p.x, p.y);
            continue;
        }
        ++pc;
        if (pc == job.pause && count == shapes.selected && job.toggle == 0)
            mark(c, p, 2);
        else if (win.cp != 0)
            mark(c, p, 1);
        p = to_window(pts[i]);
        if (count == shapes.selected && made > 0 && (pc == 1 || pc == made + 1))
            c.select_pen(pc <= made ? kGreen : coloured);
        c.line_to(p.x, p.y);
    }
    c.select_pen(kBlack);
}

const char* tab_text(int tab) {
    switch (tab) {
    case 0: return "No tabs";
    case 1: return "Leading tab";
    case 2: return "Trailing tab";
    case 3: return "Both tabs";
    default: return nullptr;
    }
}

}  // namespace

void zelPaint(Canvas& canvas) {
    if (shapes.PointsLoaded != 0) paint_figures(canvas);
    if (const char* text = tab_text(settings.tab)) canvas.text(win.button_x + 105, 20, text);
    if (message_line.err != 0) {
        canvas.text(150, 100, message_line.record);
        canvas.text(150, 120, kClickToQuit);
    }
}
