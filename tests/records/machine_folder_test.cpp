// Where the program keeps its files when the command line names no folder,
// and the operator's machine folder made from the sample.
#include <unistd.h>

#include <filesystem>

#include "records/notice.h"
#include "records/progdir.h"
#include "tests/support/support.h"

namespace {

namespace fs = std::filesystem;

class DefaultFolderTest : public ::testing::Test {
protected:
    void SetUp() override { reset_all_state(); }
    void TearDown() override { reset_all_state(); }
    TempDir top;
};

TEST_F(DefaultFolderTest, TheProgramsOwnFolderOnlyWhenItIsAMachineFolderThatMayBeWritten) {
    fs::create_directories(top.file("bin"));
    write_file(top.file("bin/setup.dat"), "1 2 3");
    fs::create_directories(top.file("build"));
    std::string mine = top.file("mine");
    std::string home = top.file("home");
    struct Case {
        std::string exe_folder;
        const char* zel_machine;
        std::string dir;
        bool own;
    } cases[] = {
        {top.file("bin"), nullptr, top.file("bin"), false},          // as always
        {top.file("bin"), mine.c_str(), top.file("bin"), false},
        {top.file("build"), nullptr, home + "/zel-machine", true},   // no setup.dat
        {top.file("build"), mine.c_str(), mine, true},
        {top.file("build"), "", home + "/zel-machine", true},
        {"/usr/bin", nullptr, home + "/zel-machine", true},          // even for root
        {"/usr/local/bin", mine.c_str(), mine, true},
        {top.file("gone"), nullptr, home + "/zel-machine", true},
    };
    for (const Case& c : cases) {
        DefaultFolder d = default_program_directory(c.exe_folder, c.zel_machine, home.c_str());
        EXPECT_EQ(d.dir, c.dir) << c.exe_folder;
        EXPECT_EQ(d.own, c.own) << c.exe_folder;
    }
    EXPECT_EQ(default_program_directory("/usr/bin", nullptr, "/").dir, "");
}

TEST_F(DefaultFolderTest, AFolderThatCannotBeWrittenIsNotUsed) {
    if (::geteuid() == 0) GTEST_SKIP() << "root may write anywhere";
    fs::create_directories(top.file("bin"));
    write_file(top.file("bin/setup.dat"), "1 2 3");
    fs::permissions(top.file("bin"), fs::perms(0555));
    EXPECT_EQ(default_program_directory(top.file("bin"), nullptr, "/home/op").dir,
              "/home/op/zel-machine");
}

TEST_F(DefaultFolderTest, ARelativeZelMachineIsTakenFromWhereTheProgramStarted) {
    char* cwd = ::getcwd(nullptr, 0);
    std::string here = cwd;
    std::free(cwd);
    EXPECT_EQ(default_program_directory("/usr/bin", "shop/m", "/home/op").dir, here + "/shop/m");
}

TEST_F(DefaultFolderTest, TheSampleIsFoundBesideTheInstalledProgramOrInTheSourceTree) {
    fs::create_directories(top.file("usr/bin"));
    fs::create_directories(top.file("usr/share/zel/machine"));
    EXPECT_EQ(sample_machine_folder(top.file("usr/bin")), "");
    write_file(top.file("usr/share/zel/machine/setup.dat"), "x");
    EXPECT_EQ(sample_machine_folder(top.file("usr/bin")), top.file("usr/share/zel/machine"));
    EXPECT_EQ(sample_machine_folder(ZEL_SOURCE_DIR "/build"), ZEL_SOURCE_DIR "/examples/machine");
}

TEST_F(DefaultFolderTest, TheMachineFolderGetsTheSampleFilesItLacksAndKeepsItsOwn) {
    std::string sample = top.file("sample");
    fs::create_directories(sample);
    for (const char* f : {"setup.dat", "setup2.dat", "log.dat", "ctrace.txt", "trace.txt"})
        write_file(sample + "/" + f, std::string("sample ") + f);
    std::string folder = top.file("home/op/zel-machine");
    std::string why;
    ASSERT_TRUE(make_machine_folder(folder, sample, why)) << why;
    for (const char* f : {"setup.dat", "setup2.dat", "log.dat"})
        EXPECT_EQ(read_file(folder + "/" + f), std::string("sample ") + f);
    EXPECT_FALSE(file_exists(folder + "/ctrace.txt"));  // a report left in the sample
    EXPECT_FALSE(file_exists(folder + "/trace.txt"));
    EXPECT_EQ(take_notices(), std::vector<std::string>{"The machine folder " + folder +
                                                       " was made from the sample in " + sample +
                                                       ": enter this machine's settings in "
                                                       "Tools, Setup"});

    write_file(folder + "/setup.dat", "the operator's settings");
    fs::remove(folder + "/log.dat");
    ASSERT_TRUE(make_machine_folder(folder, sample, why)) << why;
    EXPECT_EQ(read_file(folder + "/setup.dat"), "the operator's settings");
    EXPECT_EQ(read_file(folder + "/log.dat"), "sample log.dat");
    EXPECT_EQ(take_notices(), std::vector<std::string>{"Machine folder " + folder +
                                                       ": log.dat copied from the sample in " +
                                                       sample});

    ASSERT_TRUE(make_machine_folder(folder, sample, why));
    EXPECT_TRUE(take_notices().empty());
}

TEST_F(DefaultFolderTest, AMachineFolderThatCannotBeMadeSaysWhy) {
    write_file(top.file("plain"), "x");
    std::string why;
    EXPECT_FALSE(make_machine_folder(top.file("plain/zel-machine"), "", why));
    EXPECT_EQ(why.rfind("cannot make the machine folder " + top.file("plain/zel-machine") + ": ", 0),
              0u)
        << why;
}

}  // namespace
