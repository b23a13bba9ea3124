#include "shell/work.h"

#include <algorithm>
#include <optional>

#include "controller/commands.h"
#include "controller/serial_link.h"
#include "import/shapes.h"
#include "platform/clock.h"
#include "platform/exit.h"
#include "platform/files.h"
#include "platform/idle.h"
#include "platform/signals.h"
#include "platform/text.h"
#include "platform/window_system.h"
#include "records/history.h"
#include "records/job.h"
#include "records/notice.h"
#include "records/progdir.h"
#include "records/progress.h"
#include "sequencing/jobend.h"
#include "sequencing/jobrun.h"
#include "sequencing/resume.h"
#include "sequencing/trace.h"
#include "shell/jobs.h"
#include "shell/status.h"
#include "shell/window_state.h"

namespace {

WindowSystem& ws() { return window_system(); }

std::string current_what;   // the machine work under way, for the status line
bool ended_told = false;    // job_ended or notching_ended has said how it ended
bool close_wanted = false;
bool work_active = false;   // inside machine_work
int walls_shown = -1;       // walls made at the last repaint of the figure
int tenths_shown = -1;      // tenths of an inch fed the progress bar shows
constexpr long kWaitShownAfter = 2;  // seconds without an answer before the status line says so

std::string start_point_text() {
    int first = 0, terminator = 0;
    if (!find_figure(shapes.selected, first, terminator)) return "";
    return strprintf("(%.3f, %.3f)", shapes.p1[first], shapes.p2[first]);
}

HistoryLine history_of(const std::string& result) {
    const Progress& p = progress;
    const Counters& now = counters;
    HistoryLine h;
    h.started = p.started_at;
    h.ended = p.running ? std::time(nullptr) : p.ended_at;
    h.walls = p.work == Progress::Work::job ? p.walls : p.wall;
    h.planned = p.planned;
    h.fed = p.fed - p.fed_before;
    h.notch30 = 0LL + now.notch30 - p.at_start.notch30;
    h.notch100 = 0LL + now.notch100 - p.at_start.notch100;
    h.dimples = 0LL + now.dimples - p.at_start.dimples;
    h.indicates = 0LL + now.indicates - p.at_start.indicates;
    h.flanges = 0LL + now.flanges - p.at_start.flanges;
    h.sheers = 0LL + now.sheers - p.at_start.sheers;
    // The rest of a job that had stopped says so.
    h.result = resumed.active ? result + ", resumed" : result;
    if (p.work == Progress::Work::job) {
        h.drawing = win.drawing;
        h.figure = p.figure;
        h.start_point = start_point_text();
        h.divide_point = job.toggle == 0 ? job.pause : 0;
        h.images = p.letter_cut && !(resumed.active && resumed.letter_counted) ? 1 : 0;
        h.counted = p.counted;
    }
    return h;
}

// The job history's result of a stopped job: "stopped by operator", or by
// what ended the program ("stopped by SIGHUP").
std::string stopped_result() {
    std::string by = stopped_by();
    return by == "the operator" ? "stopped by operator" : "stopped by " + by;
}

// However the program ends during a job, only the material fed stays counted,
// the history keeps its line and trace.txt says where the work stopped (Qt
// ends the program itself, inside a wait, when the display goes away).
void history_at_program_end() {
    if (!progress.running) return;
    if (termination_requested())
        trace_end(progress.work == Progress::Work::job ? where_stopped() : notching_stopped_text());
    close_trace();
    if (progress.work == Progress::Work::job) {
        count_only_material_fed();
        flush_log();
    }
    if (progress.work == Progress::Work::job || progress.work == Progress::Work::notching)
        append_history(
            history_of(termination_requested() ? stopped_result() : "controller lost"));
}

// Answers and noise that came while no answer was awaited, since `answers`
// and `noise` were counted.
void tell_dropped_input(long answers, long noise) {
    answers = com.stray_answers - answers;
    noise = com.noise - noise;
    if (answers == 0 && noise == 0) return;
    std::string what;
    if (answers != 0)
        what = strprintf("%ld answer%s that no command waited for", answers,
                         answers == 1 ? "" : "s");
    if (noise != 0)
        what += strprintf("%s%ld other byte%s", what.empty() ? "" : " and ", noise,
                          noise == 1 ? "" : "s");
    notice("The controller sent " + what +
           ". They were dropped before the next command, so that each command waited for "
           "its own answer. A controller that answers twice or a noisy serial line does this: "
           "check the cable and the controller's program. ctrace.txt in " + directory +
           " shows them on its \"dropped->\" lines.");
}

// A controller that has not answered for a while: the operator sees the
// numbers stand still because the machine waits, and for how long it may.
std::string answer_wait_text() {
    long waited = progress.waited_s;
    if (waited < kWaitShownAfter) return "";
    return strprintf(", no answer from the controller for %ld s (it is given 20 s)", waited);
}

void report() {
    const Progress& p = progress;
    if (!p.running) return;
    status_line.work = work_text();
    show_status();
    int tenths = static_cast<int>(std::min(p.fed, p.planned) * 10);
    if (p.planned > 0 && tenths != tenths_shown) {
        tenths_shown = tenths;
        ws().set_progress(tenths, static_cast<int>(p.planned * 10));
    }
    if (p.work == Progress::Work::job && p.wall != walls_shown) {
        walls_shown = p.wall;
        ws().invalidate();
    }
}

}  // namespace

bool machine_ready() {
    if (com.ready) return true;
    std::string why = win.startup_failure;
    if (!why.empty() && why.back() == '.') why.pop_back();
    notice("Nothing was sent to the machine: no controller answered when the program started (" +
           why + "). Check the connection with zel --check.");
    return false;
}

void machine_work(const std::string& what, const std::function<void()>& work) {
    current_what = what;
    work_active = true;
    ended_told = false;
    walls_shown = -1;
    tenths_shown = -1;
    progress.stop_requested = false;
    begin_work(Progress::Work::other, 0, 0, 0.0f);
    at_program_end(history_at_program_end);
    status_line.work = what;
    show_status();
    ws().set_busy(true);
    show_offers();
    std::optional<ControllerLost> lost;
    long answers = com.stray_answers, noise = com.noise;
    try {
        work();
        if (!ended_told) status_line.work = what + " done";
    } catch (const OperatorStop&) {
        status_line.work = what + " stopped by the operator";
        notice(status_line.work);
    } catch (const JobStopped& stopped) {
        status_line.work = what + " stopped";
        notice(stopped.why);
    } catch (const NoController&) {
        status_line.work = what + " not started";
        notice("Nothing was sent to the machine: the serial port is not open.");
    } catch (const ControllerLost& l) {
        lost = l;
        status_line.work = what + " stopped: the controller was lost";
        if (progress.work == Progress::Work::job || progress.work == Progress::Work::notching)
            append_history(history_of("controller lost"));
    }
    reset_resume();
    end_work();
    flush_log();
    tell_dropped_input(answers, noise);
    work_active = false;
    current_what.clear();
    ws().set_busy(false);
    ws().set_progress(0, 0);
    show_status();
    ws().invalidate();
    if (close_wanted) {
        close_wanted = false;
        ws().destroy_window();
        return;
    }
    if (lost) after_lost_controller(*lost);
}

void request_stop() {
    if (work_active) progress.stop_requested = true;
}

bool work_running() { return work_active; }

void close_after_work() {
    close_wanted = true;
    request_stop();
}

bool close_pending() { return close_wanted; }

void job_ended(JobResult result) {
    const Progress& p = progress;
    ended_told = true;
    switch (result) {
    case JobResult::made:
        status_line.work = strprintf("Job done: figure %d, %d walls, %.1f in., ", p.figure, p.walls,
                                     p.planned) +
                           duration_text(p.ended_ms - p.started_ms);
        append_history(history_of("done"));
        break;
    case JobResult::refused:
        status_line.work = "Job refused: " + last_notice();
        begin_work(Progress::Work::job, shapes.selected, 0, 0.0f);
        end_work();
        append_history(history_of("refused: " + last_notice()));
        break;
    case JobResult::stopped:
        status_line.work = last_notice();
        append_history(history_of("stopped: " + last_notice()));
        break;
    case JobResult::stopped_by_operator:
        status_line.work = where_stopped() + ". Resume (F5) carries it on";
        notice(where_stopped());
        append_history(history_of(stopped_result()));
        break;
    case JobResult::lost: break;  // machine_work says so
    }
    show_status();
}

void notching_ended(JobResult result) {
    const Progress& p = progress;
    ended_told = true;
    if (result == JobResult::refused) {
        status_line.work = "Notching run refused: " + last_notice();
    } else if (result == JobResult::stopped) {
        status_line.work = last_notice();
        append_history(history_of("stopped: " + last_notice()));
    } else if (result == JobResult::stopped_by_operator) {
        notice(notching_stopped_text());
        status_line.work = notching_stopped_text() + ". Resume (F5) carries it on";
        append_history(history_of(stopped_result()));
    } else {
        status_line.work = strprintf("Notching run done: %.1f in., %d notches, ", p.planned,
                                     p.wall) +
                           duration_text(p.ended_ms - p.started_ms);
        append_history(history_of("done"));
    }
    show_status();
}

std::string work_text() {
    const Progress& p = progress;
    long long elapsed = monotonic_ms() - p.started_ms;
    std::string time = ", " + duration_text(elapsed);
    float fed = p.fed - p.fed_before;  // in the time elapsed
    if (fed > 0 && p.planned > p.fed)
        time += ", about " +
                duration_text(static_cast<long long>(elapsed * (p.planned - p.fed) / fed)) +
                " left";
    std::string image = p.images > 1 ? strprintf(", image %d of %d", p.image, p.images) : "";
    image += answer_wait_text();
    switch (p.work) {
    case Progress::Work::job:
        if (p.wall >= p.walls)
            return strprintf("Job: figure %d, finishing the strip, %.1f of %.1f in.", p.figure,
                             p.fed, p.planned) +
                   time + image;
        return strprintf("Job: figure %d, wall %d of %d, %.1f of %.1f in.", p.figure, p.wall + 1,
                         p.walls, p.fed, p.planned) +
               time + image;
    case Progress::Work::notching:
        return strprintf("Notching run: %.1f of %.1f in., %d notches", p.fed, p.planned, p.wall) +
               time;
    default: return current_what + time;
    }
}

void report_work_progress() { set_progress_reporter(report); }

void reset_work() {
    current_what.clear();
    ended_told = false;
    close_wanted = false;
    work_active = false;
    walls_shown = -1;
    tenths_shown = -1;
}
