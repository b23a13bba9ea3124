#include "planning/planner.h"

#include <cmath>
#include <cstdio>

#include "import/shapes.h"
#include "planning/geometry.h"
#include "planning/walls.h"
#include "platform/files.h"
#include "platform/text.h"
#include "records/job.h"
#include "records/notice.h"
#include "records/progdir.h"
#include "records/settings.h"

namespace {

constexpr int kLastWall = kShapeEntries - 1;  // the end marker needs an entry too

// A report file, created afresh; when it cannot be created the operator is
// told and the report is left out. A null name leaves it out silently.
class Report {
public:
    explicit Report(const char* name)
        : f_(name ? std::fopen(program_file(name).c_str(), "w") : nullptr) {
        if (!f_ && name) notice(strprintf("Cannot create %s in %s (%s); going on without it", name,
                                  directory.c_str(), errno_text().c_str()));
    }
    ~Report() {
        if (f_) std::fclose(f_);
    }
    Report(const Report&) = delete;
    Report& operator=(const Report&) = delete;
    std::FILE* file() const { return f_; }

private:
    std::FILE* f_;
};

struct Figure {
    int start_index;
    int end_index;  // the last element
};

bool figure_has_arc(const Figure& fig) {
    for (int i = fig.start_index; i <= fig.end_index; ++i)
        if (shapes.tp[i] == kArc) return true;
    return false;
}

double first_chord_length(int i) {
    double dx = static_cast<double>(shapes.p3[i]) - shapes.p1[i];
    double dy = static_cast<double>(shapes.p4[i]) - shapes.p2[i];
    return std::sqrt(dx * dx + dy * dy);
}

// The turn from element i into the element after it.
float corner_angle(int i) {
    const ShapeTables& s = shapes;
    int n = i + 1;
    if (s.tp[i] == kArc)
        return joint(s.p1[n], s.p2[n], s.p3[n], s.p4[n], s.p3[i], s.p4[i], s.p5[i], s.p6[i]);
    return joint(s.p1[n], s.p2[n], s.p3[n], s.p4[n], s.p1[i], s.p2[i], s.p3[i], s.p4[i]);
}

void refuse(const std::string& why) {
    wall_list.walls = 0;
    wall_list.l_a_dimensions[0] = kWallEnd;
    wall_list.angles[0] = 0;
    notice(why);
}

std::string too_many_walls() {
    return strprintf("Figure %d needs more than the %d walls a job can hold (its arcs are cut "
                     "into pieces no longer than the radius notch distance); it was not planned",
                     shapes.selected, kLastWall);
}

// Divides an arc of length L into equal pieces no longer than cur_notch.
// False when the pieces would not fit in the wall list.
bool divide_arc(float L, float angle) {
    WallList& w = wall_list;
    double pieces = static_cast<double>(L) / w.cur_notch;
    if (!(pieces < kLastWall - w.walls + 1)) return false;
    int cnt = static_cast<int>(pieces);
    float R = static_cast<float>(static_cast<double>(L) - cnt * static_cast<double>(w.cur_notch));
    if (cnt == 0) {
        cnt = 1;
        w.cur_notch = R;
    } else {
        w.cur_notch = static_cast<float>(w.cur_notch + static_cast<double>(R) / cnt);
    }
    if (cnt == 1) {
        w.l_a_dimensions[w.walls] = w.cur_notch;
        w.angles[w.walls] = angle;
        return true;
    }
    int element = w.element[w.walls];
    for (int k = 0; k < cnt; ++k) {
        w.l_a_dimensions[w.walls] = w.cur_notch;
        w.angles[w.walls] = 0;
        w.element[w.walls] = element;
        ++w.walls;
    }
    --w.walls;
    w.angles[w.walls] = angle;
    return true;
}

// A wall, corner or total that is not a number would feed the strip for
// ever or notch it anywhere: such a job is not planned.
std::string unmeasurable_walls() {
    const WallList& w = wall_list;
    float total = 0;
    for (int i = 0; i < w.walls; ++i) {
        if (!std::isfinite(w.l_a_dimensions[i]) || !std::isfinite(w.angles[i]))
            return strprintf("Figure %d was not planned: wall %d comes out as %f in. turning %f "
                             "degrees, not a length the machine can feed",
                             shapes.selected, i + 1, w.l_a_dimensions[i], w.angles[i]);
        total += w.l_a_dimensions[i];
    }
    if (!std::isfinite(total))
        return strprintf("Figure %d was not planned: its walls add up to %f in., more than the "
                         "machine can feed",
                         shapes.selected, total);
    return "";
}

}  // namespace

float shallow_turn(float angle, bool beside_arc) {
    return beside_arc && angle > 0 && angle < 30 ? 10.0f : angle;
}

bool plan_figure(bool reports) {
    Figure fig{};
    int terminator = 0;
    if (!find_figure(shapes.selected, fig.start_index, terminator)) {
        notice("There is no figure to plan: open a drawing with at least one figure");
        return false;
    }
    fig.end_index = terminator - 1;
    WallList& w = wall_list;
    auto& la = w.l_a_dimensions;
    la.fill(0.0f);
    w.walls = 0;
    w.stop = kNoStop;
    if (!(settings.arc_notch > 0) && figure_has_arc(fig)) {
        refuse(strprintf("The radius notch distance is %f; it must be more than 0 to notch "
                         "an arc. Correct it in Tools, Setup",
                         settings.arc_notch));
        return false;
    }

    const ShapeTables& s = shapes;
    int pc = 0;
    Report curf(reports ? "curf.txt" : nullptr);
    for (int i = fig.start_index; i <= fig.end_index; ++i) {
        float angle = corner_angle(i);
        float curfing_loss = 0;
        if (settings.direction == 1 && angle < 0)
            curfing_loss = static_cast<float>(std::fabs(curfing(settings.bit, 180 - angle)));
        angle = shallow_turn(angle, (i > 0 && s.tp[i - 1] == kArc) || s.tp[i + 1] == kArc);
        if (i == fig.end_index) curfing_loss = 0;
        if (curf.file()) std::fprintf(curf.file(), "%f \n", curfing_loss);

        double chord = first_chord_length(i);
        if (std::isnan(chord)) {
            refuse(strprintf("Figure %d was not planned: its element %d has a point that is not "
                             "a number",
                             shapes.selected, i - fig.start_index + 1));
            return false;
        }
        if (!(chord > 0)) continue;
        if (++pc == job.pause) w.stop = w.walls;
        w.element[w.walls] = i - fig.start_index;
        if (s.tp[i] == kLine) {
            la[w.walls] += static_cast<float>(chord);
            la[w.walls] = la[w.walls] > curfing_loss ? la[w.walls] - curfing_loss : 0;
            w.angles[w.walls] = angle;
        } else {
            w.angles[w.walls] = angle;
            w.cur_notch = settings.arc_notch;
            double dx = static_cast<double>(s.p5[i]) - s.p1[i];
            double dy = static_cast<double>(s.p6[i]) - s.p2[i];
            float end_chord = static_cast<float>(std::sqrt(dx * dx + dy * dy));
            float L = la[w.walls] + arc_distance(static_cast<float>(chord), end_chord);
            if (L < 0) L = 0;
            L = L > curfing_loss ? L - curfing_loss : 0;
            if (++pc == job.pause) w.stop = w.walls;
            if (!divide_arc(L, angle)) {
                refuse(too_many_walls());
                return false;
            }
        }
        if (w.walls + 1 >= kLastWall + 1) {
            refuse(too_many_walls());
            return false;
        }
        ++w.walls;
        la[w.walls] -= curfing_loss;
    }
    if (w.walls > 0) w.angles[w.walls - 1] = 0;
    la[w.walls] = kWallEnd;
    std::string why = unmeasurable_walls();
    if (!why.empty()) {
        refuse(why);
        return false;
    }
    return true;
}

float measure_walls() {
    Report segments("segments.txt");
    std::FILE* f = segments.file();
    if (f) std::fputs("Segment Length   Accumulative Length\n", f);
    const WallList& w = wall_list;
    float total = 0;
    for (int i = 0, n = planned_walls(); i < n; ++i) {
        total += w.l_a_dimensions[i];
        if (f)
            std::fprintf(f, "%10.3f          %10.3f   %.3f\n", w.l_a_dimensions[i], total,
                         w.angles[i]);
    }
    return total;
}

float planned_length() {
    float total = 0;
    for (int i = 0; i < kShapeEntries && wall_list.l_a_dimensions[i] != kWallEnd; ++i)
        total += wall_list.l_a_dimensions[i];
    return total;
}
