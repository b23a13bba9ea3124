// Opening the port, its failures and their texts, the link on a
// pseudo-terminal, and the end of the program when the controller stops
// answering.
#include <cerrno>
#include <cmath>
#include <filesystem>

#include "controller/commands.h"
#include "controller/serial_link.h"
#include "platform/exit.h"
#include "platform/serial.h"
#include "platform/text.h"
#include "records/notice.h"
#include "records/settings.h"
#include "tests/support/controller_support.h"

namespace {

using Commands = std::vector<std::string>;
using SerialPort = ControllerTest;
using Step = SimSerial::Step;

TEST_F(SerialPort, PortsOutsideOneToFourTouchNoDevice) {
    for (int port : {0, 5, -1}) {
        settings.port = port;
        EXPECT_EQ(init_com(), 1);
        EXPECT_EQ(com.failure, "Invalid port:");
        EXPECT_EQ(com_failure_reason(), "Invalid port: " + std::to_string(port));
    }
    EXPECT_EQ(serial_sim.opened, "");
}

TEST_F(SerialPort, APortIsTheCOMLinkInTheProgramDirectoryElseTheMachinesOwnPort) {
    EXPECT_EQ(port_device(1), "/dev/ttyS0");
    EXPECT_EQ(port_device(4), "/dev/ttyS3");
    // A link that leads nowhere is still the operator's choice, and is reported as such.
    std::filesystem::create_symlink("/dev/ttyUSB7", dir.file("COM2"));
    EXPECT_EQ(port_device(2), dir.file("COM2"));
    settings.port = 2;
    EXPECT_EQ(init_com(), 0);
    EXPECT_EQ(serial_sim.opened, dir.file("COM2"));
}

TEST_F(SerialPort, TheOverrideStandsForEveryValidPortUntilReset) {
    std::filesystem::create_symlink("/dev/ttyUSB7", dir.file("COM1"));
    set_port_override("/dev/pts/77");
    EXPECT_EQ(port_device(1), "/dev/pts/77");
    EXPECT_EQ(port_device(4), "/dev/pts/77");
    EXPECT_EQ(port_device(5), "");
    settings.port = 1;
    EXPECT_EQ(init_com(), 0);
    EXPECT_EQ(serial_sim.opened, "/dev/pts/77");
    reset_com();
    EXPECT_EQ(port_device(1), dir.file("COM1"));
}

TEST_F(SerialPort, EachFailingStepHasItsOwnText) {
    const std::pair<Step, const char*> steps[] = {
        {Step::open, "Error Function: CreateFile:"},
        {Step::read_line, "Error Function: GetCommState:"},
        {Step::set_line, "Error on function: SetCommState:"},
        {Step::set_timeouts, "Error on function: SetCommTimeouts:"}};
    for (auto [step, text] : steps) {
        serial_sim.fail(step, EIO);
        EXPECT_EQ(init_com(), 1);
        EXPECT_EQ(com.failure, text);
        EXPECT_FALSE(com.open);
        EXPECT_EQ(com_failure_reason(), std::string(text) + " /dev/ttyS0: Input/output error");
        // The window names no system call.
        EXPECT_EQ(com_failure_words(), "The serial port /dev/ttyS0 could not be used "
                                       "(Input/output error)");
    }
}

TEST_F(SerialPort, FailuresAreExplainedByKind) {
    auto advice = [&](Step step, int error) {
        serial_sim.fail(step, error);
        init_com();
        return com_failure_advice();
    };
    EXPECT_NE(advice(Step::open, EBUSY).find("in use by another program"), std::string::npos);
    EXPECT_NE(advice(Step::open, EACCES).find("dialout group"), std::string::npos);
    EXPECT_NE(advice(Step::open, ENOENT).find("There is no serial device /dev/ttyS0"),
              std::string::npos);
    EXPECT_NE(advice(Step::read_line, ENOTTY).find("/dev/ttyS0 is not a serial port"),
              std::string::npos);
    EXPECT_NE(advice(Step::set_line, EINVAL).find("9600 baud"), std::string::npos);
}

TEST_F(SerialPort, AFailedWriteStopsTheCommandAndSaysSo) {
    use(ControllerFamily::slo_syn);
    serial_sim.fail(Step::write, EIO, 2);
    testing::internal::CaptureStderr();
    EXPECT_EQ(put_data("RUN\r"), 1);
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "Error on function: WriteFile: Input/output error\n");
    EXPECT_EQ(serial_sim.received(), "RU");
    EXPECT_EQ(trace(), Commands{"send-> RUN\r \r\n"});
}

TEST_F(SerialPort, ATraceThatCannotBeWrittenIsToldOnceAndTheMachineGoesOn) {
    use(ControllerFamily::slo_syn);
    std::filesystem::remove(dir.file("ctrace.txt"));
    std::filesystem::create_directory(dir.file("ctrace.txt"));
    take_notices();
    testing::internal::CaptureStderr();
    put_data(commands.N);
    EXPECT_EQ(wait_for_Slo_Syn(), 1);
    put_data(commands.N);
    EXPECT_EQ(wait_for_Slo_Syn(), 1);
    testing::internal::GetCapturedStderr();
    auto told = take_notices();
    ASSERT_EQ(told.size(), 1u);
    EXPECT_NE(told[0].find("ctrace.txt"), std::string::npos);
    EXPECT_EQ(serial_sim.commands(), (Commands{"N,0\r", "N,0\r"}));
}

// However it was computed, a move that is no number or beyond the travel
// limit stops the work before anything is sent, and says which move it was.
TEST_F(SerialPort, AMoveBeyondTheTravelLimitIsNeverSent) {
    struct Case {
        ControllerFamily family;
        float units;  // inches for the Galil, steps for the Slo-Syn (1000 an inch)
        const char* says;
    };
    const Case cases[] = {
        {ControllerFamily::galil, NAN, "(nan in.) was not sent"},
        {ControllerFamily::galil, 1200.5f, "The strip move 10 -1200.500000 (1200.5 in.)"},
        {ControllerFamily::galil, -1e30f, "(-1e+30 in.) was not sent: one move may be at most "
                                          "1200 in., the machine's travel limit"},
        {ControllerFamily::slo_syn, INFINITY, "The strip move M,-inf (inf in.)"},
        {ControllerFamily::slo_syn, 1200001.0f, "M,-1200001.000000 (1200.001 in.)"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.says);
        settings.steps = 1000;
        use(c.family);
        try {
            run_move(c.units);
            ADD_FAILURE() << "sent";
        } catch (const JobStopped& stopped) {
            EXPECT_NE(stopped.why.find(c.says), std::string::npos) << stopped.why;
        }
        EXPECT_TRUE(serial_sim.received().empty());
        run_move(c.family == ControllerFamily::galil ? -1200.0f : 1200000.0f);  // the limit itself
        EXPECT_FALSE(serial_sim.received().empty());
        serial_sim.clear_log();
    }
    use(ControllerFamily::slo_syn);
    settings.steps = 0;  // no inches can be known
    EXPECT_THROW(run_move(1.0f), JobStopped);
}

TEST(Answers, OnlyColonDLAndEMeanSomething) {
    for (const char* one : {":", "D", "L"}) EXPECT_EQ(answer_class(one), 1) << one;
    EXPECT_EQ(answer_class("E"), 0);
    for (const char* none : {"", "?", "d", "x"}) EXPECT_EQ(answer_class(none), -1) << none;
}

using SerialPortDeathTest = SerialPort;

TEST_F(SerialPortDeathTest, AControllerThatStopsAnsweringEndsTheProgramWithEveryFileComplete) {
    use(ControllerFamily::slo_syn);
    SimOptions o;
    o.silent_after = 1;
    serial_sim.set_options(o);
    set_program_exit(nullptr);
    EXPECT_EXIT(
        {
            put_data(commands.H);
            wait_for_Slo_Syn();
            put_data(commands.S);
            wait_for_Slo_Syn();
        },
        testing::ExitedWithCode(255),
        "\nzel: the controller stopped answering \\(no answer within 20 seconds\\); the program "
        "ends\n$");
    EXPECT_EQ(trace(), (Commands{"send-> H,0\r \r\n", "receive-> D\r\n", "send-> S,0\r \r\n"}));
}

TEST_F(SerialPort, ADeviceThatFailsWhileTheProgramWaitsEndsItAtOnceWithItsReason) {
    use(ControllerFamily::slo_syn);
    serial_sim.fail(SimSerial::Step::read, EIO);
    long long before = clock.now_ms;
    put_data(commands.N);
    take_notices();
    testing::internal::CaptureStderr();
    try {
        wait_for_Slo_Syn();
        FAIL() << "the wait went on";
    } catch (const ProgramEnded& end) {
        EXPECT_EQ(end.status, -1);
        EXPECT_EQ(end.line, "zel: the serial device /dev/ttyS0 went away (Input/output error); "
                            "the program ends");
    }
    EXPECT_EQ(testing::internal::GetCapturedStderr().rfind(
                  "Error on function: ReadFile: Input/output error\n", 0),
              0u);
    EXPECT_LT(clock.now_ms - before, 100);  // at once, not after 20 seconds
    EXPECT_TRUE(com.gone);
    // The operator is told as the program ends, under a caption of its own.
    std::vector<Notice> told = take_pending_notices();
    ASSERT_EQ(told.size(), 1u);
    EXPECT_TRUE(told[0].final);
    EXPECT_EQ(told[0].caption, "The controller is lost");
    EXPECT_EQ(told[0].text.rfind("the serial device /dev/ttyS0 went away (Input/output error) "
                                 "while the program waited for the answer to the 30-degree notch "
                                 "(\"N,0\").",
                                 0),
              0u)
        << told[0].text;
}

TEST_F(SerialPort, EveryStartKeepsTheTracesOfTheFiveBefore) {
    for (int k = 1; k <= 7; ++k) {
        start_ctrace();
        put_data(strprintf("start %d\r", k).c_str());
    }
    EXPECT_NE(read("ctrace.txt").find("start 7"), std::string::npos);
    for (int k = 1; k <= 5; ++k)
        EXPECT_NE(read(strprintf("ctrace.%d.txt", k)).find(strprintf("start %d", 7 - k)),
                  std::string::npos)
            << k;
    EXPECT_FALSE(file_exists(dir.file("ctrace.6.txt")));
}

// The link on the termios device, on the simulator's pseudo-terminal.
using TermiosPort = PtyControllerTest;

TEST_F(TermiosPort, TheEndOfTheProgramReleasesThePort) {
    use(ControllerFamily::slo_syn);
    TermiosDevice second;
    EXPECT_EQ(second.open(pty_sim.device()), OpenStep::open_device);
    run_program_end_steps();
    EXPECT_EQ(second.open(pty_sim.device()), OpenStep::ready);
}

TEST_F(TermiosPort, BytesPassUnchangedBothWays) {
    use(ControllerFamily::slo_syn);
    // Line ends, XON/XOFF, the interrupt and end-of-file characters, a NUL, a high byte.
    const std::string awkward{"\n\r\x11\x13\x03\x04\x00\xff D", 11};
    SimOptions o;
    o.answer_all_with = awkward;
    pty_sim.set_options(o);
    std::string sent = "A\n\x11\x13\x03\x04\r";
    put_data(sent.c_str());
    EXPECT_TRUE(eventually([&] { return pty_sim.received() == sent; })) << pty_sim.received();
    char loc[24];
    std::size_t bytes = 0;
    while (bytes < awkward.size() && poll_byte(loc, 5000) == 1) ++bytes;
    EXPECT_EQ(bytes, awkward.size());
    std::string expected_trace = "Communications trace\nsend-> " + sent + " \r\n";
    for (char c : awkward) expected_trace += std::string("receive-> ") + c + "\r\n";
    EXPECT_EQ(read("ctrace.txt"), expected_trace);
}

}  // namespace
