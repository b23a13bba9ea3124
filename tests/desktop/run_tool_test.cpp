// The real program on a real X display (Xvfb): started with --simulate on a
// copy of the sample machine folder and the sample drawing, "Run Tool" is
// clicked with the mouse, and clicked again while the job runs, and the
// program is left through File, Exit with the keyboard. What it leaves in the
// machine folder must be what the window procedure leaves when it is given
// the same start and one Run Tool in-process.
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <memory>
#include <thread>

#include "records/notice.h"
#include "resources/resources.h"
#include "shell/window.h"
#include "shell/window_state.h"
#include "tests/support/controller_support.h"
#include "tests/support/ui.h"

extern char** environ;

namespace {

using namespace std::chrono_literals;

pid_t spawn(std::vector<std::string> args, const std::string& log, int displayfd = -1) {
    std::vector<char*> argv;
    for (auto& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, log.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0644);
    posix_spawn_file_actions_adddup2(&actions, 1, 2);
    if (displayfd >= 0) posix_spawn_file_actions_adddup2(&actions, displayfd, 3);
    pid_t pid = -1;
    if (posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ) != 0) pid = -1;
    posix_spawn_file_actions_destroy(&actions);
    return pid;
}

// Waits for `pid` to end, at most `limit`; its exit status, or -1.
int wait_for(pid_t pid, std::chrono::seconds limit) {
    auto until = std::chrono::steady_clock::now() + limit;
    while (std::chrono::steady_clock::now() < until) {
        int status = 0;
        if (waitpid(pid, &status, WNOHANG) == pid) return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        std::this_thread::sleep_for(50ms);
    }
    kill(pid, SIGKILL);
    waitpid(pid, nullptr, 0);
    return -1;
}

bool eventually(std::chrono::seconds limit, const std::function<bool()>& done) {
    auto until = std::chrono::steady_clock::now() + limit;
    while (std::chrono::steady_clock::now() < until) {
        if (done()) return true;
        std::this_thread::sleep_for(100ms);
    }
    return false;
}

std::string output_of(const std::string& command) {
    std::string out;
    if (FILE* p = ::popen(command.c_str(), "r")) {
        char buf[256];
        while (std::fgets(buf, sizeof buf, p)) out += buf;
        ::pclose(p);
    }
    return out;
}

// A virtual X display of its own, for as long as the test runs.
class Xvfb {
public:
    explicit Xvfb(const std::string& log) {
        // A display that has said it is ready is taken only once a client
        // has been seen to connect to it; a server that cannot serve one is
        // replaced, a few times at most.
        for (int attempt = 0; attempt < 3 && display_.empty(); ++attempt) {
            start(log);
            if (!display_.empty() && !serves_a_client()) stop();
        }
    }
    ~Xvfb() { stop(); }
    const std::string& display() const { return display_; }

private:
    void start(const std::string& log) {
        int fds[2];
        if (::pipe(fds) != 0) return;
        pid_ = spawn({"Xvfb", "-displayfd", "3", "-screen", "0", "1024x768x24", "-nolisten", "tcp"},
                     log, fds[1]);
        ::close(fds[1]);
        // Xvfb writes its display number when it is ready for clients.
        std::string number;
        pollfd p{fds[0], POLLIN, 0};
        char c = 0;
        while (pid_ > 0 && ::poll(&p, 1, 30000) == 1 && ::read(fds[0], &c, 1) == 1 && c != '\n')
            number += c;
        ::close(fds[0]);
        if (c == '\n' && !number.empty()) display_ = ":" + number;
    }
    bool serves_a_client() const {
        return !output_of("DISPLAY=" + display_ + " xdotool getdisplaygeometry 2>/dev/null").empty();
    }
    void stop() {
        if (pid_ > 0) {
            kill(pid_, SIGTERM);
            wait_for(pid_, 10s);
        }
        pid_ = -1;
        display_.clear();
    }

    pid_t pid_ = -1;
    std::string display_;
};

// The real program on a copy of the sample machine folder and the sample
// drawing, its window on a display of its own.
class RunTool : public ControllerTest {
protected:
    // Starts the program and finds its window; false when Xvfb cannot start.
    // A program that ends before its window shows (its display gone from
    // under it) is started once more on a new display.
    bool start_program() {
        for (const char* f : {"setup.dat", "setup2.dat", "log.dat"})
            std::filesystem::copy_file(sample + f, machine.file(f));
        ::unsetenv("WAYLAND_DISPLAY");
        ::unsetenv("QT_QPA_PLATFORM");
        bool shown = false;
        for (int attempt = 0; attempt < 2 && !shown; ++attempt) {
            x.reset();
            x = std::make_unique<Xvfb>(logs.file("xvfb.log"));
            if (x->display().empty()) return false;
            ::setenv("DISPLAY", x->display().c_str(), 1);
            zel = spawn({ZEL_BINARY, "--simulate", "--dir", machine.path(), drawing},
                        logs.file("zel.log"));
            if (zel <= 0) break;
            bool ended = false;
            shown = eventually(60s, [&] {
                window = output_of("xdotool search --onlyvisible --classname '^zel$' 2>/dev/null");
                ended = window.empty() && ::waitpid(zel, nullptr, WNOHANG) == zel;
                return !window.empty() || ended;
            }) && !ended;
            if (!shown && !ended) wait_for(zel, 0s);
        }
        EXPECT_GT(zel, 0);
        EXPECT_TRUE(shown) << read_file(logs.file("zel.log")) << read_file(logs.file("xvfb.log"));
        window = window.substr(0, window.find('\n'));
        return true;
    }
    const std::string sample = ZEL_SOURCE_DIR "/examples/machine/";
    const std::string drawing = ZEL_SOURCE_DIR "/examples/drawings/letters.dxf";
    TempDir machine, logs;
    std::unique_ptr<Xvfb> x;
    pid_t zel = -1;
    std::string window;
};

TEST_F(RunTool, AClickOnRunToolInTheRealWindowMakesTheJob) {
    if (!start_program()) GTEST_SKIP() << "Xvfb cannot start: " << read_file(logs.file("xvfb.log"));
    ASSERT_FALSE(window.empty());

    // "Run Tool" is 70 x 40 pixels at (300, 5) in the client area, which lies
    // below the menu bar: (336, 52) in the window hits it for any menu bar
    // from 8 to 47 pixels high.
    std::string click_run_tool = "xdotool mousemove --window " + window + " 336 52 click 1";
    output_of(click_run_tool);
    // A second click while the job runs is not taken, then or later.
    bool started = eventually(60s, [&] { return file_exists(machine.file("trace.txt")); });
    output_of(click_run_tool);
    bool counted = eventually(120s, [&] { return read_file(machine.file("log.dat")).rfind("1 ", 0) == 0; });
    // File, Exit.
    output_of("xdotool windowfocus --sync " + window + " key alt+f");
    std::this_thread::sleep_for(500ms);
    output_of("xdotool key x");
    int status = wait_for(zel, 60s);
    EXPECT_TRUE(started);
    ASSERT_TRUE(counted) << "the job was not counted: " << read_file(machine.file("log.dat"))
                         << read_file(logs.file("zel.log"));
    EXPECT_EQ(status, 0) << read_file(logs.file("zel.log"));

    // The same in-process: the shell's own start-up and command, the
    // simulated controller of the same family plugged in as the port.
    for (const char* f : {"setup.dat", "setup2.dat", "log.dat"})
        std::filesystem::copy_file(sample + f, dir.file(f));
    FakeWindowSystem ws;
    win.carg = 1;
    win.argument = drawing;
    zelWndProc(Message{WindowMessage::create});
    Message click{WindowMessage::command};
    click.id = IDM_RUN_TOOL;
    zelWndProc(click);
    ASSERT_EQ(message_line.err, 0) << message_line.record;

    for (const char* f : {"trace.txt", "ctrace.txt", "log.dat"}) {
        SCOPED_TRACE(f);
        std::string made = read_file(machine.file(f));
        EXPECT_GT(made.size(), 10u);
        EXPECT_EQ(made, read(f));
    }
}

// Esc during a real job stops it where it is; SIGTERM then closes the window
// as its close box does, with the counts on the disk.
TEST_F(RunTool, EscStopsARealJobAndSigtermClosesTheWindow) {
    if (!start_program()) GTEST_SKIP() << "Xvfb cannot start: " << read_file(logs.file("xvfb.log"));
    ASSERT_FALSE(window.empty());
    // Options, Contineous Job: every figure, long enough for Esc to come during it.
    output_of("xdotool windowfocus --sync " + window + " key alt+o");
    std::this_thread::sleep_for(500ms);
    output_of("xdotool key c");
    std::this_thread::sleep_for(500ms);
    output_of("xdotool mousemove --window " + window + " 336 52 click 1");  // Run Tool
    bool running = eventually(60s, [&] {
        return read_file(machine.file("trace.txt")).find("Fire indicate") != std::string::npos;
    });
    output_of("xdotool windowfocus --sync " + window + " key Escape");
    // At a wall, or in the job end when the machine is slow to take the key.
    bool stopped = eventually(30s, [&] {
        return read_file(machine.file("trace.txt")).find("Job stopped by the operator ") !=
               std::string::npos;
    });
    ::kill(zel, SIGTERM);
    int status = wait_for(zel, 30s);
    EXPECT_TRUE(running);
    EXPECT_TRUE(stopped) << read_file(machine.file("trace.txt")).substr(0, 2000);
    EXPECT_EQ(status, 0) << read_file(logs.file("zel.log"));
    EXPECT_NE(read_file(machine.file("jobs.csv")).find(",stopped by operator"), std::string::npos);
    EXPECT_NE(read_file(machine.file("log.dat")), read_file(sample + "log.dat"));
}

// A hang-up, or the display going away, during a real job ends the program
// through the steps of SIGTERM: the job stops as by Stop, trace.txt ends with
// where, the job history has its line and the counts are on the disk.
TEST_F(RunTool, AHangUpOrTheLossOfTheDisplayStopsTheJobAndEndsTheProgram) {
    for (const char* cause : {"SIGHUP", "the loss of the display"}) {
        SCOPED_TRACE(cause);
        for (const char* f : {"setup.dat", "setup2.dat", "log.dat", "trace.txt", "jobs.csv",
                              "job-interrupted"})
            std::filesystem::remove(machine.file(f));
        if (!start_program())
            GTEST_SKIP() << "Xvfb cannot start: " << read_file(logs.file("xvfb.log"));
        output_of("xdotool windowfocus --sync " + window + " key alt+o");
        std::this_thread::sleep_for(500ms);
        output_of("xdotool key c");  // Contineous Job: long enough
        std::this_thread::sleep_for(500ms);
        output_of("xdotool mousemove --window " + window + " 336 52 click 1");  // Run Tool
        bool running = eventually(60s, [&] {
            return read_file(machine.file("trace.txt")).find("Fire indicate") != std::string::npos;
        });
        if (std::string(cause) == "SIGHUP")
            ::kill(zel, SIGHUP);
        else
            x.reset();
        int status = wait_for(zel, 60s);
        EXPECT_TRUE(running);
        EXPECT_NE(status, -1) << read_file(logs.file("zel.log"));
        std::string trace = read_file(machine.file("trace.txt"));
        EXPECT_NE(trace.find("\nJob stopped by " + std::string(cause) + " "),
                  std::string::npos)
            << trace.substr(trace.size() > 300 ? trace.size() - 300 : 0);
        EXPECT_NE(read_file(machine.file("jobs.csv")).find(",stopped by " + std::string(cause)),
                  std::string::npos)
            << read_file(machine.file("jobs.csv"));
        EXPECT_NE(read_file(machine.file("log.dat")), read_file(sample + "log.dat"));
    }
}

}  // namespace
