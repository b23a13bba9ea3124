// A figure made on the machine from end to end: homing, tabs, corners, the
// divide point and the job end, checked in the trace, in what the machine
// received and in the production log.
#include <algorithm>
#include <cmath>
#include <filesystem>

#include "controller/commands.h"
#include "import/dxf.h"
#include "import/shapes.h"
#include "planning/planner.h"
#include "planning/walls.h"
#include "records/job.h"
#include "records/notice.h"
#include "records/prodlog.h"
#include "records/settings.h"
#include "sequencing/jobrun.h"
#include "sequencing/state.h"
#include "shell/window_state.h"
#include "tests/support/figures.h"
#include "tests/support/machine.h"

namespace {

using Lines = std::vector<std::string>;

// The lines of a trace that the job writes itself, not the feeds.
Lines steps(const Lines& trace) {
    Lines out;
    for (std::size_t i = 0; i < trace.size(); ++i) {
        const std::string& l = trace[i];
        bool divide = l == "Fire 30 degree for bend notch" &&
                      (i == 0 || trace[i - 1].find("for a bend notch") == std::string::npos);
        if (l.rfind("Schedule", 0) == 0 || l == "Fire 30 degree notcher" ||
            l == "Fire indicate" || l == "Queue 100 degree notch" || divide ||
            l.rfind("Take sheer", 0) == 0)
            out.push_back(l);
    }
    return out;
}

bool contains(const Lines& all, const Lines& part) {
    return std::search(all.begin(), all.end(), part.begin(), part.end()) != all.end();
}

class JobRun : public MachineTest {
protected:
    void use_model(int model) {
        use(model == 4 ? ControllerFamily::galil : ControllerFamily::slo_syn);
        settings.model = model;
    }
    static std::vector<Vertex> clockwise_square() {
        return {{0, 0}, {0, 10}, {10, 10}, {10, 0}, {0, 0}};
    }
};

TEST_F(JobRun, CounterClockwiseSquare) {
    use_model(4);
    load_figures({rectangle(0, 0, 10, 10)});
    EXPECT_EQ(Run_Job(0), 0.0f);
    Lines t = job_trace();
    EXPECT_EQ(steps(t), (Lines{"Fire 30 degree notcher", "Fire indicate", "Fire 30 degree notcher",
                               "Fire indicate", "Fire 30 degree notcher", "Fire indicate",
                               "Fire 30 degree notcher",
                               "Take sheer cycle and return material, we are done!"}));
    EXPECT_EQ(t[0], "Request move 9.973177 in. distance for this wall");
    Lines m = machine();
    EXPECT_EQ(Lines(m.begin(), m.begin() + 3), (Lines{"11", "M -2.500000", "M -9.973177"}));
    EXPECT_EQ(m.back(), "11");
    EXPECT_EQ(counters.indicates, 3);
    EXPECT_EQ(counters.sheers, 1);
    EXPECT_NE(read("log.dat").find(" 39.839062"), std::string::npos);  // the planned total
}

TEST_F(JobRun, ClockwiseCornersAreQueuedForThe100DegreeNotcher) {
    use_model(4);
    load_figures({clockwise_square()});
    Run_Job(0);
    Lines t = job_trace();
    EXPECT_EQ(steps(t), (Lines{"Queue 100 degree notch", "Queue 100 degree notch",
                               "Queue 100 degree notch", "Fire 30 degree notcher",
                               "Take sheer cycle and return material, we are done!"}));
    EXPECT_EQ(count(t, "Fire 100 degree notcher"), 3);
    EXPECT_EQ(count(machine(), "6"), 3);  // three single notches: three dimples
}

TEST_F(JobRun, SharpClockwiseCornerGetsATriple) {
    use_model(4);
    // East 10 in., then a turn of 120 degrees clockwise, then 20 in.
    load_figures({{{0, 0}, {10, 0}, {0, -17.320508f}}});
    wall_list = WallList{};
    Run_Job(0);
    Lines t = job_trace();
    EXPECT_EQ(count(t, "Queue 100 degree notch"), 3);
    EXPECT_EQ(count(t, "Move 0.250000 in. for queued 100 degree notch"), 2);
    // No dimple, one dimple, no dimple.
    EXPECT_TRUE(contains(machine(), {"2", "M -0.250000", "6", "2", "M -0.250000", "2"}));
}

// Each limit of the corner rule, and the next float beyond it.
TEST(CornerRule, EachLimitAndJustBeyondIt) {
    auto beyond = [](float a, float toward) { return std::nextafter(a, toward); };
    const struct {
        float angle;
        Corner kind;
    } cases[] = {
        {0.0f, Corner::notch},
        {15.0f, Corner::notch},
        {beyond(15.0f, 16.0f), Corner::queue_one},
        {-35.0f, Corner::notch},
        {beyond(-35.0f, -36.0f), Corner::notch_and_indicate},
        {-180.0f, Corner::notch_and_indicate},
        {100.0f, Corner::queue_one},
        {beyond(100.0f, 101.0f), Corner::queue_three},
        {180.0f, Corner::queue_three},
    };
    for (const auto& c : cases) EXPECT_EQ(corner_kind(c.angle), c.kind) << c.angle;
}

TEST_F(JobRun, TabsAtBothEnds) {
    use_model(4);
    settings.tab = 3;
    load_figures({rectangle(0, 0, 10, 10)});
    Run_Job(0);
    Lines t = job_trace();
    EXPECT_EQ(Lines(t.begin(), t.begin() + 4),
              (Lines{"Schedule 3/4 in. for leading tab and queue notch",
                     "Request move 0.750000 in. distance for this wall", "",
                     " 4Move 0.750000 in. remaining for this wall"}));
    auto trail = std::find(t.begin(), t.end(), "Schedule 3/4 in. for trailing tab and queue notch");
    ASSERT_NE(trail, t.end());
    EXPECT_EQ(*(trail + 1), "Request move 0.750000 in. distance for this wall");
    EXPECT_EQ(count(t, "Fire 100 degree notcher"), 3);  // lead, trail and after-trail notches
}

TEST_F(JobRun, DividedLetterIsMadeInTwoPieces) {
    for (int model : {4, 1}) {
        SCOPED_TRACE(model);
        sim().clear_log();
        use_model(model);
        load_figures({rectangle(0, 0, 10, 10)});
        job.toggle = 0;
        job.pause = 3;
        Run_Job(0);
        EXPECT_EQ(wall_list.stop, 2);
        Lines t = job_trace();
        EXPECT_EQ(steps(t), (Lines{"Fire 30 degree notcher", "Fire indicate",
                                   "Fire 30 degree notcher", "Fire indicate",
                                   "Fire 30 degree for bend notch",
                                   "Take sheer cycle and return material, we are done!",
                                   "Fire 30 degree notcher", "Fire indicate",
                                   "Fire 30 degree notcher",
                                   "Take sheer cycle and return material, we are done!"}));
        Lines m = machine();
        auto shear = std::find(m.begin(), m.end(), model == 4 ? "4" : "S,0");
        ASSERT_NE(shear, m.end());
        if (model == 4)  // home at the job end, then the move of home
            EXPECT_EQ(Lines(shear + 1, shear + 3), (Lines{"11", "M -2.500000"}));
        else  // rewind, then the move of home
            EXPECT_EQ(Lines(shear + 1, shear + 3), (Lines{"M,5000.000000", "M,-2500.000000"}));
        EXPECT_EQ(m.front(), model == 4 ? "11" : "M,-9973.176758");
    }
}

TEST_F(JobRun, DividePointIgnoredInStartPointMode) {
    use_model(4);
    load_figures({rectangle(0, 0, 10, 10)});
    job.pause = 3;
    Run_Job(0);
    EXPECT_EQ(count(job_trace(), "Take sheer cycle and return material, we are done!"), 1);
}

TEST_F(JobRun, CountedBeforeTheMachineMoves) {
    use_model(4);
    SimOptions silent;
    silent.silent_after = 0;
    sim().set_options(silent);
    load_figures({rectangle(0, 0, 10, 10)});
    EXPECT_THROW(Run_Job(0), ProgramEnded);
    EXPECT_EQ(read("log.dat"), "0 0 0 0 0 0 0 39.839062");
}

TEST_F(JobRun, OtherFormingDirectionIsRefusedBeforeAnythingMoves) {
    use_model(4);
    settings.direction = 0;
    load_figures({rectangle(0, 0, 10, 10)});
    Run_Job(0);
    EXPECT_TRUE(machine().empty());
    EXPECT_EQ(counters.inches, 0.0f);
    EXPECT_NE(take_notices().at(0).find("forming direction"), std::string::npos);
}

TEST_F(JobRun, RunsWithoutATraceThatCannotBeCreated) {
    use_model(4);
    std::filesystem::create_directory(dir.file("trace.txt"));
    load_figures({rectangle(0, 0, 10, 10)});
    Run_Job(0);
    EXPECT_EQ(counters.sheers, 1);
    EXPECT_NE(take_notices().at(0).find("trace.txt"), std::string::npos);
}

TEST_F(JobRun, WholeLetterKeepsItsBooks) {
    use_model(4);
    settings.tab = 3;
    settings.bend_output = 1;
    ASSERT_EQ(load_drawing(std::string(ZEL_SOURCE_DIR) + "/tests/import/data/letter_d.dxf"),
              DrawingLoad::loaded);
    for (int figure = 1; figure <= shapes.objects; ++figure) {
        shapes.selected = figure;
        Run_Job(0);
        EXPECT_TRUE(seq.qc == seq.qn) << "every queued notch fired";
    }
    Lines m = machine();
    Lines t = job_trace();
    EXPECT_GT(count(t, "Fire 100 degree notcher"), 0);
    EXPECT_EQ(counters.notch30, count(m, commands.N[0] == '1' ? "1" : "N,0"));
    EXPECT_EQ(counters.notch100, count(m, "2"));
    EXPECT_EQ(counters.dimples, count(m, "6"));
    EXPECT_EQ(counters.indicates, count(m, "5"));
    EXPECT_EQ(counters.flanges, count(m, "3"));
    EXPECT_EQ(counters.sheers, count(m, "4"));
    EXPECT_EQ(counters.sheers, shapes.objects);
    Counters saved = counters;
    get_log();
    EXPECT_EQ(counters.notch100, saved.notch100);
}

}  // namespace

namespace {

class JobRunOnATerminal : public PtyControllerTest {
protected:
    void SetUp() override {
        PtyControllerTest::SetUp();
        typical_job_settings();
    }
};

TEST_F(JobRunOnATerminal, SquareMadeThroughTheSerialPort) {
    use(ControllerFamily::slo_syn);
    load_figures({{{0, 0}, {0, 10}, {10, 10}, {10, 0}, {0, 0}}});
    Run_Job(0);
    Lines m = machine_commands(sim());
    EXPECT_EQ(m.front(), "M,-10000.000000");
    EXPECT_EQ(m.back(), "M,5000.000000");  // the rewind
    EXPECT_EQ(count(m, "V,0"), 3);
    EXPECT_EQ(count(m, "J,0"), 3);
    EXPECT_EQ(counters.notch100, 3);
    EXPECT_EQ(counters.sheers, 1);
    EXPECT_EQ(count(trace_lines(read("trace.txt")), "Fire 100 degree notcher"), 3);
}

}  // namespace

namespace {

TEST_F(JobRun, SloSynWithoutStepsPerInchIsRefused) {
    use_model(1);
    settings.steps = 0;
    load_figures({rectangle(0, 0, 10, 10)});
    Run_Job(0);
    EXPECT_TRUE(machine().empty());
    EXPECT_NE(take_notices().at(0).find("Steps per inch"), std::string::npos);
}

}  // namespace
