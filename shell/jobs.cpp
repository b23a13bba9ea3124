#include "shell/jobs.h"

#include <cctype>
#include <cerrno>
#include <cstring>

#include "controller/replay.h"
#include "controller/serial_link.h"
#include "import/dxf.h"
#include "import/select.h"
#include "import/shapes.h"
#include "platform/exit.h"
#include "platform/text.h"
#include "platform/window_system.h"
#include "records/interrupted.h"
#include "records/job.h"
#include "records/notice.h"
#include "records/progdir.h"
#include "records/progress.h"
#include "records/settings.h"
#include "resources/resources.h"
#include "sequencing/jobend.h"
#include "sequencing/resume.h"
#include "shell/status.h"
#include "shell/window.h"
#include "shell/window_state.h"
#include "shell/work.h"

namespace {

WindowSystem& ws() { return window_system(); }

// The record in memory was read at start: the counts it holds are the ones
// to carry on from.
bool record_from_file = false;

bool resumable() {
    return interrupted.work != Interrupted::Work::none && interrupted.void_reason.empty();
}

// One image of the run: k of m.
bool made_and_counted(int k, int m) {
    if (progress.stop_requested) return false;
    progress.image = k;
    progress.images = m;
    JobResult result = make_job();
    // A Stop that comes once the letter is sheared off leaves it whole; a
    // letter counted before a stop is not counted again.
    if (progress.letter_cut && !(resumed.active && resumed.letter_counted)) {
        count_one(counters.images);
        write_log();
        record_image_counted();
    }
    job_ended(result);
    reset_resume();
    return result == JobResult::made;
}

// Images `first` to `count` of a run: the selected figure each time, or with
// `whole` every figure in turn from the selected one. An image that is not
// made ends the run with its figure selected.
void make_images(int first, int count, bool whole) {
    for (int k = first; k <= count; ++k) {
        if (!made_and_counted(k, count)) return;
        if (whole) {
            shapes.selected = shapes.selected >= shapes.objects ? 1 : shapes.selected + 1;
            ws().invalidate();
        }
    }
}

// After a run: a stopped job keeps its figure, start point, divide point and
// repetitions, so that it can be carried on as it was.
void after_run() {
    if (!resumable()) back_to_start_point_mode();
    show_offers();
    ws().invalidate();
}

// The operator says whether the machine made the command the controller
// never answered.
bool was_made(const std::string& what) {
    std::string text =
        "The controller did not answer the " + what + " the job sent last, so ZEL cannot tell "
        "whether the machine made it. Look at the strip and the machine.\n\n"
        "Done: the machine made the " + what + "; it is counted and the job carries on with "
        "the command after it.\nNot done: the " + what + " is sent again.";
    int k = ws().choose(text, "Was the " + what + " made?", {"&Done", "&Not done"}, -1, -1);
    // No answer (the display went away): the job stops with the command still in doubt.
    if (k < 0) throw OperatorStop{};
    return k == 0;
}

void carry_on() {
    bool from_file = record_from_file;
    record_from_file = false;
    Interrupted r = interrupted;
    if (r.work == Interrupted::Work::notching) {
        machine_work("Notching run", [from_file] {
            prepare_resume(from_file);
            ledger.was_made = was_made;
            notching_ended(notching_run());
            reset_resume();
        });
    } else {
        machine_work("Job", [r, from_file] {
            prepare_resume(from_file);
            ledger.was_made = was_made;
            make_images(r.image, r.images, r.whole_job == 1);
        });
    }
    reset_resume();
    after_run();
}

// The drawing, figure, start point and divide point of the record, as the
// window shows them. Empty when they are set; else why not.
std::string restore_plan(const Interrupted& r) {
    if (shapes.PointsLoaded == 0 || drawing_notes.path != r.drawing) {
        if (!open_drawing(r.drawing))
            return r.drawing + " cannot be opened (" + std::strerror(errno) +
                   "): the interrupted job cannot be continued without it.";
        ws().invalidate();
    }
    if (r.figure >= 1 && r.figure <= shapes.objects) {
        shapes.selected = r.figure;
        int first = 0, terminator = 0;
        find_figure(r.figure, first, terminator);
        for (int k = first; k < terminator && figure_digest(r.figure) != r.figure_digest; ++k)
            rotate(1, r.figure);
    }
    job.toggle = r.divide_point > 0 ? 0 : 1;
    job.pause = r.divide_point;
    job.whole_job = r.whole_job;
    job.repeat_count = r.whole_job ? 1 : r.images;
    ws().invalidate();
    return "";
}

// The port opened again and the controller started, the status line following.
StartupResult connect_again() {
    status_line.machine = "Connecting to the controller on " + port_device(settings.port) + "...";
    show_status();
    return reconnect_machine();
}

void continue_interrupted() {
    if (!com.ready && !connect_command()) {
        notice("The interrupted job is kept: once the controller answers (Connect), Resume (F5) "
               "continues it.");
        return;
    }
    if (interrupted.work == Interrupted::Work::job) {
        if (std::string why = restore_plan(interrupted); !why.empty()) {
            notice(why);
            return;
        }
    }
    resume_command();
}

}  // namespace

void reset_jobs() { record_from_file = false; }

void run_tool() {
    if (win.cover == 0) {
        show_message("Must reset tool");
    } else if (shapes.PointsLoaded != 0 && machine_ready()) {
        // A new job: the stopped one is put aside.
        if (interrupted.work != Interrupted::Work::none) retire_interrupted();
        record_from_file = false;
        bool whole = job.whole_job == 1;
        int count = whole ? shapes.objects : job.repeat_count;
        machine_work("Job", [whole, count] { make_images(1, count, whole); });
        after_run();
    }
    ws().invalidate();
}

void resume_command() {
    if (work_running()) return;
    std::string why = resume_refusal();
    if (!why.empty()) {
        notice(why);
        return;
    }
    if (win.cover == 0) {
        notice("The tool must be reset first: press Reset tool, then Resume (F5).");
        return;
    }
    if (!machine_ready()) return;
    carry_on();
}

void offer_interrupted_job() {
    Interrupted r;
    std::string why;
    if (!read_interrupted(r, why)) {
        if (!why.empty()) notice(why);
        return;
    }
    std::string what = r.work == Interrupted::Work::job ? "job on " : "";
    std::string text =
        "Continue the interrupted " + what + interrupted_text(r) + "?\n\n"
        "First check that the strip is in the machine as the job left it. Continue makes the "
        "job again up to the last command the controller answered, without sending it, and "
        "carries on from there. Decline keeps the record as " + std::string(kDeclinedFile) +
        " and starts nothing.";
    interrupted = r;  // the walls it made show on the figure meanwhile
    ws().invalidate();
    int k = ws().choose(text, "Interrupted job", {"&Continue", "&Decline"}, 0, 1);
    if (k < 0) return;  // no answer: the record stays for the next start
    if (k != 0) {
        retire_interrupted();
        show_offers();
        return;
    }
    record_from_file = true;
    continue_interrupted();
    show_offers();
}

bool connect_command() {
    if (work_running()) return false;
    StartupResult r = connect_again();
    win.startup_failure = startup_failure_words(r);
    if (r.outcome == Startup::ready) win.cover = galil() ? 0 : 1;
    show_machine(r);
    if (r.outcome != Startup::ready)
        notice(win.startup_failure + " " + startup_failure_advice(r));
    show_offers();
    return r.outcome == Startup::ready;
}

void show_machine(const StartupResult& r) {
    status_line.machine = r.outcome != Startup::ready ? "No controller: " + win.startup_failure
                          : win.simulated             ? "Simulated machine"
                                                      : "Controller ready on " + com.device;
    show_status();
}

void offer_connect_at_start(const StartupResult& r) {
    StartupResult now = r;
    while (now.outcome != Startup::ready) {
        std::string advice = startup_failure_advice(now);
        if (now.outcome == Startup::port_failed)
            advice += " Tools, Serial port... lists the serial devices and links the one picked.";
        const std::string& why = win.startup_failure;
        std::string heading = now.outcome == Startup::port_failed
                                  ? "*** Error initializing com port\n\n"
                              : now.outcome == Startup::no_answer
                                  ? "*** Error communicating with controller\n\n"
                                  : "";
        std::string text = heading + why + (!why.empty() && why.back() == '.' ? " " : ". ") +
                           advice +
                           "\n\nConnect tries again. Close goes on without the machine (Connect "
                           "stays at the foot of the window); Exit ends ZEL.";
        int k = ws().choose(text, "No controller", {"&Connect", "E&xit", "C&lose"}, 0, 2);
        if (k == 1) {
            ws().end_program(0);
            return;
        }
        if (k != 0) return;
        now = connect_again();
        win.startup_failure = startup_failure_words(now);
        show_machine(now);
    }
    win.cover = galil() ? 0 : 1;
    show_offers();
}

void after_lost_controller(const ControllerLost& lost) {
    win.startup_failure = lost.why;
    status_line.machine = "No controller: " + lost.why;
    show_status();
    show_offers();
    bool job_left = resumable();
    std::string why = lost.why;
    if (!why.empty()) why[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(why[0])));
    std::string text =
        why + ".\n\n" + lost.done + "\n\nCheck that the controller is switched on and that "
        "its cable is on this port. Connect opens the port and starts the controller again" +
        (job_left ? "; Continue after connecting then carries the job on from where it stopped"
                  : "") +
        ". Exit ends ZEL. ctrace.txt in " + directory + " shows the last bytes each way.";
    std::vector<std::string> buttons = {"&Connect", "E&xit"};
    if (job_left) buttons.insert(buttons.begin() + 1, "C&ontinue after connecting");
    int k = ws().choose(text, "The controller is lost", buttons, job_left ? 1 : 0, -1);
    if (k < 0 || buttons[k] == "E&xit") end_program(-1, lost.line);
    if (connect_command() && buttons[k] != "&Connect") resume_command();
}

void show_offers() {
    bool idle = !work_running();
    ws().show_command_button(IDM_RESUME, idle && resumable());
    ws().show_command_button(IDM_CONNECT, idle && !com.ready);
}

bool stopped_job_shown(int& elements) {
    const Interrupted& r = interrupted;
    if (r.work != Interrupted::Work::job || !resumable() || progress.running ||
        r.figure != shapes.selected || shapes.PointsLoaded == 0 ||
        r.element < -1 || drawing_notes.path != r.drawing ||
        figure_digest(r.figure) != r.figure_digest)
        return false;
    elements = r.element;
    return true;
}
