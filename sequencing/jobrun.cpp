#include "sequencing/jobrun.h"

#include <algorithm>

#include "controller/commands.h"
#include "controller/replay.h"
#include "controller/tools.h"
#include "import/shapes.h"
#include "planning/planner.h"
#include "planning/walls.h"
#include "platform/text.h"
#include "records/job.h"
#include "records/notice.h"
#include "records/prodlog.h"
#include "records/progress.h"
#include "records/settings.h"
#include "sequencing/feed.h"
#include "sequencing/jobend.h"
#include "sequencing/queue.h"
#include "sequencing/resume.h"
#include "sequencing/tooling.h"
#include "sequencing/trace.h"

namespace {

constexpr float kTab = 0.75f;
constexpr double kTripleSpacing = 0.25;

void leading_tab() {
    if ((settings.tab & 1) == 0) return;
    trace(texts::lead);
    feed(kTab);
    push(settings.nd);
}

void trailing_tab() {
    if ((settings.tab & 2) == 0) return;
    trace(texts::trail);
    push(settings.nd);
    feed(kTab);
    push(settings.nd);
}

void start_strip() {
    queue_reset();
    countdown_start();
}

void corner(float a) {
    switch (corner_kind(a)) {
    case Corner::notch:
        trace(texts::fire30);
        notch();
        break;
    case Corner::notch_and_indicate:
        trace(texts::fire30);
        notch();
        trace(texts::fire_indicate);
        indicate();
        break;
    case Corner::queue_one:
        trace(texts::queue_notch);
        push(settings.nd);
        break;
    case Corner::queue_three:
        for (int k = 0; k < 3; ++k) trace(texts::queue_notch);
        push(static_cast<float>(settings.nd - kTripleSpacing));
        push(settings.nd);
        push(static_cast<float>(settings.nd + kTripleSpacing));
        break;
    }
}

// The letter is made in two pieces: the first is finished here and the
// second starts as a new strip.
void divide() {
    trace(texts::force);
    f_notch();
    trailing_tab();
    finish_strip();
    strip_move(settings.home);
    start_strip();
    leading_tab();
}

void feed_walls() {
    WallList& w = wall_list;
    const int walls = planned_walls();
    for (w.walls = 0; w.walls < walls;) {
        feed(w.l_a_dimensions[w.walls]);
        corner(w.angles[w.walls]);
        ++w.walls;
        progress.wall = w.walls;
        if (job.toggle == 0 && w.walls == w.stop) divide();
    }
}

// The letter from its first home to the shear after its last wall.
void make_letter() {
    start_strip();
    home_to_notcher();
    leading_tab();
    feed_walls();
    trailing_tab();
    finish_strip(true);
}

// However the job ended: only the material fed stays counted when the letter
// is not whole, its record says how far it came, the counts go to the disk.
void job_over(JobResult result) {
    if (result != JobResult::made) count_only_material_fed();
    close_trace();
    end_work();
    record_work_end(result);
    flush_log();  // the machine stands still now: the counts go to the disk
}

}  // namespace

Corner corner_kind(float a) {
    if (a <= 15.0f && a >= -35.0f) return Corner::notch;
    if (a < -35.0f) return Corner::notch_and_indicate;
    if (a <= 100.0f) return Corner::queue_one;
    return Corner::queue_three;
}

bool plan_job() {
    seq.sk100 = 0;
    seq.end_sequence = 0;
    return plan_figure();
}

float Run_Job(int parm) {
    if (parm == 1) return plan_job() ? measure_walls() : 0;
    make_job();
    return 0;
}

std::string where_stopped() {
    const Progress& p = progress;
    std::string by = "Job stopped by " + stopped_by();
    if (p.letter_cut)
        return by + strprintf(" after the shear: the letter is made, all %d walls, %.3f in. fed",
                              p.walls, p.fed);
    if (p.wall < p.walls)
        return by + strprintf(" at wall %d of %d, %.3f in. fed", p.wall + 1, p.walls, p.fed);
    return by + strprintf(" while finishing the strip, after all %d walls, %.3f in. fed", p.walls,
                          p.fed);
}

std::string where_lost() {
    const Progress& p = progress;
    return strprintf("Job stopped: the controller was lost at wall %d of %d, %.3f in. fed",
                     std::min(p.wall + 1, p.walls), p.walls, p.fed);
}

std::string job_refusal() {
    if (settings.direction != 1)
        return "The forming direction in setup.dat is " + std::to_string(settings.direction) +
               "; jobs are made only with forming direction 1. The job was not started";
    return strip_move_refusal();
}

bool strokes_on_paper(Counters& strokes) {
    const SeqState seq_before = seq;
    const WallList walls_before = wall_list;
    const Progress progress_before = progress;
    const CommandLedger ledger_before = ledger;
    seq.sk100 = 0;
    seq.end_sequence = 0;
    ledger.on_paper = &strokes;
    bool whole = true;
    try {
        make_letter();
    } catch (const JobStopped&) {
        whole = false;
    }
    seq = seq_before;
    wall_list = walls_before;
    progress = progress_before;
    ledger = ledger_before;
    return whole;
}

JobResult make_job() { return plan_job() ? run_planned_job() : JobResult::refused; }

JobResult run_planned_job() {
    std::string why = job_refusal();
    if (!why.empty()) {
        notice(why);
        return JobResult::refused;
    }
    begin_log_period();
    float total = 0;
    const int walls = planned_walls();
    for (int i = 0; i < walls; ++i) total += wall_list.l_a_dimensions[i];
    begin_work(Progress::Work::job, shapes.selected, walls, total);
    // A job carried on after a stop counts what the parts before it did not.
    float to_count = resumed.active ? total - resumed.counted_before : total;
    count_material(to_count);
    progress.counted = to_count;
    write_log();
    ledger.answered = 0;
    record_work(Interrupted::Work::job);

    open_trace();
    JobResult result = JobResult::made;
    try {
        make_letter();
    } catch (const JobStopped& stopped) {
        report(stopped);
        result = JobResult::stopped;
    } catch (const OperatorStop&) {
        trace_end(where_stopped());
        result = JobResult::stopped_by_operator;
    } catch (const ControllerLost&) {
        trace_end(where_lost());
        job_over(JobResult::lost);
        throw;
    }
    job_over(result);
    return result;
}
