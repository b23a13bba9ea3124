// The feed sequencer: the feed cases, queued 100-degree notches, bend notches
// and bend cycles, the trace and the commands the machine receives.
#include "records/prodlog.h"
#include "records/settings.h"
#include "sequencing/feed.h"
#include "sequencing/queue.h"
#include "sequencing/trace.h"
#include "tests/support/machine.h"

namespace {

using Lines = std::vector<std::string>;

class Feed : public MachineTest {
protected:
    void SetUp() override {
        MachineTest::SetUp();
        use(ControllerFamily::galil);
        queue_reset();
        countdown_start();
        open_trace();
    }
    Lines fed() {
        close_trace();
        return job_trace();
    }
};

TEST(FeedCase, FromTheLengthAndTheCountdowns) {
    EXPECT_EQ(feed_case(5, 12, 24), 4);
    EXPECT_EQ(feed_case(5, 12, 12), 0);
    EXPECT_EQ(feed_case(5, 12, 6), 0);
    EXPECT_EQ(feed_case(18, 7, 19), 1);
    EXPECT_EQ(feed_case(10, 12, 6), 2);
    EXPECT_EQ(feed_case(30, 1, 1), 3);
    EXPECT_EQ(feed_case(30, 2, 20), 5);
    EXPECT_EQ(feed_case(12, 12, 24), 4);  // not greater: no event
}

TEST_F(Feed, WallsThroughTheBendCountdowns) {
    feed(5.0f);
    EXPECT_EQ(seq.foot, 7.0f);
    EXPECT_EQ(seq.distance_to_bend, 19.0f);
    feed(18.0f);
    EXPECT_EQ(seq.foot, 1.0f);
    EXPECT_EQ(seq.distance_to_bend, 1.0f);
    feed(30.0f);
    EXPECT_EQ(seq.foot, 7.0f);
    EXPECT_EQ(seq.distance_to_bend, 7.0f);
    EXPECT_EQ(fed(), (Lines{
                         "Request move 5.000000 in. distance for this wall",
                         "",
                         " 4Move 5.000000 in. remaining for this wall",
                         "Request move 18.000000 in. distance for this wall",
                         "",
                         " 1Move 7.000000 in. for a bend notch",
                         "Fire 30 degree for bend notch",
                         "Move 11.000000 in. remaining for this wall",
                         "Request move 30.000000 in. distance for this wall",
                         "",
                         " 3Move 1.000000 in. for a bend cycle",
                         "Take a bend cycle",
                         "Move 0.000000 in. for a bend notch",
                         "Fire 30 degree for bend notch",
                         "Move 12.000000 in. for a bend notch",
                         "Fire 30 degree for bend notch",
                         "Take a bend cycle",
                         "Move 12.000000 in. for a bend notch",
                         "Fire 30 degree for bend notch",
                         "Take a bend cycle",
                         "Move 5.000000 in. remaining for this wall",
                     }));
    // The move of 0.0 sends nothing; the bend notches and cycles do.
    EXPECT_EQ(machine(), (Lines{"M -5.000000", "M -7.000000", "1", "M -11.000000",
                                "M -1.000000", "3", "1", "M -12.000000", "1", "3",
                                "M -12.000000", "1", "3", "M -5.000000"}));
    EXPECT_EQ(counters.notch30, 4);
    EXPECT_EQ(counters.flanges, 3);
    EXPECT_EQ(read("log.dat"), "0 4 0 0 0 0 3 0.000000");
}

TEST_F(Feed, QueuedNotchesAndATriple) {
    feed(5.0f);
    push(6.0f);
    feed(4.0f);
    EXPECT_EQ(queue_head(), 2.0f);
    push(5.75f);
    push(6.0f);
    push(6.25f);
    sim().clear_log();
    feed(10.0f);
    EXPECT_EQ(machine(), (Lines{"M -2.000000", "6", "2",          // dimple, notch
                                "M -1.000000", "1",               // bend notch
                                "M -2.750000", "2",               // first of the triple
                                "M -0.250000", "6", "2",          // its middle: dimple
                                "M -0.250000", "2",               // last: no dimple
                                "M -3.750000"}));
    EXPECT_TRUE(queue_empty());
    EXPECT_EQ(seq.qc, 0);
    EXPECT_EQ(seq.qn, 0);
    EXPECT_EQ(seq.foot, 5.0f);
    EXPECT_EQ(seq.distance_to_bend, 5.0f);
    EXPECT_EQ(counters.notch100, 4);
    EXPECT_EQ(counters.dimples, 2);
    Lines t = fed();
    EXPECT_EQ(t[t.size() - 11], " 1Move 2.000000 in. for queued 100 degree notch");
    EXPECT_EQ(t[t.size() - 10], "Fire 100 degree notcher");
}

TEST_F(Feed, NotchOnTheBendNotchPointFiresFirst) {
    feed(5.0f);
    push(7.0f);
    sim().clear_log();
    feed(10.0f);
    EXPECT_EQ(machine(), (Lines{"M -7.000000", "6", "2", "1", "M -3.000000"}));
    Lines t = fed();
    EXPECT_EQ(t[t.size() - 3], "Move 0.000000 in. for a bend notch");
}

TEST_F(Feed, BackwardsAndStandingStill) {
    seq.foot = seq.distance_to_bend = 7.0f;
    feed(-5.0f);
    feed(0.0f);
    EXPECT_EQ(seq.foot, 12.0f);
    EXPECT_EQ(seq.distance_to_bend, 12.0f);
    EXPECT_EQ(machine(), (Lines{"M 5.000000"}));
    EXPECT_EQ(fed(), (Lines{"Request move -5.000000 in. distance for this wall", "",
                            " 0Move -5.000000 in. remaining for this wall",
                            "Request move 0.000000 in. distance for this wall", "",
                            " 0Move 0.000000 in. remaining for this wall"}));
}

TEST_F(Feed, NotchersOffStillMoveTraceAndDimple) {
    settings.operate = 1;
    feed(5.0f);
    push(6.0f);
    feed(18.0f);
    EXPECT_EQ(machine(), (Lines{"M -5.000000", "M -6.000000", "6", "M -1.000000",
                                "M -11.000000"}));
    EXPECT_EQ(counters.dimples, 1);
    EXPECT_EQ(counters.notch30 + counters.notch100 + counters.flanges, 0);
    Lines t = fed();
    EXPECT_EQ(t.size(), 10u);
}

TEST_F(Feed, SloSynMovesAreInSteps) {
    settings.model = 1;
    sim().set_family(ControllerFamily::slo_syn);
    feed(5.0f);
    EXPECT_EQ(machine(), (Lines{"M,-5000.000000"}));
    EXPECT_EQ(fed()[2], " 4Move 5.000000 in. remaining for this wall");
}

TEST(Queue, PushPopShiftAndReset) {
    reset_all_state();
    push(6.0f);
    push(6.25f);
    shift(1.0f);
    EXPECT_EQ(queue_head(), 5.0f);
    pop(5.0f);
    EXPECT_EQ(queue_head(), 0.25f);
    EXPECT_EQ(seq.qc, 1);
    pop(0.25f);
    EXPECT_TRUE(queue_empty());
    EXPECT_EQ(seq.qn, 0);
    push(6.0f);
    queue_reset();
    EXPECT_TRUE(queue_empty());
    EXPECT_EQ(seq.queue[0], 6.0f);  // slots are never cleared
}

TEST(Queue, TailAtTheEndMovesThePendingEntriesDown) {
    reset_all_state();
    for (int k = 0; k < kQueueSlots; ++k) push(static_cast<float>(k));
    pop(0.0f);
    push(500.0f);  // slot 100 does not exist: the 99 pending entries move to slot 0
    EXPECT_EQ(seq.qc, 0);
    EXPECT_EQ(seq.qn, kQueueSlots);
    EXPECT_EQ(queue_head(), 1.0f);
    EXPECT_EQ(seq.queue[kQueueSlots - 1], 500.0f);
    try {
        push(501.0f);
        FAIL() << "a 101st pending notch";
    } catch (const JobStopped& stopped) {
        EXPECT_NE(stopped.why.find("more than 100 notches"), std::string::npos);
    }
    EXPECT_EQ(seq.qn, kQueueSlots);
}

}  // namespace
