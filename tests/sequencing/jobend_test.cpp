// The job end, the notching run and the divide point.
#include <algorithm>
#include <cmath>

#include "controller/commands.h"
#include "import/shapes.h"
#include "planning/walls.h"
#include "records/job.h"
#include "records/notice.h"
#include "records/prodlog.h"
#include "records/settings.h"
#include "sequencing/jobend.h"
#include "sequencing/queue.h"
#include "sequencing/trace.h"
#include "shell/window_state.h"
#include "tests/support/figures.h"
#include "tests/support/machine.h"

namespace {

using Lines = std::vector<std::string>;

class JobEnd : public MachineTest {
protected:
    // The notching run as the Run command starts it.
    void notching_run(float notch_length, float total_length) {
        job.notch_length = notch_length;
        job.total_length = total_length;
        queue_reset();
        open_trace();
        punch();
        close_trace();
    }
    void ends_after_wall(float last) {
        wall_list.l_a_dimensions[0] = last;
        wall_list.walls = 1;
        queue_reset();
        countdown_start();
        open_trace();
        finish_strip();
        close_trace();
    }
    bool trailer_fed() {
        Lines t = job_trace();
        return std::find(t.begin(), t.end(), "Feed trailer for next tool") != t.end();
    }
};

TEST_F(JobEnd, GalilNotchingRunLineByLine) {
    use(ControllerFamily::galil);
    notching_run(5.0f, 10.0f);
    EXPECT_EQ(job_trace(), (Lines{
                               "Request move 5.000000 in. distance for this wall",
                               "",
                               " 4Move 5.000000 in. remaining for this wall",
                               "Fire 30 degree notcher",
                               "Request move 5.000000 in. distance for this wall",
                               "",
                               " 4Move 5.000000 in. remaining for this wall",
                               "Fire 30 degree notcher",
                               "Request move 12.000000 in. distance for this wall",
                               "",
                               " 1Move 2.000000 in. for a bend notch",
                               "Fire 30 degree for bend notch",
                               "Move 10.000000 in. remaining for this wall",
                               "Take a bend cycle",
                               "Move 42.000000 for sheer",
                               "Take sheer cycle and return material, we are done!",
                           }));
    EXPECT_EQ(machine(), (Lines{"M -5.000000", "1", "M -5.000000", "1", "M -2.000000",
                                "M -10.000000", "3", "M -42.000000", "4", "11"}));
    EXPECT_EQ(job.total_length, 0.0f);
    EXPECT_EQ(seq.end_sequence, 0);
}

TEST_F(JobEnd, SloSynNotchingRunWithTrailerAndRewind) {
    use(ControllerFamily::slo_syn);
    settings.bend_output = 1;
    settings.tab = 2;
    notching_run(5.0f, 10.0f);
    Lines t = job_trace();
    Lines tail(t.begin() + 8, t.end());
    EXPECT_EQ(tail, (Lines{
                        "Request move 10.000000 in. distance for this wall",
                        "",
                        " 1Move 2.000000 in. for a bend notch",
                        "Fire 30 degree for bend notch",
                        "Move 8.000000 in. remaining for this wall",
                        "Feed trailer for next tool",
                        "Request move 12.000000 in. distance for this wall",
                        "",
                        " 3Move 4.000000 in. for a bend cycle",
                        "Take a bend cycle",
                        "Move 0.000000 in. for a bend notch",
                        "Fire 30 degree for bend notch",
                        "Move 2.000000 in. for queued 100 degree notch",
                        "Fire 100 degree notcher",
                        "Move 6.000000 in. remaining for this wall",
                        "Take a bend cycle",
                        "Move 42.000000 for sheer",
                        "Take sheer cycle and return material, we are done!",
                        "Request move -5.000000 in. distance for this wall",
                        "",
                        " 0Move -5.000000 in. remaining for this wall",
                    }));
    Lines m = machine();
    EXPECT_EQ(Lines(m.begin() + 4, m.end()),
              (Lines{"M,-2000.000000", "N,0", "M,-8000.000000", "M,-4000.000000", "B,0",
                     "M,-2000.000000", "J,0", "V,0", "M,-6000.000000", "B,0",
                     "M,-42000.000000", "S,0", "M,5000.000000"}));
}

TEST_F(JobEnd, NotchingRunsCountTheirNotches) {
    use(ControllerFamily::galil);
    notching_run(0.75f, 120.0f);
    EXPECT_EQ(job.total_length, 0.0f);
    // and nine bend notches on the way; the one at 120 in. falls in the job end
    EXPECT_EQ(counters.notch30, 160 + 9);
    sim().clear_log();
    notching_run(0.75f, 1.0f);
    EXPECT_EQ(job.total_length, -0.5f);
    Lines m = machine();
    EXPECT_EQ(Lines(m.begin(), m.begin() + 4), (Lines{"M -0.750000", "1", "M -0.750000", "1"}));
}

TEST_F(JobEnd, NotchingRunThatWouldNeverEndIsRefused) {
    use(ControllerFamily::galil);
    EXPECT_NE(punch_refusal(0.0f, 120.0f), "");
    EXPECT_NE(punch_refusal(-1.0f, 120.0f), "");
    EXPECT_NE(punch_refusal(1e-6f, 120.0f), "");  // too small to make the length shrink
    EXPECT_NE(punch_refusal(0.75f, 0.0f), "");     // no material, no job end either
    EXPECT_NE(punch_refusal(0.75f, -5.0f), "");
    EXPECT_NE(punch_refusal(0.75f, 1e9f), "");
    EXPECT_EQ(punch_refusal(0.75f, 120.0f), "");
    job.notch_length = 0.0f;
    job.total_length = 120.0f;
    punch();
    EXPECT_TRUE(machine().empty());
}

TEST_F(JobEnd, TrailerOnlyWithTheBenderOnAndAShortLastWallOrATrailingTab) {
    use(ControllerFamily::galil);
    settings.tab = 3;
    ends_after_wall(8.5f);
    EXPECT_FALSE(trailer_fed());

    settings.bend_output = 1;
    settings.tab = 0;
    ends_after_wall(10.0f);
    EXPECT_FALSE(trailer_fed());
    ends_after_wall(8.5f);
    EXPECT_TRUE(trailer_fed());
    Lines t = job_trace();
    EXPECT_NE(std::find(t.begin(), t.end(), "Fire 100 degree notcher"), t.end());

    for (int tab : {2, 3}) {
        settings.tab = tab;
        ends_after_wall(30.0f);
        EXPECT_TRUE(trailer_fed()) << tab;
    }
    settings.tab = 0;
    wall_list.walls = 0;  // nothing planned since the start: a short last wall
    queue_reset();
    open_trace();
    finish_strip();
    close_trace();
    EXPECT_TRUE(trailer_fed());
}

TEST_F(JobEnd, ALastWallOf9InchesIsLongEnough) {
    const struct {
        int walls;
        float last;
        bool is_short;
    } cases[] = {
        {1, 9.0f, false}, {1, std::nextafter(9.0f, 0.0f), true}, {3, 30.0f, false},
        {0, 30.0f, true},  // nothing planned
    };
    for (const auto& c : cases) {
        wall_list.walls = c.walls;
        wall_list.l_a_dimensions[c.walls > 0 ? c.walls - 1 : 0] = c.last;
        EXPECT_EQ(last_wall_is_short(), c.is_short) << c.walls << " " << c.last;
    }
}

TEST_F(JobEnd, ShearInStepsAndRewindOrInInchesAndHome) {
    use(ControllerFamily::slo_syn);
    ends_after_wall(20.0f);
    Lines m = machine();
    EXPECT_EQ(Lines(m.end() - 3, m.end()), (Lines{"M,-42000.000000", "S,0", "M,5000.000000"}));
    EXPECT_EQ(job_trace().back(), " 0Move -5.000000 in. remaining for this wall");

    sim().clear_log();
    settings.model = 4;
    set_command_strings();
    sim().set_family(ControllerFamily::galil);
    ends_after_wall(20.0f);
    m = machine();
    EXPECT_EQ(Lines(m.end() - 3, m.end()), (Lines{"M -42.000000", "4", "11"}));
}

TEST_F(JobEnd, DividePointSteps) {
    // Three lines and an arc: six positions, 0 among them.
    load_figures({{{0, 0}, {1, 0}, {1, 1}, {0, 1, true, -0.5f, 0.5f}, {0, 0}}});
    Lines forward, back;
    for (int k = 0; k < 6; ++k) {
        breakpoint(1);
        forward.push_back(std::to_string(job.pause));
    }
    EXPECT_EQ(forward, (Lines{"1", "2", "3", "4", "5", "0"}));
    for (int k = 0; k < 7; ++k) {
        breakpoint(-1);
        back.push_back(std::to_string(job.pause));
    }
    EXPECT_EQ(back, (Lines{"6", "5", "4", "3", "2", "1", "0"}));

    shapes.selected = 2;  // no such figure
    breakpoint(1);
    EXPECT_EQ(job.pause, 0);
}

}  // namespace
