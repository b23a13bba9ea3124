#include "sequencing/jobend.h"

#include "controller/commands.h"
#include "controller/replay.h"
#include "controller/tools.h"
#include "import/shapes.h"
#include "planning/walls.h"
#include "platform/text.h"
#include "records/job.h"
#include "records/notice.h"
#include "records/prodlog.h"
#include "records/progress.h"
#include "records/settings.h"
#include "sequencing/feed.h"
#include "sequencing/queue.h"
#include "sequencing/resume.h"
#include "sequencing/trace.h"

// Without a planned wall (a notching run before any job) there is no last wall:
// it counts as a short one, so that the trailer is fed.
bool last_wall_is_short() {
    int w = wall_list.walls;
    if (w <= 0 || w > kShapeEntries) return true;
    return !(wall_list.l_a_dimensions[w - 1] >= 9.0f);
}

void finish_strip(bool letter) {
    seq.end_sequence = 1;
    if (settings.bend_output != 0 && ((settings.tab & 2) != 0 || last_wall_is_short())) {
        feed(10.0f);
        trace(texts::feed_trailer);
        push(settings.nd);
    }
    feed(12.0f);
    trace(texts::bend_cycle);
    bend();
    // The shear distance stays in `foot`, in the controller's units, and takes
    // part in the feed case of the rewind that may follow.
    float s = settings.cutter + 12.0f;
    trace(texts::feed_sheer, s);
    seq.foot = controller_units(s);
    run_move(seq.foot);
    trace(texts::sheer_cycle);
    sheer();
    if (letter) progress.letter_cut = true;
    seq.end_sequence = 0;
    if (homes_machine())
        Home();
    else
        feed(-settings.rw);
}

std::string punch_refusal(float notch_length, float total_length) {
    if (!(total_length > 0.0f && total_length <= kTravelLimit))
        return strprintf("Total inches of material must be more than 0 and at most %g (it is "
                         "%.3f); the notching run was not started",
                         kTravelLimit, total_length);
    if (!(notch_length > 0.0f))
        return strprintf("Inches between notches must be more than 0 (it is %.3f); "
                         "the notching run was not started",
                         notch_length);
    if (!(total_length - notch_length < total_length))
        return strprintf("%.3f inches between notches is too small a step for %.3f inches of "
                         "material; the notching run was not started",
                         notch_length, total_length);
    return "";
}

void punch() {
    if (!punch_refusal(job.notch_length, job.total_length).empty()) return;
    countdown_start();
    seq.end_sequence = 0;
    while (job.total_length > 0.0f) {
        feed(job.notch_length);
        trace(texts::fire30);
        notch();
        job.total_length -= job.notch_length;
        ++progress.wall;
    }
    finish_strip();
}

std::string notching_stopped_text() {
    return "Notching run stopped by " + stopped_by() +
           strprintf(" after %d notches, %.3f in. fed", progress.wall, progress.fed);
}

JobResult notching_run() {
    std::string why = strip_move_refusal();
    if (why.empty()) why = punch_refusal(job.notch_length, job.total_length);
    if (!why.empty()) {
        notice(why);
        return JobResult::refused;
    }
    JobResult result = JobResult::made;
    begin_log_period();
    begin_work(Progress::Work::notching, 0, 0, job.total_length);
    ledger.answered = 0;
    record_work(Interrupted::Work::notching);
    bool trace_made = false;
    auto over = [](JobResult r) {
        close_trace();
        end_work();
        record_work_end(r);
        flush_log();
    };
    try {
        home_to_notcher();
        queue_reset();
        trace_made = true;
        open_trace();
        punch();
    } catch (const JobStopped& stopped) {
        report(stopped);
        result = JobResult::stopped;
    } catch (const OperatorStop&) {
        result = JobResult::stopped_by_operator;
        if (!trace_made) open_trace();
        trace_end(notching_stopped_text());
    } catch (const ControllerLost&) {
        over(JobResult::lost);
        throw;
    }
    over(result);
    return result;
}

void breakpoint(int direction) {
    int first = 0, terminator = 0;
    if (!find_figure(shapes.selected, first, terminator)) return;
    int n = 1;
    for (int i = first; i < terminator; ++i) n += shapes.tp[i] == kArc ? 2 : 1;
    if (direction < 0) {
        if (--job.pause < 0) job.pause = n;
    } else {
        if (++job.pause == n) job.pause = 0;
    }
}
