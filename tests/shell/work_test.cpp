// Machine work from the window: Stop, Esc and the close box during a job, the
// lost controller, the job history, the progress shown, and commands refused
// without a controller.
#include <algorithm>

#include "controller/serial_link.h"
#include "platform/clock.h"
#include "platform/exit.h"
#include "platform/signals.h"
#include "platform/text.h"
#include "records/job.h"
#include "records/notice.h"
#include "records/progress.h"
#include "records/settings.h"
#include "resources/resources.h"
#include "shell/status.h"
#include "shell/window.h"
#include "shell/window_state.h"
#include "shell/work.h"
#include "tests/import/drawing.h"
#include "tests/support/machine.h"
#include "tests/support/ui.h"
#include "tests/support/window.h"

namespace {

using Lines = std::vector<std::string>;

class Work : public WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        Drawing d;  // a 10 in. square, counter-clockwise
        d.polyline().vertex(0, 0).vertex(10, 0).vertex(10, 10).vertex(0, 10).seqend();
        write("square.dxf", d.text());
    }
    void start() {
        drawing_path = dir.file("square.dxf");
        WindowTest::start(drawing_path);
    }
    // The window gets `m` while the `nth` command `sent` is in flight.
    void during(const std::string& sent, int nth, Message m) {
        serial_sim.after_command = [=](const std::string& c) mutable {
            if (c == sent + "\r" && --nth == 0) zelWndProc(m);
        };
    }
    Lines history() { return trace_lines(read("jobs.csv")); }
    static std::string dir_drawing() { return drawing_path; }
    static inline std::string drawing_path;
};

TEST_F(Work, EscStopsTheJobAndEverythingSaysWhere) {
    start();
    during("I,0", 2, {WindowMessage::command, IDM_STOP});
    command(IDM_RUN_TOOL);
    const std::string where = "Job stopped by the operator at wall 3 of 4, 19.920 in. fed";
    EXPECT_EQ(job_trace().back(), where);
    EXPECT_NE(ws.status.find(where), std::string::npos) << ws.status;
    ASSERT_FALSE(ws.boxes.empty());
    EXPECT_EQ(ws.boxes.back().text, where);
    EXPECT_EQ(ws.boxes.back().caption, "ZEL");
    EXPECT_EQ(counters.images, 0);  // not made, not counted
    EXPECT_EQ(ws.busy, (std::vector<bool>{true, false}));
    Lines h = history();
    ASSERT_EQ(h.size(), 2u);  // the header, then one line for the job
    EXPECT_EQ(h[0].rfind("start,end,drawing,figure,start point,", 0), 0u);
    EXPECT_NE(h[1].find(",1,\"(0.000, 0.000)\",,4,39.839,19.920,3,0,0,2,0,0,0,stopped by operator,"
                        "19.920"),
              std::string::npos)
        << h[1];
}

TEST_F(Work, TheCloseBoxDuringAJobStopsItThenCloses) {
    start();
    during("N,0", 1, {WindowMessage::close});
    command(IDM_RUN_TOOL);
    EXPECT_NE(job_trace().back().find("stopped by the operator"), std::string::npos);
    EXPECT_TRUE(ws.destroyed);
}

TEST_F(Work, ALostControllerIsExplainedAndTheHistoryKeepsTheJob) {
    SimOptions silent;
    silent.silent_after = 6;
    serial_sim.set_options(silent);
    start();
    ws.choices = {"E&xit"};
    try {
        command(IDM_RUN_TOOL);
        FAIL() << "the program went on";
    } catch (const ProgramEnded& end) {
        EXPECT_EQ(end.status, -1);
    }
    EXPECT_NE(history().back().find(",controller lost"), std::string::npos);
    ASSERT_FALSE(ws.asked.empty());
    EXPECT_EQ(ws.asked.back().buttons,
              (Lines{"&Connect", "C&ontinue after connecting", "E&xit"}));
    const std::string& text = ws.asked.back().text;
    for (const char* part : {"/dev/ttyS0 did not answer \"M,-2026.822998\" within 20 seconds",
                             "The job on figure 1 had made 1 of 4 walls (9.973 of 39.839 in.)",
                             "counted: 1 30-degree notch, 1 indicate mark", "ctrace.txt"})
        EXPECT_NE(text.find(part), std::string::npos) << part << " in " << text;
}

// A controller that keeps the machine waiting: after two seconds the status
// line says so, and how long it is given.
TEST_F(Work, ASilentControllersWaitIsShown) {
    start();
    begin_work(Progress::Work::job, 1, 4, 39.8f);
    progress.waited_s = 1;
    EXPECT_EQ(work_text().find("no answer"), std::string::npos);
    progress.waited_s = 7;
    EXPECT_NE(work_text().find(", no answer from the controller for 7 s (it is given 20 s)"),
              std::string::npos)
        << work_text();
    end_work();
}

// A controller that answers twice: each command still waits for its own
// answer, the one no command awaited is dropped and traced, and the operator
// is told at the end of the work.
TEST_F(Work, AnAnswerNoCommandAwaitedIsDroppedTracedAndTold) {
    start();
    SimOptions twice;
    twice.answer_twice = true;
    serial_sim.set_options(twice);
    sim().clear_log();
    command(IDM_RUN_TOOL);
    Lines traced = trace_lines(read("ctrace.txt"));
    const long commands = static_cast<long>(machine().size());
    EXPECT_EQ(commands, 28);  // the job, as with one answer each
    // Every answer but the last one's twin, dropped before the next command.
    EXPECT_EQ(std::count(traced.begin(), traced.end(), "dropped-> D\r"), commands - 1);
    EXPECT_EQ(com.stray_answers, commands - 1);
    ASSERT_FALSE(ws.boxes.empty());
    EXPECT_EQ(ws.boxes.back().text.rfind("The controller sent 27 answers that no command waited "
                                         "for. They were dropped before the next command",
                                         0),
              0u)
        << ws.boxes.back().text;
}

// However a job ends, log.dat counts only the inches of the letter fed, the
// job history says so in its last column, and a letter sheared off is an image.
TEST_F(Work, EveryWayAJobEndsCountsTheLetterFed) {
    struct Case {
        const char* how;
        const char* stop_at;  // Stop while this command is in flight
        int nth;
        int silent_after;     // the controller is lost after this many answers
        float home;           // a move the machine cannot make
        const char* ends;     // the job history's images, result and inches counted
    };
    const Case cases[] = {
        {"made", "", 0, -1, 2.5f, ",1,done,39.839"},
        {"stopped", "I,0", 2, -1, 2.5f, ",0,stopped by operator,19.920"},
        {"stopped once sheared", "S,0", 1, -1, 2.5f, ",1,stopped by operator,39.839"},
        {"a move refused", "", 0, -1, 1e30f, ",0,\"stopped: The strip move M,-99"},
        {"controller lost", "", 0, 6, 2.5f, ",0,controller lost,9.973"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.how);
        SimOptions o;
        o.silent_after = c.silent_after;
        serial_sim.set_options(o);
        sim().clear_log();
        std::remove(dir.file("job-interrupted").c_str());  // nothing to offer
        ws.choices = {"E&xit"};  // when the controller is lost
        start();
        settings.home = c.home;
        if (*c.stop_at) during(c.stop_at, c.nth, {WindowMessage::command, IDM_STOP});
        const Counters before = counters;
        try {
            command(IDM_RUN_TOOL);
        } catch (const ProgramEnded&) {
            run_program_end_steps();  // as the program's end does
        }
        serial_sim.after_command = nullptr;
        settings.home = 2.5f;
        std::string line = history().back();
        line.pop_back();  // its carriage return
        const std::string counted = line.substr(line.rfind(',') + 1);
        EXPECT_NE(line.find(c.ends), std::string::npos) << line;
        EXPECT_EQ(strprintf("%.3f", counters.inches - before.inches), counted);
        EXPECT_EQ(counters.images - before.images, c.ends[1] - '0');
        EXPECT_EQ(read("log.dat"), format_log());
    }
}

// Qt ends the program itself, inside a wait, when the display goes away: the
// end's steps still say in trace.txt and the history where the job stopped.
// (The request to end stays for the rest of the process: ctest runs each test alone.)
TEST_F(Work, AnEndInsideAWaitStillTracesWhereTheJobStopped) {
    start();
    serial_sim.after_command = [n = 2](const std::string& c) mutable {
        if (c != "I,0\r" || --n != 0) return;
        terminate_for(kDisplayLost);
        throw ProgramEnded{1, "exit(1) in Qt"};
    };
    try {
        command(IDM_RUN_TOOL);
    } catch (const ProgramEnded&) {
        run_program_end_steps();
    }
    serial_sim.after_command = nullptr;
    EXPECT_EQ(job_trace().back(),
              "Job stopped by the loss of the display at wall 2 of 4, 19.920 in. fed");
    EXPECT_NE(history().back().find(",stopped by the loss of the display,"), std::string::npos)
        << history().back();
}

TEST_F(Work, EveryJobAndNotchingRunHasItsLine) {
    start();
    command(IDM_RUN_TOOL);
    ws.scripts.push_back({type(212, "1"), type(213, "2"), press(IDOK)});
    command(IDM_RUN);
    settings.direction = 0;
    command(IDM_RUN_TOOL);
    Lines h = history();
    ASSERT_EQ(h.size(), 4u);  // the header and three runs
    EXPECT_NE(h[1].find(",1,\"(0.000, 0.000)\",,4,39.839,"), std::string::npos) << h[1];
    EXPECT_NE(h[1].find(",1,done"), std::string::npos) << h[1];
    EXPECT_NE(h[2].find(",,,,2,2.000,"), std::string::npos) << h[2];  // 2 notches of 2 in.
    EXPECT_NE(h[2].find(",0,done"), std::string::npos) << h[2];
    EXPECT_NE(h[3].find(",0,refused: The forming direction"), std::string::npos) << h[3];
    EXPECT_EQ(h[1].find(dir.file("square.dxf")), 52u);  // after the two times
}

TEST_F(Work, TheHistoryIsATableWhoseShownRowsExportAsJobsCsvHoldsThem) {
    start();
    command(IDM_RUN_TOOL);
    ws.scripts.push_back({type(212, "1"), type(213, "2"), press(IDOK)});
    command(IDM_RUN);
    ws.save_file_choice = dir.file("shown.csv");
    ws.table_script = [](TableSource& source) {
        TableChoice only_the_square{"", dir_drawing(), -1, false};
        TableContent t = source.content(only_the_square);
        EXPECT_EQ(t.headings, (std::vector<std::string>{
                                  "Start", "Drawing", "Figure", "Result", "Inches of the letter",
                                  "Inches fed", "Inches in the log", "Walls", "End", "30° notches",
                                  "100° notches", "Dimples", "Indicates", "Flange bends", "Shears",
                                  "Images", "Start point", "Divide point"}));
        EXPECT_NE(t.tips.at(5).find("lead-in to the shear"), std::string::npos);
        ASSERT_EQ(t.rows.size(), 1u);  // the notching run has no drawing
        EXPECT_EQ(t.totals.rfind("1 job, 39.8 in. of the letter (3.3 ft), ", 0), 0u) << t.totals;
        EXPECT_EQ(t.drawings, std::vector<std::string>{dir_drawing()});
        TableChoice by_inches_of_the_letter{"", "", 4, false};  // a column as shown
        EXPECT_EQ(source.content(by_inches_of_the_letter).rows.at(0).at(4), "2.000");
        source.export_rows(only_the_square);
    };
    command(IDM_JOB_HISTORY);
    EXPECT_EQ(ws.tables, Lines{"Job history"});
    Lines h = history(), shown = trace_lines(read("shown.csv"));
    EXPECT_EQ(shown, (Lines{h[0], h[1]}));
    EXPECT_NE(ws.status.find("1 jobs of the history written to "), std::string::npos);
}

TEST_F(Work, ADoneJobAndAStrokeAreSaidInTheStatusLine) {
    start();
    command(IDM_RUN_TOOL);
    EXPECT_EQ(ws.status.rfind("Controller ready on /dev/ttyS0   |   Job done: figure 1, 4 walls, "
                              "39.8 in., ", 0),
              0u)
        << ws.status;
    command(IDM_SHEER);
    EXPECT_EQ(status_line.work, "Sheer done");
}

TEST_F(Work, ProgressAfterSomeOfTheWalls) {
    progress = Progress{};
    progress.work = Progress::Work::job;
    progress.running = true;
    progress.figure = 2;
    progress.wall = 25;
    progress.walls = 100;
    progress.planned = 120.0f;
    progress.fed = 30.0f;
    progress.image = 2;
    progress.images = 3;
    progress.started_ms = monotonic_ms() - 40000;
    EXPECT_EQ(work_text(), "Job: figure 2, wall 26 of 100, 30.0 of 120.0 in., 40 s, about 2 min "
                           "0 s left, image 2 of 3");
    progress.wall = 100;
    EXPECT_EQ(work_text().rfind("Job: figure 2, finishing the strip, 30.0 of 120.0 in.", 0), 0u);
    progress.work = Progress::Work::notching;
    progress.wall = 40;
    EXPECT_EQ(work_text().rfind("Notching run: 30.0 of 120.0 in., 40 notches, 40 s", 0), 0u);
}

TEST_F(Work, WithoutAControllerNothingIsSent) {
    SimOptions never_ready;
    never_ready.handshake = '?';
    never_ready.restart_helps = false;
    serial_sim.set_options(never_ready);
    ws.choices = {"C&lose"};
    start();
    serial_sim.clear_log();
    take_notices();
    for (int id : {IDM_RUN_TOOL, IDM_SHEER, IDM_NOTCH30, IDM_MOVE, IDM_RUN, IDM_COVER_OPEN})
        command(id);
    EXPECT_TRUE(machine().empty());
    EXPECT_TRUE(ws.dialogs.empty());  // not even the distance is asked for
    Lines notes;
    for (const auto& b : ws.boxes) notes.push_back(b.text);
    EXPECT_EQ(std::count_if(notes.begin(), notes.end(),
                            [](const std::string& t) {
                                return t.rfind("Nothing was sent to the machine: no controller "
                                               "answered when the program started (The Slo-Syn "
                                               "controller on /dev/ttyS0 never answered",
                                               0) == 0;
                            }),
              6);
}

}  // namespace
