// Tool strokes: what each sends, when it is held back, and what it counts.
#include "controller/tools.h"
#include "records/prodlog.h"
#include "records/settings.h"
#include "sequencing/queue.h"
#include "sequencing/tooling.h"
#include "tests/support/machine.h"

namespace {

using Lines = std::vector<std::string>;

class Tools : public MachineTest {
protected:
    void SetUp() override {
        MachineTest::SetUp();
        use(ControllerFamily::slo_syn);
    }
    // Fires the notch at the head of the queue as the feed sequencer does.
    void fire_head() {
        float h = queue_head();
        notch_two();
        pop(h);
    }
};

TEST_F(Tools, TripleGetsOneDimpleAtItsMiddleNotch) {
    for (float d : {5.75f, 6.0f, 6.25f, 9.0f}) push(d);
    fire_head();
    EXPECT_EQ(seq.sk100, 2);
    fire_head();
    EXPECT_EQ(seq.sk100, 1);
    fire_head();
    EXPECT_EQ(seq.sk100, 0);
    fire_head();  // a single notch afterwards has its dimple again
    EXPECT_EQ(machine(), (Lines{"V,0", "J,0", "V,0", "V,0", "J,0", "V,0"}));
    EXPECT_EQ(counters.dimples, 2);
    EXPECT_EQ(counters.notch100, 4);
    EXPECT_EQ(read("log.dat"), "0 0 4 0 0 2 0 0.000000");
}

TEST_F(Tools, SpacingNotPushOrderMakesATriple) {
    push(6.0f);
    push(6.25f);
    push(6.5f);
    fire_head();
    push(1.0f);  // single notches 1 in. apart each get their dimple
    push(2.0f);
    fire_head();
    fire_head();
    fire_head();
    fire_head();
    EXPECT_EQ(machine(), (Lines{"V,0", "J,0", "V,0", "V,0", "J,0", "V,0", "J,0", "V,0"}));
}

TEST_F(Tools, LookAheadPastTheLastSlotNeverMatches) {
    seq.qc = kQueueSlots - 2;
    seq.qn = kQueueSlots;
    seq.queue[kQueueSlots - 2] = 6.0f;
    seq.queue[kQueueSlots - 1] = 6.25f;
    EXPECT_TRUE(dimple_due());
    EXPECT_EQ(seq.sk100, 0);
}

TEST_F(Tools, NotchersOffSendOnlyTheDimpleIndicateSheerAndHome) {
    settings.operate = 1;
    push(6.0f);
    notch();
    f_notch();
    bend();
    notch_two();
    indicate();
    sheer();
    Home();
    EXPECT_EQ(machine(), (Lines{"J,0", "I,0", "S,0", "H,0"}));
    EXPECT_EQ(counters.notch30 + counters.notch100 + counters.flanges, 0);
    EXPECT_EQ(counters.dimples + counters.indicates + counters.sheers, 3);
}

TEST_F(Tools, BendNotchDuringTheJobEnd) {
    settings.bend_output = 1;
    f_notch();  // in a job: always
    seq.end_sequence = 1;
    f_notch();
    EXPECT_EQ(seq.end_sequence, 2);
    f_notch();
    f_notch();
    EXPECT_EQ(machine(), (Lines{"N,0", "N,0"}));

    settings.bend_output = 0;
    seq.end_sequence = 1;
    f_notch();
    EXPECT_EQ(seq.end_sequence, 1);

    settings.bend_output = 1;
    settings.operate = 1;
    f_notch();
    EXPECT_EQ(seq.end_sequence, 2);  // counted as the job end's one notch, but not sent
    EXPECT_EQ(machine().size(), 2u);
    EXPECT_EQ(counters.notch30, 2);
}

TEST_F(Tools, HomeRetriesOnceOnE) {
    SimOptions o;
    o.home_errors = 1;
    sim().set_options(o);
    Home();
    EXPECT_EQ(machine(), (Lines{"H,0", "H,0"}));
    sim().clear_log();
    Home();
    EXPECT_EQ(machine(), (Lines{"H,0"}));
    EXPECT_EQ(counters.images + counters.notch30 + counters.sheers, 0);
    EXPECT_FALSE(file_exists(dir.file("log.dat")));
}

TEST_F(Tools, NoAnswerNoCount) {
    SimOptions o;
    o.silent_after = 1;
    sim().set_options(o);
    sheer();
    EXPECT_THROW(sheer(), ProgramEnded);
    EXPECT_EQ(counters.sheers, 1);
    EXPECT_EQ(read("log.dat"), "0 0 0 0 1 0 0 0.000000");
}

}  // namespace
