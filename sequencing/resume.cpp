#include "sequencing/resume.h"

#include <cstring>

#include "controller/replay.h"
#include "import/dxf.h"
#include "import/shapes.h"
#include "planning/walls.h"
#include "platform/text.h"
#include "records/job.h"
#include "records/progress.h"
#include "records/settings.h"
#include "records/units.h"

ResumedPart resumed;

namespace {

std::string file_name(const std::string& path) { return path.substr(path.rfind('/') + 1); }

std::string start_point_of(int figure) {
    int first = 0, terminator = 0;
    if (!find_figure(figure, first, terminator)) return "";
    return strprintf("(%.3f, %.3f)", shapes.p1[first], shapes.p2[first]);
}

// The settings that make no difference to what the machine is sent: the
// port it is sent on, where the drawing shows, the photo cells of the feed
// calibration and the control point filter.
bool plays_no_part(int field) {
    constexpr int kNoPart[] = {1, 5, 8, 9, 12};
    for (int k : kNoPart)
        if (k == field) return true;
    return false;
}

// The first setting that is not as the stopped work had it, as the operator
// is told; empty when none.
std::string changed_setting(const std::string& then) {
    std::vector<std::string> was = split_words(then);
    std::vector<std::string> now = split_words(format_setup(SetupFields::all));
    const auto& fields = setting_fields();
    for (std::size_t k = 0; k < fields.size(); ++k) {
        if (plays_no_part(static_cast<int>(k))) continue;
        std::string a = k < was.size() ? was[k] : "", b = k < now.size() ? now[k] : "";
        if (a == b) continue;
        return strprintf("%s was %s; it is %s now", fields[k].label, a.c_str(), b.c_str());
    }
    return "";
}

std::string divide_text(int divide) {
    return divide > 0 ? strprintf("divide point %d", divide) : "no divide point";
}

int divide_now() { return job.toggle == 0 ? job.pause : 0; }

}  // namespace

void reset_resume() { resumed = ResumedPart{}; }

std::string figure_digest(int figure) {
    int first = 0, terminator = 0;
    if (!find_figure(figure, first, terminator)) return "";
    std::string bytes;
    auto add = [&bytes](const auto& v) {
        bytes.append(reinterpret_cast<const char*>(&v), sizeof v);
    };
    for (int i = first; i < terminator; ++i) {
        add(shapes.tp[i]);
        for (const auto* table : {&shapes.p1, &shapes.p2, &shapes.p3, &shapes.p4, &shapes.p5,
                                  &shapes.p6})
            add((*table)[i]);
    }
    return digest(bytes);
}

void record_work(Interrupted::Work work) {
    Interrupted r;
    const Progress& p = progress;
    r.work = work;
    r.settings = format_setup(SetupFields::all);
    if (work == Interrupted::Work::job) {
        r.drawing = drawing_notes.path;
        r.drawing_digest = drawing_notes.digest;
        r.units = unit_name(drawing_notes.in_use);
        r.figure = shapes.selected;
        r.figure_digest = figure_digest(shapes.selected);
        r.start_point = start_point_of(shapes.selected);
        r.divide_point = divide_now();
        r.image = p.image > 0 ? p.image : 1;
        r.images = p.images > 0 ? p.images : 1;
        r.whole_job = job.whole_job;
    } else {
        r.notch_length = job.notch_length;
        r.total_length = job.total_length;
    }
    r.answered = resumed.active ? resumed.answered : 0;
    r.walls = p.walls;
    r.planned = p.planned;
    r.counted = resumed.counted_before + p.counted;
    r.letter_counted = resumed.active && resumed.letter_counted;
    r.counts = counters;
    interrupted = r;
    begin_answered_file(r.answered);
    save_interrupted(false);
}

void record_work_end(JobResult result) {
    end_replay();
    bool in_doubt = ledger.ask_next;  // the command the controller never answered
    ledger.replay = 0;
    ledger.made_unasked = 0;
    ledger.ask_next = false;
    Interrupted& r = interrupted;
    if (r.work == Interrupted::Work::none) return;
    if (result != JobResult::stopped_by_operator && result != JobResult::lost) {
        remove_interrupted();
        return;
    }
    const Progress& p = progress;
    r.stopped = result == JobResult::stopped_by_operator && !in_doubt;
    r.answered = ledger.answered;
    r.wall = p.wall;
    r.fed = p.fed;
    r.counted = resumed.counted_before + p.counted;
    r.counts = counters;
    r.element = 0;
    if (r.work == Interrupted::Work::job)
        r.element = p.wall >= p.walls ? -1 : wall_list.element[p.wall];
    save_interrupted(true);
}

void record_image_counted() {
    Interrupted& r = interrupted;
    if (r.work != Interrupted::Work::job) return;
    r.letter_counted = true;
    r.counts = counters;
    save_interrupted(true);
}

void abandon_stopped_work(const std::string& what) {
    if (interrupted.work == Interrupted::Work::none || !interrupted.void_reason.empty()) return;
    retire_interrupted();
    interrupted.void_reason = what + " was made after the work stopped";
}

std::string resume_refusal() {
    const Interrupted& r = interrupted;
    const std::string again = " to carry the job on, or start the letter again with Run Tool.";
    if (!r.void_reason.empty())
        return "The stopped job cannot be carried on: " + r.void_reason +
               ", so the strip is not as the job left it. Start the letter again with Run "
               "Tool.";
    if (r.work == Interrupted::Work::none) return "There is no stopped job to carry on.";
    if (std::string s = changed_setting(r.settings); !s.empty())
        return "Setup has changed since the work stopped: " + s +
               ". Set it back in Tools, Setup to carry the work on, or start it again.";
    if (r.work == Interrupted::Work::notching) return "";
    std::string name = file_name(r.drawing);
    if (shapes.PointsLoaded == 0 || drawing_notes.path != r.drawing)
        return "The job stopped on figure " + std::to_string(r.figure) + " of " + r.drawing +
               ", which is not the drawing on screen. Open it again to carry the job on, or "
               "start the letter again with Run Tool.";
    if (drawing_notes.digest != r.drawing_digest)
        return name + " is not the same drawing as when the job started: it has been changed " +
               "since. The job cannot be carried on; start the letter again with Run Tool.";
    if (r.units != unit_name(drawing_notes.in_use))
        return name + " is read in " + unit_name(drawing_notes.in_use) +
               " now; the job made it in " + r.units +
               ". Set Options, Drawing units back to carry the job on, or start the letter "
               "again with Run Tool.";
    if (shapes.selected != r.figure)
        return strprintf("Figure %d is selected; the job stopped on figure %d. Select figure %d "
                         "again (with its start point at %s)",
                         shapes.selected, r.figure, r.figure, r.start_point.c_str()) +
               again;
    if (figure_digest(r.figure) != r.figure_digest)
        return strprintf("The start point of figure %d is at %s now; the job started at %s. "
                         "Move it back with Rotate Point",
                         r.figure, start_point_of(r.figure).c_str(), r.start_point.c_str()) +
               again;
    if (divide_now() != r.divide_point)
        return "The figure has " + divide_text(divide_now()) + " now; the job had " +
               divide_text(r.divide_point) + ". Set it back (Options, Divide character and " +
               "Rotate Point)" + again;
    return "";
}

void prepare_resume(bool from_file) {
    const Interrupted& r = interrupted;
    if (from_file) {
        counters = r.counts;
        write_log();
    }
    resumed.active = true;
    resumed.answered = r.answered;  // those after it are made again as answered
    resumed.counted_before = r.counted;
    resumed.letter_counted = r.letter_counted;
    start_replay(r.answered, r.answered_after, !r.stopped);
    if (r.work == Interrupted::Work::notching) {
        job.notch_length = r.notch_length;
        job.total_length = r.total_length;
    }
}
