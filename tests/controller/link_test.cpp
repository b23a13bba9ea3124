// The controller link's edge cases, each run twice: with the simulator
// plugged in as the serial device, and over a real pseudo-terminal opened
// through the termios code.
#include <cstring>

#include "controller/commands.h"
#include "controller/serial_link.h"
#include "controller/startup.h"
#include "controller/tools.h"
#include "records/prodlog.h"
#include "records/settings.h"
#include "shell/window_state.h"
#include "tests/support/controller_support.h"

namespace {

using Commands = std::vector<std::string>;

template <typename Transport>
class Link : public Transport {
protected:
    // Runs `wait` until the program ends; checks the status and that it took
    // 20 to 21 seconds of the test's clock.
    template <typename Wait>
    void expect_end_after_20_seconds(Wait wait) {
        this->clock.tick_ms = this->timeout_tick_ms;
        long long start = this->clock.now_ms;
        try {
            wait();
            ADD_FAILURE() << "the wait returned";
        } catch (const ProgramEnded& e) {
            EXPECT_EQ(e.status, -1);
            EXPECT_NE(e.line.find("controller stopped answering"), std::string::npos);
        }
        long long waited = this->clock.now_ms - start;
        EXPECT_GE(waited, 20000);
        EXPECT_LE(waited, 21000 + 2 * this->clock.tick_ms);
    }
    // Clock time a wait took, with the ticks meant for waits that run out.
    template <typename Wait>
    long long timed(Wait wait) {
        this->clock.tick_ms = this->timeout_tick_ms;
        long long start = this->clock.now_ms;
        wait();
        return this->clock.now_ms - start;
    }
    void handshake(char answer, bool restart_helps = true) {
        SimOptions o;
        o.handshake = answer;
        o.restart_helps = restart_helps;
        this->sim().set_options(o);
    }
    void answer_with(const std::string& text) {
        SimOptions o;
        o.answer_all_with = text;
        this->sim().set_options(o);
    }
};

using Transports = ::testing::Types<ControllerTest, PtyControllerTest>;
TYPED_TEST_SUITE(Link, Transports);

TYPED_TEST(Link, ACommandIsOneTraceEntryAndEachByteIsFollowedByThePause) {
    this->use(ControllerFamily::slo_syn);
    EXPECT_EQ(put_data("RUN\r"), 0);
    EXPECT_EQ(this->clock.short_pauses, 4);
    EXPECT_EQ(this->clock.texts, 1);
    EXPECT_TRUE(eventually([&] { return this->sim().received() == "RUN\r"; }));
    EXPECT_EQ(this->trace(), Commands{"send-> RUN\r \r\n"});
}

TYPED_TEST(Link, AnAnswerAndItsCarriageReturnAreTwoLooksAndASilentLookAddsNothing) {
    this->use(ControllerFamily::slo_syn);
    this->answer_with("D\r");
    put_data(commands.T);
    char loc[24] = "x";
    EXPECT_EQ(poll_byte(loc), 1);
    EXPECT_STREQ(loc, "D");
    EXPECT_EQ(poll_byte(loc), 1);
    EXPECT_STREQ(loc, "");
    std::strcpy(loc, "x");
    EXPECT_EQ(await_data(loc), 0);
    EXPECT_STREQ(loc, "");
    EXPECT_EQ(this->trace(),
              (Commands{"send-> T,0\r \r\n", "receive-> D\r\n", "receive-> \r\r\n"}));
}

TYPED_TEST(Link, AStartTruncatesTheTraceToItsHeader) {
    this->use(ControllerFamily::slo_syn);
    put_data(commands.N);
    wait_for_Slo_Syn();
    EXPECT_EQ(this->trace().size(), 2u);
    start_ctrace();
    EXPECT_EQ(this->read("ctrace.txt"), "Communications trace\n");
}

TYPED_TEST(Link, GalilMovesSendTheCommandThenTheNegatedDistance) {
    this->use(ControllerFamily::galil);
    Run_Galil(2.5f);
    EXPECT_EQ(this->trace(), (Commands{"send-> 10\r \r\n", "receive-> D\r\n",
                                       "send-> -2.500000\r \r\n", "receive-> D\r\n"}));
    EXPECT_EQ(this->sim().position(), 2.5f);
    this->sim().clear_log();
    Run_Galil(-1.25f);
    Feed_Galil(1.0f);
    EXPECT_EQ(this->sim().commands(), (Commands{"10\r", "1.250000\r", "9\r", "-1.000000\r"}));
}

TYPED_TEST(Link, SloSynMovesAreOneCommandAndOneWait) {
    this->use(ControllerFamily::slo_syn);
    Run_Slo_Syn(2500.0f);
    Feed_Slo_Syn(-100.0f);
    EXPECT_EQ(this->sim().commands(), (Commands{"M,-2500.000000\r", "F,100.000000\r"}));
    EXPECT_EQ(this->trace().size(), 4u);
}

TYPED_TEST(Link, AMoveByZeroSendsNothingAndWaitsForNothing) {
    this->use(ControllerFamily::galil);
    for (float zero : {0.0f, -0.0f}) {
        Run_Galil(zero);
        Feed_Galil(zero);
        Run_Slo_Syn(zero);
        Feed_Slo_Syn(zero);
    }
    EXPECT_EQ(this->clock.now_ms, 100000);
    EXPECT_TRUE(this->sim().received().empty());
    EXPECT_TRUE(this->trace().empty());
}

TYPED_TEST(Link, AWaitThatSeesOnlyQuestionMarksOrCarriageReturnsEndsTheProgram) {
    this->use(ControllerFamily::slo_syn);
    // Starting late in a second brings the whole-second deadline sooner.
    for (auto [answer, start] : {std::pair{"?", 100000}, {"\r\r", 100999}}) {
        this->answer_with(answer);
        this->clock.now_ms = start;
        this->expect_end_after_20_seconds([] {
            put_data(commands.N);
            wait_for_Slo_Syn();
        });
    }
    // Everything up to the end is in the trace.
    EXPECT_EQ(this->trace(), (Commands{"send-> N,0\r \r\n", "receive-> ?\r\n", "send-> N,0\r \r\n",
                                       "receive-> \r\r\n", "receive-> \r\r\n"}));
}

TYPED_TEST(Link, SloSynHandshakeRestartsTheControllerOnAQuestionMark) {
    this->handshake('?');
    this->use(ControllerFamily::slo_syn);
    EXPECT_EQ(Init_Slo_Syn(), 0);
    EXPECT_EQ(this->sim().commands(), (Commands{"T,0\r", "RUN\r", "T,0\r"}));
    EXPECT_EQ(this->clock.long_pauses, 1);
}

TYPED_TEST(Link, SloSynHandshakeGivesUpAfterFourSeconds) {
    this->handshake('?', false);
    this->use(ControllerFamily::slo_syn);
    // Every restart costs a long pause, and none moves the deadline.
    long long took = this->timed([] { EXPECT_EQ(Init_Slo_Syn(), 1); });
    EXPECT_GE(took, 4000);
    EXPECT_LE(took, 5000 + this->clock.long_pause_ms + this->clock.tick_ms);
    EXPECT_GE(this->sim().commands().size(), 5u);
}

TYPED_TEST(Link, SloSynHandshakeIgnoresAColon) {
    this->handshake(':');
    this->use(ControllerFamily::slo_syn);
    this->timed([] { EXPECT_EQ(Init_Slo_Syn(), 1); });
    EXPECT_EQ(this->sim().commands(), Commands{"T,0\r"});
}

TYPED_TEST(Link, GalilHandshakeRestartsOnAColonThenDownloadsItsProgram) {
    this->write("setup2.dat", "MO\nSH");  // the last line has no line end
    this->handshake(':');
    this->use(ControllerFamily::galil);
    EXPECT_EQ(Init_Galil(), 0);
    EXPECT_EQ(this->sim().commands(), (Commands{"75\r", "RS\r", "8\r", "MO\r", "SH\r", "8\r"}));
    EXPECT_EQ(this->clock.long_pauses, 2);
}

TYPED_TEST(Link, GalilHandshakeIgnoresAQuestionMarkAndGivesUpAfterTenSeconds) {
    this->write("setup2.dat", "MO\n");
    this->handshake('?');
    this->use(ControllerFamily::galil);
    long long took = this->timed([] { EXPECT_EQ(Init_Galil(), 1); });
    EXPECT_GE(took, 10000);
    EXPECT_LE(took, 11000 + this->clock.tick_ms);
    EXPECT_EQ(this->sim().commands(), Commands{"75\r"});
}

TYPED_TEST(Link, GalilWithAnEmptyProgramGoesStraightToThePauseAndTheLastQuery) {
    this->write("setup2.dat", "");
    this->use(ControllerFamily::galil);
    EXPECT_EQ(Init_Galil(), 0);
    EXPECT_EQ(this->sim().commands(), (Commands{"75\r", "8\r"}));
    EXPECT_EQ(this->clock.long_pauses, 1);
}

TYPED_TEST(Link, GalilProgramLinesAreSentInPiecesOf127WithoutTheirLineEnds) {
    this->write("setup2.dat", "KP 6\r\n" + std::string(200, 'A') + "\n\nSP 40000\n");
    this->use(ControllerFamily::galil);
    EXPECT_EQ(Init_Galil(), 0);
    EXPECT_EQ(this->sim().commands(),
              (Commands{"75\r", "KP 6\r", std::string(127, 'A') + "\r", std::string(73, 'A') + "\r",
                        "\r", "SP 40000\r", "8\r"}));
}

TYPED_TEST(Link, AProgramLineAnsweredWithAQuestionMarkEndsTheProgram) {
    this->write("setup2.dat", "MO\nXX\n");
    SimOptions o;
    o.program_line_answer = '?';
    this->sim().set_options(o);
    this->use(ControllerFamily::galil);
    this->expect_end_after_20_seconds([] { Init_Galil(); });
    EXPECT_EQ(this->sim().commands(), (Commands{"75\r", "MO\r"}));
}

}  // namespace

// The controller's terminal goes away (a USB adapter pulled out) and comes
// back: the lost controller is thrown to the window, and Connect opens the
// port again and starts the controller without a restart of the program.
using Reconnect = PtyControllerTest;

TEST_F(Reconnect, AfterTheControllerWentAwayAndCameBack) {
    settings.model = 1;
    settings.steps = 1000;
    start_ctrace();
    recover_from_lost_controller(true);
    ASSERT_EQ(reconnect_machine().outcome, Startup::ready);
    pty_sim.stop();
    EXPECT_THROW(sheer(), ControllerLost);
    EXPECT_FALSE(com.ready);
    std::string why;
    ASSERT_TRUE(pty_sim.start(why)) << why;
    ASSERT_TRUE(pty_sim.link_as(dir.file("COM1"), why)) << why;
    ASSERT_EQ(reconnect_machine().outcome, Startup::ready);
    int32_t sheers = counters.sheers;
    sheer();
    EXPECT_EQ(counters.sheers, sheers + 1);
    EXPECT_TRUE(eventually([this] { return pty_sim.commands().back() == "S,0\r"; }));
    recover_from_lost_controller(false);
}
