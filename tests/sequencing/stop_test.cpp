// Stop of the operator: the command in flight is answered and counted, then
// nothing more is sent; the trace says where; the counts hold what was done.
#include <algorithm>

#include "records/job.h"
#include "records/notice.h"
#include "records/prodlog.h"
#include "records/progress.h"
#include "records/settings.h"
#include "sequencing/jobend.h"
#include "sequencing/jobrun.h"
#include "tests/support/figures.h"
#include "tests/support/machine.h"

namespace {

using Lines = std::vector<std::string>;

class Stop : public MachineTest {
protected:
    void SetUp() override {
        MachineTest::SetUp();
        use(ControllerFamily::slo_syn);
        settings.model = 3;
        settings.bend_output = 1;
        load_figures({rectangle(0, 0, 30, 10)});  // walls of 30 and 10 in.
        write_log();
    }
    // The operator presses Stop while the `nth` command `command` is in flight.
    void stop_at(const std::string& command, int nth) {
        serial_sim.after_command = [command, nth](const std::string& c) mutable {
            if (c == command + "\r" && --nth == 0) progress.stop_requested = true;
        };
    }
    // Every stroke counted since `before` is one the machine received, and
    // log.dat says so.
    void expect_counts_as_received(const Counters& before) {
        Lines m = machine();
        EXPECT_EQ(counters.notch30 - before.notch30, count(m, "N,0"));
        EXPECT_EQ(counters.indicates - before.indicates, count(m, "I,0"));
        EXPECT_EQ(counters.flanges - before.flanges, count(m, "B,0"));
        EXPECT_EQ(counters.sheers - before.sheers, count(m, "S,0"));
        EXPECT_EQ(read("log.dat"), format_log());
    }
};

TEST_F(Stop, WhereverItComesTheLastCommandIsAnsweredAndCountedAndNothingFollows) {
    // `step` is the trace's line for the command in flight: none follows it.
    const struct {
        const char* where;
        const char* command;
        int nth;
        const char* step;
        const char* line;
    } cases[] = {
        {"in the middle of a wall", "M,-12000.000000", 1, " 5Move 12.000000 in. for a bend notch",
         "Job stopped by the operator at wall 1 of 4, 12.000 in. fed"},
        {"at a bend notch", "N,0", 1, "Fire 30 degree for bend notch",
         "Job stopped by the operator at wall 1 of 4, 12.000 in. fed"},
        {"between walls", "I,0", 1, "Fire indicate",
         "Job stopped by the operator at wall 2 of 4, "},
        {"during the job end", "B,0", 6, "Take a bend cycle",
         "Job stopped by the operator while finishing the strip, after all 4 walls, "},
        {"at the last shear", "S,0", 1, "Take sheer cycle and return material, we are done!",
         "Job stopped by the operator after the shear: the letter is made, all 4 walls, "},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.where);
        serial_sim.clear_log();
        Counters before = counters;
        stop_at(c.command, c.nth);
        ASSERT_EQ(make_job(), JobResult::stopped_by_operator);
        EXPECT_EQ(machine().back(), c.command);
        Lines t = job_trace();
        ASSERT_GE(t.size(), 2u);
        EXPECT_EQ(t[t.size() - 2], c.step);
        EXPECT_EQ(t.back().rfind(c.line, 0), 0u) << t.back();
        // Only the material fed is counted.
        EXPECT_FLOAT_EQ(counters.inches, before.inches + std::min(progress.fed, progress.planned));
        expect_counts_as_received(before);
        EXPECT_FALSE(progress.running);
        progress.stop_requested = false;
    }
}

TEST_F(Stop, NotchingRunStopsAfterTheNotchInFlight) {
    job.notch_length = 1.0f;
    job.total_length = 10.0f;
    stop_at("N,0", 3);
    Counters before = counters;
    EXPECT_EQ(notching_run(), JobResult::stopped_by_operator);
    EXPECT_EQ(machine().back(), "N,0");
    EXPECT_EQ(job_trace().back(),
              "Notching run stopped by the operator after 3 notches, 3.000 in. fed");
    expect_counts_as_received(before);
}

}  // namespace
