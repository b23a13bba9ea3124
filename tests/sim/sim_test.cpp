// The simulated controller: what tests of the machine's operations rely on.
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <sys/wait.h>

#include "controller/commands.h"
#include "controller/serial_link.h"
#include "records/settings.h"
#include "tests/support/controller_support.h"

namespace {

// Feeds a command and collects what is due at once.
std::string ask(SimController& sim, const std::string& command) {
    for (char c : command) sim.receive(c);
    std::string out;
    char byte;
    while (sim.poll_output(byte) == 1) out += byte;
    return out;
}

TEST(Sim, PhotoCellSeesTheStripOnceItHasComeTheCellDistanceSinceHome) {
    SimOptions o;
    o.steps_per_inch = 1000.0f;
    o.cell_distance = 24.0f;
    SimController sim(ControllerFamily::slo_syn, o);
    EXPECT_EQ(ask(sim, "C,0\r"), "E");
    EXPECT_EQ(ask(sim, "M,-23999.000000\r"), "D");
    EXPECT_EQ(ask(sim, "C,0\r"), "E");
    EXPECT_EQ(ask(sim, "F,-1.000000\r"), "D");
    EXPECT_EQ(ask(sim, "C,0\r"), "D");
    EXPECT_EQ(ask(sim, "H,0\r"), "D");
    EXPECT_EQ(sim.position(), 0.0f);
    EXPECT_EQ(ask(sim, "C,0\r"), "E");
}

TEST(Sim, MisbehavesAsTold) {
    SimOptions o;
    o.home_errors = 1;
    o.garbage = "#\r";
    o.silent_after = 3;
    SimController sim(ControllerFamily::slo_syn, o);
    EXPECT_EQ(ask(sim, "H,0\r"), "#\rE");
    EXPECT_EQ(ask(sim, "H,0\r"), "#\rD");
    EXPECT_EQ(ask(sim, "RUN\r"), "");   // a restart is never answered
    EXPECT_EQ(ask(sim, "N,0\r"), "");   // the fourth command: silent from here on
    EXPECT_EQ(sim.homes(), 2);
    EXPECT_EQ(sim.received(), "H,0\rH,0\rRUN\rN,0\r");
}

TEST(Sim, ADelayedAnswerComesAfterThatManyEmptyPolls) {
    SimOptions o;
    o.delay_ms = 3;
    SimController sim(ControllerFamily::slo_syn, o);
    for (char c : std::string("N,0\r")) sim.receive(c);
    char byte;
    for (int i = 0; i < 3; ++i) EXPECT_EQ(sim.poll_output(byte), 0);
    EXPECT_EQ(sim.poll_output(byte), 1);
    EXPECT_EQ(byte, 'D');
}

using PtySimTest = PtyControllerTest;

TEST_F(PtySimTest, PacesItsAnswerLikeA9600BaudLineAndDelaysItAsTold) {
    use(ControllerFamily::slo_syn);
    SimOptions o;
    o.pace = true;
    o.delay_ms = 20;
    o.answer_all_with = "abc\r#D";
    pty_sim.set_options(o);
    auto start = std::chrono::steady_clock::now();
    put_data(commands.N);
    EXPECT_EQ(wait_for_Slo_Syn(), 1);
    // Only a lower bound: a slow machine may take longer, never less.
    auto took = std::chrono::steady_clock::now() - start;
    // The four bytes of the command cross the line, then the six of the answer.
    EXPECT_GE(took, std::chrono::microseconds(20000 + (4 + 6) * 1042));
    EXPECT_EQ(trace().size(), 7u);
}

}  // namespace

namespace {

// zel-sim never takes the place of the operator's link to the machine.
TEST(SimProgram, LeavesALinkThatIsThereAlone) {
    TempDir dir;
    std::filesystem::create_symlink("/dev/null", dir.file("COM1"));
    std::string program = std::filesystem::path(ZEL_BINARY).parent_path() / "zel-sim";
    int status = std::system((program + " --dir " + dir.path() + " >/dev/null 2>&1").c_str());
    EXPECT_EQ(WEXITSTATUS(status), 1);
    EXPECT_EQ(std::filesystem::read_symlink(dir.file("COM1")), "/dev/null");
}

}  // namespace
