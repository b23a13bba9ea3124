#include "shell/view.h"

#include <cmath>
#include <optional>

#include "import/shapes.h"
#include "planning/walls.h"
#include "records/job.h"
#include "records/notice.h"
#include "records/progress.h"
#include "records/settings.h"
#include "shell/jobs.h"
#include "shell/preferences.h"
#include "shell/viewport.h"
#include "shell/window_state.h"

namespace {

// What the walk over the figures saw of the selected one, for the marks
// drawn after it.
struct SelectedFigure {
    WinPoint start{0, 0};
    std::optional<WinPoint> toward;  // the first point after the start that is not on it
    std::optional<WinPoint> divide;  // where the divide point is
    std::optional<WinPoint> stopped; // where the stopped job's strip ends
    double area2 = 0;                // twice the area, up to the last point
    WinPoint last{0, 0};

    void begin(WinPoint p) { start = last = p; }
    void add(WinPoint p) {
        if (!toward && p != start) toward = p;
        area2 += cross(last, p);
        last = p;
    }
    // Positive when the outline, closed back to its start, runs clockwise on screen.
    double turn() const { return area2 + cross(last, start); }
    static double cross(WinPoint a, WinPoint b) {
        return static_cast<double>(a.x) * b.y - static_cast<double>(b.x) * a.y;
    }
};

void mark(Canvas& c, WinPoint p, int half) {
    half = scaled(half);
    c.rectangle(p.x - half, p.y - half, p.x + half, p.y + half);
}

// While a job runs, or after it stopped: how many points of the selected
// figure (after its start point) belong to elements whose walls have all
// been made. -1 when no job is shown on it.
int points_made() {
    const Progress& p = progress;
    int first = 0, terminator = 0;
    if (!find_figure(shapes.selected, first, terminator)) return -1;
    int done = 0;
    if (stopped_job_shown(done)) {
        if (done < 0) done = terminator - first;
    } else if (p.running && p.work == Progress::Work::job && p.wall > 0) {
        done = p.wall >= p.walls ? terminator - first : wall_list.element[p.wall];
    } else {
        return -1;
    }
    int points = 0;
    for (int i = first; i < first + done && i < terminator; ++i)
        points += shapes.tp[i] == kArc ? 2 : 1;
    return points;
}

Rgb selected_colour() { return settings.direction == 1 ? kBlue : kRed; }

void paint_figures(Canvas& c, const ViewTransform& view, SelectedFigure& sel) {
    const auto& pts = shapes.points;
    int made = points_made();
    bool stopped = made >= 0 && !progress.running;
    int count = 0, pc = 0;
    WinPoint p{0, 0};
    // The element of the figure the next point ends, or the middle of, and
    // the middle point of an arc until its end comes.
    int element = -1, terminator = -1;
    std::optional<WinPoint> middle;
    WinPoint arc_start{0, 0};
    for (int i = 0; i < kScreenPoints && pts[i].y != kPointMarker; ++i) {
        if (pts[i].x == kPointMarker) {
            if (++i >= kScreenPoints) break;
            p = to_window(view, pts[i]);
            ++count;
            if (!find_figure(count, element, terminator)) element = terminator = -1;
            middle.reset();
            if (count == shapes.selected) {
                pc = 0;
                c.select_pen(selected_colour());
                mark(c, p, 2);
                sel.begin(p);
                if (stopped && made == 0) sel.stopped = p;
            } else {
                c.select_pen(kBlack);
            }
            c.move_to(p.x, p.y);
            continue;
        }
        ++pc;
        bool divide_here = pc == job.pause && count == shapes.selected;
        if (divide_here) sel.divide = p;
        if (divide_here && job.toggle == 0)
            mark(c, p, 2);
        else if (win.cp != 0)
            mark(c, p, 1);
        WinPoint before = p;
        p = to_window(view, pts[i]);
        if (count == shapes.selected) sel.add(p);
        if (count == shapes.selected && made > 0 && (pc == 1 || pc == made + 1))
            c.select_pen(pc <= made ? kGreen : selected_colour());
        bool arc = element >= 0 && element < terminator && shapes.tp[element] == kArc;
        if (arc && !middle) {
            arc_start = before;
            middle = p;  // drawn with the arc's end
        } else {
            if (middle)
                c.arc_to(arc_start.x, arc_start.y, middle->x, middle->y, p.x, p.y);
            else
                c.line_to(p.x, p.y);
            middle.reset();
            if (element >= 0) ++element;
        }
        if (stopped && count == shapes.selected && pc == made) sel.stopped = p;
    }
    c.select_pen(kBlack);
}

// An arrow beside the start of the selected figure's first line, pointing
// the way the strip runs, on the outside of the figure.
void paint_start_arrow(Canvas& c, const SelectedFigure& sel) {
    if (!sel.toward) return;
    double dx = sel.toward->x - sel.start.x, dy = sel.toward->y - sel.start.y;
    double length = std::hypot(dx, dy);
    dx /= length;
    dy /= length;
    // The left of the way on screen is outside a figure that runs clockwise there.
    double side = sel.turn() > 0 ? 1 : -1;
    double nx = dy * side, ny = -dx * side;
    auto at = [&](double along, double across) {
        return WinPoint{pixel(sel.start.x + along * dx + across * nx),
                        pixel(sel.start.y + along * dy + across * ny)};
    };
    WinPoint tail = at(0, scaled(8)), tip = at(scaled(24), scaled(8)),
             barb1 = at(scaled(17), scaled(12)), barb2 = at(scaled(17), scaled(4));
    c.select_pen(selected_colour());
    c.move_to(tail.x, tail.y);
    c.line_to(tip.x, tip.y);
    c.line_to(barb1.x, barb1.y);
    c.move_to(tip.x, tip.y);
    c.line_to(barb2.x, barb2.y);
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

ViewTransform current_view() {
    return {win.zoom, settings.XOFFSET + win.pan_x, settings.YOFFSET + win.pan_y};
}

void zelPaint(Canvas& canvas) {
    SelectedFigure sel;
    bool loaded = shapes.PointsLoaded != 0;
    if (loaded) paint_figures(canvas, current_view(), sel);
    if (const char* text = tab_text(settings.tab))
        canvas.text(win.button_x + scaled(105), scaled(20), text);
    if (message_line.err != 0) {
        canvas.text(scaled(150), scaled(100), message_line.record);
        canvas.text(scaled(150), scaled(120), kClickToClear);
    }
    // The marks of where the strip starts and divides come last, over the rest.
    if (!loaded) return;
    paint_start_arrow(canvas, sel);
    if (sel.divide) canvas.text(sel.divide->x + scaled(6), sel.divide->y + scaled(4), kDivideLabel);
    // Where the strip of a stopped job ends: Resume carries on from there.
    if (sel.stopped) {
        canvas.select_pen(kRed);
        mark(canvas, *sel.stopped, 4);
        canvas.text(sel.stopped->x + scaled(8), sel.stopped->y - scaled(18), kStoppedLabel);
        canvas.select_pen(kBlack);
    }
}
