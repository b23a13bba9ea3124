// Carrying on after a stop: a job stopped at any moment and resumed sends the
// controller exactly what the same job unstopped sends, and its trace, log
// and history come out the same; Resume is refused when anything changed.
#include <cmath>
#include <cstdio>
#include <functional>
#include <numeric>

#include "controller/serial_link.h"
#include "import/shapes.h"
#include "records/interrupted.h"
#include "records/job.h"
#include "records/notice.h"
#include "records/prodlog.h"
#include "records/settings.h"
#include "platform/exit.h"
#include "resources/resources.h"
#include "shell/window.h"
#include "shell/window_state.h"
#include "tests/import/drawing.h"
#include "tests/support/machine.h"
#include "tests/support/ui.h"
#include "tests/support/window.h"

namespace {

using Lines = std::vector<std::string>;

// The fields of a jobs.csv line.
Lines csv_fields(const std::string& line) {
    Lines out(1);
    bool quoted = false;
    for (char c : line) {
        if (c == '"') quoted = !quoted;
        else if (c == ',' && !quoted) out.emplace_back();
        else if (c != '\r') out.back() += c;
    }
    return out;
}

constexpr const char* kStartLog = "3 10 4 2 1 1 5 100.000000";

class Resume : public WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        settings.tab = 3;
        settings.bend_output = 1;
        Drawing d;  // a clockwise rectangle (queued 100-degree notches), a counter-clockwise square
        d.polyline().vertex(0, 0).vertex(0, 10).vertex(30, 10).vertex(30, 0).seqend();
        d.polyline().vertex(40, 0).vertex(50, 0).vertex(50, 10).vertex(40, 10).seqend();
        write("letters.dxf", d.text());
    }
    // A fresh machine folder's files, the window started on the drawing.
    void begin() {
        write("log.dat", kStartLog);
        for (const char* f : {"jobs.csv", "job-interrupted", "job-interrupted.1"})
            std::remove(dir.file(f).c_str());
        reset_job_options();
        start(dir.file("letters.dxf"));
        if (settings.model == 4) command(IDM_RESET_TOOL);
        sim().clear_log();
    }
    // The window gets Stop while the `nth` command `sent` is in flight.
    void stop_during(const std::string& sent, int nth) {
        serial_sim.after_command = [=](const std::string& c) mutable {
            if (c == sent + "\r" && --nth == 0) zelWndProc({WindowMessage::command, IDM_STOP});
        };
    }
    Lines history() {
        Lines lines = trace_lines(read("jobs.csv"));
        return Lines(lines.begin() + 1, lines.end());
    }
    // Inches fed, strokes, images and inches counted, summed over the lines.
    std::vector<double> sums(const Lines& lines) {
        std::vector<double> total(18, 0.0);
        for (const std::string& l : lines) {
            Lines f = csv_fields(l);
            for (int k : {8, 9, 10, 11, 12, 13, 14, 15, 17}) total[k] += std::stod(f.at(k));
        }
        for (double& t : total) t = std::round(t * 100) / 100;
        return total;
    }
};

TEST_F(Resume, StoppedAnywhereAndResumedTheMachineGetsWhatAnUnstoppedJobSends) {
    struct Case {
        const char* where;
        int model;
        std::function<void()> options;
        int run;  // IDM_RUN_TOOL or IDM_RUN (a notching run)
        const char* stop_at;
        int nth;
    };
    auto none = [] {};
    auto divided = [this] {
        command(IDM_DIVIDE);
        for (int k = 0; k < 2; ++k) command(IDM_START_PLUS);
    };
    auto notching = [this] {
        ws.scripts.push_back({type(212, "0.75"), type(213, "10"), press(IDOK)});
    };
    auto twice = [] { job.repeat_count = 2; };
    auto every_figure = [this] { command(IDM_CONTINUOUS); };
    const Case cases[] = {
        {"in a feed", 3, none, IDM_RUN_TOOL, "M,-12000.000000", 1},
        {"at a queued 100-degree notch", 3, none, IDM_RUN_TOOL, "V,0", 2},
        {"between the halves of a Galil move", 4, none, IDM_RUN_TOOL, "10", 4},
        {"in the job end", 3, none, IDM_RUN_TOOL, "B,0", 6},
        {"at the last shear", 1, none, IDM_RUN_TOOL, "S,0", 1},
        {"at the divide", 3, divided, IDM_RUN_TOOL, "S,0", 1},
        {"in a notching run", 3, notching, IDM_RUN, "N,0", 5},
        {"in a repeat run", 3, twice, IDM_RUN_TOOL, "V,0", 9},
        {"in a continuous run", 3, every_figure, IDM_RUN_TOOL, "I,0", 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.where);
        settings.model = c.model;
        begin();
        c.options();
        command(c.run);
        const std::string bytes = sim().received(), trace = read("trace.txt");
        const std::string log = read("log.dat");
        const Lines lines = history();

        begin();
        c.options();
        stop_during(c.stop_at, c.nth);
        command(c.run);
        serial_sim.after_command = nullptr;
        ASSERT_NE(sim().received(), bytes);  // it did stop
        EXPECT_TRUE(ws.command_buttons[IDM_RESUME]);
        command(IDM_RESUME);
        EXPECT_EQ(sim().received(), bytes);
        EXPECT_EQ(read("trace.txt"), trace);
        EXPECT_EQ(read("log.dat"), log);
        Lines resumed = history();
        ASSERT_EQ(resumed.size(), lines.size() + 1);
        EXPECT_EQ(sums(resumed), sums(lines));
        std::size_t at = 0;
        while (at < resumed.size() && csv_fields(resumed[at])[16] == "done") ++at;
        ASSERT_LT(at + 1, resumed.size());
        EXPECT_EQ(csv_fields(resumed[at])[16], "stopped by operator");
        EXPECT_EQ(csv_fields(resumed[at + 1])[16], "done, resumed");
        EXPECT_FALSE(file_exists(dir.file("job-interrupted")));
        EXPECT_FALSE(ws.command_buttons[IDM_RESUME]);
    }
}

TEST_F(Resume, RefusedWithTheReasonWhenAnythingChangedSinceTheStop) {
    settings.model = 3;
    begin();
    stop_during("N,0", 2);
    command(IDM_RUN_TOOL);
    serial_sim.after_command = nullptr;
    // What the operator can put back as it was.
    struct Change {
        const char* what;
        std::function<void()> make, undo;
        const char* told;
    };
    const Change changes[] = {
        {"another figure", [this] { command(IDM_NEXT); }, [this] { command(IDM_NEXT); },
         "Figure 2 is selected; the job stopped on figure 1. Select figure 1 again"},
        {"the start point", [this] { command(IDM_START_PLUS); },
         [this] { command(IDM_START_NEG); }, "Move it back with Rotate Point"},
        {"the divide point",
         [this] {
             command(IDM_DIVIDE);
             command(IDM_START_PLUS);
         },
         [this] { command(IDM_START_NEG); },
         "The figure has divide point 1 now; the job had no divide point"},
        {"Setup", [] { settings.steps = 2000; }, [] { settings.steps = 1000; },
         "Steps per inch was 1000.000000; it is 2000.000000 now"},
        {"another drawing",
         [this] {
             write("other.dxf", read("letters.dxf"));
             ws.open_file_choice = dir.file("other.dxf");
             command(IDM_OPEN);
         },
         [this] {
             ws.open_file_choice = dir.file("letters.dxf");
             command(IDM_OPEN);
         },
         "which is not the drawing on screen. Open it again"},
    };
    for (const Change& c : changes) {
        SCOPED_TRACE(c.what);
        c.make();
        sim().clear_log();
        command(IDM_RESUME);
        EXPECT_TRUE(machine().empty());
        ASSERT_FALSE(ws.boxes.empty());
        EXPECT_NE(ws.boxes.back().text.find(c.told), std::string::npos) << ws.boxes.back().text;
        c.undo();
    }
    // What changes the machine cannot be put back.
    ws.scripts.push_back({type(208, "1"), press(IDOK)});
    command(IDM_MOVE);
    sim().clear_log();
    command(IDM_RESUME);
    EXPECT_TRUE(machine().empty());
    EXPECT_NE(ws.boxes.back().text.find("a Move was made after the work stopped, so the strip is "
                                        "not as the job left it. Start the letter again"),
              std::string::npos)
        << ws.boxes.back().text;
    EXPECT_FALSE(ws.command_buttons[IDM_RESUME]);
    EXPECT_TRUE(file_exists(dir.file("job-interrupted.1")));  // kept, no longer offered
    EXPECT_FALSE(file_exists(dir.file("job-interrupted")));
}

// The commands of the job as the controller received them, each with its
// carriage return.
Lines commands_of(const std::string& bytes) {
    Lines out;
    for (std::size_t at = 0; at < bytes.size();) {
        std::size_t end = bytes.find('\r', at) + 1;
        out.push_back(bytes.substr(at, end - at));
        at = end;
    }
    return out;
}

std::string joined(const Lines& commands, std::size_t from, std::size_t to) {
    std::string out;
    for (std::size_t k = from; k < to && k < commands.size(); ++k) out += commands[k];
    return out;
}

// The controller goes silent with the ninth command of the job in flight, a
// 30-degree notch; once it is back the job carries on, and the operator says
// whether the machine made that notch.
TEST_F(Resume, ALostControllerIsConnectedAgainAndTheJobContinued) {
    settings.model = 3;
    begin();
    command(IDM_RUN_TOOL);
    const Lines job_commands = commands_of(sim().received());
    const std::string trace = read("trace.txt"), log = read("log.dat");
    ASSERT_EQ(job_commands[8], "N,0\r");
    for (bool made : {true, false}) {
        SCOPED_TRACE(made ? "done" : "not done");
        begin();
        SimOptions silent;
        silent.silent_after = 8;
        serial_sim.set_options(silent);
        ws.on_choice = [this] {
            serial_sim.set_options(SimOptions{});  // the controller is back
            ws.on_choice = nullptr;
        };
        ws.choices = {"C&ontinue after connecting", made ? "&Done" : "&Not done"};
        command(IDM_RUN_TOOL);
        ASSERT_EQ(ws.asked.size(), 2u);
        EXPECT_EQ(ws.asked[1].caption, "Was the 30-degree notch made?");
        EXPECT_EQ(ws.asked[1].default_button, -1);  // no default
        EXPECT_EQ(sim().received(), joined(job_commands, 0, 9) + "T,0\r" +
                                        joined(job_commands, made ? 9 : 8, job_commands.size()));
        EXPECT_EQ(read("trace.txt"), trace);
        EXPECT_EQ(read("log.dat"), log);
        Lines h = history();
        ASSERT_EQ(h.size(), 2u);
        EXPECT_EQ(csv_fields(h[0])[16], "controller lost");
        EXPECT_EQ(csv_fields(h[1])[16], "done, resumed");
        ws.asked.clear();
    }
}

// A job the program did not see to its end (the controller lost and the
// program ended) is offered at the next start.
TEST_F(Resume, AnInterruptedJobIsOfferedAtTheNextStart) {
    settings.model = 3;
    begin();
    command(IDM_RUN_TOOL);
    const Lines job_commands = commands_of(sim().received());
    const std::string trace = read("trace.txt"), log = read("log.dat");
    const struct {
        const char* answer;
        const char* drawing;  // what letters.dxf holds at the next start
        const char* told;
        int behind;  // commands the record's last write missed (two moves), as after a kill
    } cases[] = {
        {"&Continue", nullptr, nullptr, 0},
        {"&Continue", nullptr, nullptr, 2},
        {"&Decline", nullptr, nullptr, 0},
        {"&Continue", "changed", "is not the same drawing as when the job started", 0},
    };
    const std::string drawing = read("letters.dxf");
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.answer) + (c.drawing ? " changed" : "") +
                     std::to_string(c.behind));
        write("letters.dxf", drawing);
        begin();
        SimOptions silent;
        silent.silent_after = 8;
        serial_sim.set_options(silent);
        ws.choices = {"E&xit"};
        EXPECT_THROW(command(IDM_RUN_TOOL), ProgramEnded);
        run_program_end_steps();
        if (c.behind) {
            std::string record = read("job-interrupted");
            std::size_t at = record.find("answered: 8\n");
            ASSERT_NE(at, std::string::npos);
            write("job-interrupted", record.replace(at, 12, "answered: 6\n"));
        }
        // The next start, from what the files hold.
        serial_sim.set_options(SimOptions{});
        reset_counters();
        reset_interrupted();
        if (c.drawing) write("letters.dxf", drawing + "999\nchanged\n");
        ws.choices = {c.answer, "&Not done"};
        start(dir.file("letters.dxf"));
        ASSERT_GE(ws.asked.size(), 2u);
        EXPECT_EQ(ws.asked[1].text.rfind("Continue the interrupted job on figure 1 of letters.dxf "
                                         "from wall 2 of 4?",
                                         0),
                  0u)
            << ws.asked[1].text;
        EXPECT_EQ(ws.asked[1].default_button, 0);  // Enter continues
        EXPECT_EQ(ws.asked[1].escape_button, 1);   // Esc declines
        std::string rest = c.answer == std::string("&Continue") && !c.drawing
                               ? "T,0\r" + joined(job_commands, 8, job_commands.size())
                               : "T,0\r";
        EXPECT_EQ(sim().received(), joined(job_commands, 0, 9) + rest);
        if (c.told) {
            EXPECT_NE(ws.boxes.back().text.find(c.told), std::string::npos);
        }
        if (rest.size() > 4) {
            EXPECT_EQ(read("trace.txt"), trace);
            EXPECT_EQ(read("log.dat"), log);
        }
        EXPECT_EQ(file_exists(dir.file("job-interrupted.1")), c.answer == std::string("&Decline"));
        ws.asked.clear();
    }
}

}  // namespace
