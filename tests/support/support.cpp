#include "tests/support/support.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "app/reset.h"
#include "records/progdir.h"

extern char** environ;

TempDir::TempDir() {
    char name[] = "/tmp/zel-test-XXXXXX";
    char* made = ::mkdtemp(name);
    if (!made) std::abort();
    path_ = made;
}

TempDir::~TempDir() {
    std::error_code ec;
    std::filesystem::permissions(path_, std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::add, ec);
    std::filesystem::remove_all(path_, ec);
}

std::string read_file(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

void write_file(const std::string& path, const std::string& content) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << content;
}

bool file_exists(const std::string& path) { return std::filesystem::exists(path); }

void ProgramDirTest::SetUp() {
    char* cwd = ::getcwd(nullptr, 0);
    old_cwd_ = cwd ? cwd : "/";
    std::free(cwd);
    reset_all_state();
    std::string why;
    ASSERT_TRUE(set_program_directory(dir.path(), why)) << why;
}

void ProgramDirTest::TearDown() {
    if (::chdir(old_cwd_.c_str()) != 0) std::abort();
    reset_all_state();
}

RunResult run_zel(const std::vector<std::string>& args, const std::string& cwd) {
    TempDir capture;
    std::string out_path = capture.file("out"), err_path = capture.file("err");
    std::vector<std::string> argv_s{ZEL_BINARY};
    argv_s.insert(argv_s.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (auto& a : argv_s) argv.push_back(a.data());
    argv.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, out_path.c_str(), O_WRONLY | O_CREAT, 0644);
    posix_spawn_file_actions_addopen(&actions, 2, err_path.c_str(), O_WRONLY | O_CREAT, 0644);
    if (!cwd.empty()) posix_spawn_file_actions_addchdir_np(&actions, cwd.c_str());
    pid_t pid = 0;
    RunResult r;
    if (posix_spawn(&pid, ZEL_BINARY, &actions, nullptr, argv.data(), environ) == 0) {
        int wstatus = 0;
        waitpid(pid, &wstatus, 0);
        if (WIFEXITED(wstatus)) r.status = WEXITSTATUS(wstatus);
    }
    posix_spawn_file_actions_destroy(&actions);
    r.out = read_file(out_path);
    r.err = read_file(err_path);
    return r;
}
