// The production log written off the machine's path: newest content wins,
// failures are told once a job, and a kill at any moment leaves a whole line
// that is never lower than before, and a whole interrupted-job record never
// ahead of the controller's answers.
#include <signal.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <fcntl.h>
#include <filesystem>
#include <random>
#include <regex>
#include <thread>

#include "app/reset.h"
#include "controller/commands.h"
#include "controller/serial_link.h"
#include "platform/serial.h"
#include "records/history.h"
#include "records/interrupted.h"
#include "records/notice.h"
#include "records/prodlog.h"
#include "records/progdir.h"
#include "records/settings.h"
#include "sequencing/jobrun.h"
#include "sim/serial_sim.h"
#include "tests/support/figures.h"
#include "tests/support/machine.h"
#include "tests/support/support.h"

extern char** environ;

namespace {

using ProductionLog = ProgramDirTest;

TEST_F(ProductionLog, ALogThatCannotBeWrittenIsToldOnceAPeriodAndKeptForTheNextWrite) {
    for (bool background : {false, true}) {
        SCOPED_TRACE(background);
        write_log_in_background(background);
        std::filesystem::remove(dir.file("log.dat"));
        std::filesystem::create_directory(dir.file("log.dat"));  // nothing can replace it
        take_notices();
        for (int k = 0; k < 5; ++k) {
            ++counters.notch30;
            write_log();
        }
        flush_log();
        std::vector<std::string> told = take_notices();
        ASSERT_EQ(told.size(), 1u);
        EXPECT_NE(told[0].find("the counts are kept and saved at the next chance"),
                  std::string::npos);
        begin_log_period();  // the next job
        write_log();
        flush_log();
        EXPECT_EQ(take_notices().size(), 1u);
        std::filesystem::remove(dir.file("log.dat"));
        write_log();
        flush_log();
        EXPECT_EQ(read("log.dat"), format_log());
        write_log_in_background(false);
        begin_log_period();
    }
}

// In a process of its own (see below): makes jobs on the in-process
// simulator with the real pauses, its log written in the background and a
// job history line after each, until killed.
TEST(LogUnderKill, MakesJobsUntilKilled) {
    const char* folder = std::getenv("ZEL_KILL_FOLDER");
    if (!folder) GTEST_SKIP() << "run by LogUnderKill.AlwaysAWholeLineNeverBelowTheStart";
    reset_all_state();
    std::string why;
    ASSERT_TRUE(set_program_directory(folder, why)) << why;
    SimSerial sim(ControllerFamily::slo_syn);
    set_serial_device(&sim);
    typical_job_settings();
    settings.model = 3;
    settings.port = 1;
    set_command_strings();
    ASSERT_EQ(init_com(), 0);
    get_log();
    write_log_in_background(true);
    load_figures({rectangle(0, 0, 30, 10)});
    HistoryLine h;
    h.drawing = "rectangle.dxf";
    h.result = "done";
    for (;;) {
        make_job();
        append_history(h);
    }
}

TEST(LogUnderKill, AlwaysAWholeLineNeverBelowTheStart) {
    const std::string start = "3 10 4 2 1 1 5 100.000000";
    const std::regex whole(R"(^(\d+) (\d+) (\d+) (\d+) (\d+) (\d+) (\d+) (\d+\.\d{6})$)");
    std::mt19937 random(20261207);
    std::uniform_int_distribution<int> moment_ms(20, 600);
    int grew = 0, records = 0;
    for (int round = 0; round < 12; ++round) {
        TempDir folder;
        write_file(folder.file("log.dat"), start);
        std::string env_folder = "ZEL_KILL_FOLDER=" + folder.path();
        std::vector<char*> env;
        for (char** e = environ; *e; ++e) env.push_back(*e);
        env.push_back(env_folder.data());
        env.push_back(nullptr);
        std::string self = "/proc/self/exe", filter = "--gtest_filter=LogUnderKill.MakesJobsUntilKilled";
        char* argv[] = {self.data(), filter.data(), nullptr};
        posix_spawn_file_actions_t quiet;
        posix_spawn_file_actions_init(&quiet);
        posix_spawn_file_actions_addopen(&quiet, 1, "/dev/null", O_WRONLY, 0);
        posix_spawn_file_actions_addopen(&quiet, 2, "/dev/null", O_WRONLY, 0);
        pid_t pid = 0;
        ASSERT_EQ(posix_spawn(&pid, self.c_str(), &quiet, nullptr, argv, env.data()), 0);
        posix_spawn_file_actions_destroy(&quiet);
        std::this_thread::sleep_for(std::chrono::milliseconds(moment_ms(random)));
        ::kill(pid, SIGKILL);
        int status = 0;
        ::waitpid(pid, &status, 0);

        std::string line = read_file(folder.file("log.dat"));
        std::smatch m;
        ASSERT_TRUE(std::regex_match(line, m, whole)) << "round " << round << ": " << line;
        std::smatch was;
        std::regex_match(start, was, whole);
        for (int k = 1; k <= 8; ++k)
            EXPECT_GE(std::stod(m[k]), std::stod(was[k])) << "round " << round << ": " << line;
        grew += line != start;

        // The job history holds whole lines only.
        std::string history = read_file(folder.file("jobs.csv"));
        EXPECT_TRUE(history.empty() || history.substr(history.size() - 2) == "\r\n") << round;

        // The interrupted-job record is whole, and counts no stroke the
        // controller did not answer (ctrace.txt holds every answer).
        if (!file_exists(folder.file("job-interrupted"))) continue;
        Interrupted r;
        EXPECT_EQ(scan_interrupted(read_file(folder.file("job-interrupted")), r), "") << round;
        std::string traced = read_file(folder.file("ctrace.txt"));
        long notches = 0;
        for (std::size_t at = 0; (at = traced.find("send-> N,0\r \r\nreceive-> D", at)) !=
                                 std::string::npos;
             ++at)
            ++notches;
        EXPECT_LE(r.counts.notch30 - 10, notches) << "round " << round;
        EXPECT_GE(r.counts.notch30, 10) << "round " << round;
        EXPECT_GE(read_file(folder.file(kAnsweredFile)).size(), std::size_t(r.answered)) << round;
        ++records;
    }
    EXPECT_GT(records, 6);  // most kills came during a job
    EXPECT_GT(grew, 6);  // most kills came while the jobs were counting
}

}  // namespace
