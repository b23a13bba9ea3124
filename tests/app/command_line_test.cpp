// The command line, the program directory and argument.dat, through the real executable.
#include <unistd.h>

#include <filesystem>

#include "app/cli.h"
#include "platform/files.h"
#include "tests/support/support.h"

namespace {

TEST(CommandLine, Parses) {
    auto cl = parse_command_line({"--dir", "/m", "a.dxf"});
    EXPECT_TRUE(cl.error.empty());
    EXPECT_EQ(cl.dir, "/m");
    EXPECT_EQ(cl.drawing, "a.dxf");
    EXPECT_EQ(cl.mode, CommandLine::Mode::window);

    cl = parse_command_line({"--measure", "--figure", "2", "--start", "3", "x.dxf"});
    EXPECT_TRUE(cl.error.empty()) << cl.error;
    EXPECT_EQ(cl.figure, 2);
    EXPECT_EQ(cl.start, 3);

    EXPECT_EQ(parse_command_line({"--dir"}).error, "--dir needs a value");
    EXPECT_FALSE(parse_command_line({"a.dxf", "b.dxf"}).error.empty());
    EXPECT_FALSE(parse_command_line({"--bogus"}).error.empty());
    EXPECT_FALSE(parse_command_line({"--measure"}).error.empty());
    EXPECT_FALSE(parse_command_line({"--measure", "--figure", "0", "a"}).error.empty());
    EXPECT_FALSE(parse_command_line({"--measure", "--start", "-1", "a"}).error.empty());
    EXPECT_FALSE(parse_command_line({"--figure", "1", "a"}).error.empty());
    EXPECT_EQ(parse_command_line({"--", "-odd.dxf"}).drawing, "-odd.dxf");

    EXPECT_EQ(parse_command_line({"--measure", "a"}).units, CommandLine::Units::setting);
    EXPECT_EQ(parse_command_line({"--measure", "--units", "declared", "a"}).units,
              CommandLine::Units::declared);
    EXPECT_EQ(parse_command_line({"--measure", "--units", "inch", "a"}).units,
              CommandLine::Units::inch);
    EXPECT_EQ(parse_command_line({"--measure", "--units", "feet", "a"}).error,
              "--units takes inch, declared or mm, not \"feet\"");
    EXPECT_EQ(parse_command_line({"--units", "inch", "a"}).error,
              "--units goes with --measure or --export-dxf");

    cl = parse_command_line({"--export-dxf", "out.dxf", "--join", "0.01", "--units", "inch", "a"});
    EXPECT_TRUE(cl.error.empty()) << cl.error;
    EXPECT_EQ(cl.mode, CommandLine::Mode::export_dxf);
    EXPECT_EQ(cl.export_path, "out.dxf");
    EXPECT_EQ(cl.join, 0.01);
    for (const char* join : {"0", "0.06", "abc", "1e-9"})
        EXPECT_EQ(parse_command_line({"--measure", "--join", join, "a"}).error,
                  "--join takes a number of inches from 0.000001 to 0.05, not \"" +
                      std::string(join) + "\"");
    EXPECT_EQ(parse_command_line({"--join", "0.01", "a"}).error,
              "--join goes with --measure or --export-dxf");
    EXPECT_EQ(parse_command_line({"--export-dxf", "out.dxf"}).error,
              "--export-dxf needs a drawing to read");
}

TEST(Executable, VersionAndHelp) {
    auto r = run_zel({"--version"});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, "ZEL Version 7.0\n");
    r = run_zel({"--help"});
    EXPECT_EQ(r.status, 0);
    EXPECT_NE(r.out.find("usage: zel"), std::string::npos);
    r = run_zel({"--nonsense"});
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.err.find("unknown option --nonsense"), std::string::npos);
}

// argument.dat is written before the program goes on to its mode; --check is
// used here because it ends by itself (on the missing port).
TEST(Executable, WritesArgumentDatWithAndWithoutADrawing) {
    TempDir machine, work;
    auto r = run_zel({"--check", "--dir", machine.path()});
    EXPECT_EQ(read_file(machine.file("argument.dat")),
              "Using " + machine.path() + " for program directory and  for DXF path");

    // A drawing named relative to where the program was started.
    r = run_zel({"--check", "--dir", machine.path(), "letters.dxf"}, work.path());
    EXPECT_EQ(read_file(machine.file("argument.dat")),
              "Using " + machine.path() + " for program directory and " + work.path() +
                  "/letters.dxf for DXF path");
}

// A second program on a machine folder in use is refused before it touches
// anything, with the running one's process id; --measure only reads, and runs.
TEST(Executable, AMachineFolderInUseIsRefusedToASecondProgram) {
    TempDir machine;
    std::filesystem::copy_file(ZEL_SOURCE_DIR "/examples/machine/setup.dat",
                               machine.file("setup.dat"));
    write_file(machine.file("ctrace.txt"), "the running program's trace");
    long holder = -1;
    std::string why;
    ASSERT_TRUE(hold_lock_file(machine.file("zel.lock"), holder, why)) << why;  // "running"
    auto r = run_zel({"--check", "--simulate", "--dir", machine.path()});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("The machine folder " + machine.path() +
                         " is in use by another ZEL (process " + std::to_string(::getpid()) + ")"),
              std::string::npos)
        << r.err;
    EXPECT_EQ(read_file(machine.file("ctrace.txt")), "the running program's trace");
    r = run_zel({"--measure", "--dir", machine.path(),
                 ZEL_SOURCE_DIR "/examples/drawings/letters.dxf"});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_FALSE(file_exists(machine.file("argument.dat")));
}

TEST(Executable, PathsOfAnyLength) {
    TempDir top;
    std::string deep = top.path();
    for (int i = 0; i < 12; ++i) deep += "/a-rather-long-folder-name-for-a-sign-shop";
    std::filesystem::create_directories(deep);
    std::string drawing = deep + "/" + std::string(100, 'd') + ".dxf";
    auto r = run_zel({"--check", "--dir", deep, drawing});
    EXPECT_EQ(read_file(deep + "/argument.dat"),
              "Using " + deep + " for program directory and " + drawing + " for DXF path");
}

TEST(Executable, ProgramDirectoryThatCannotBeUsed) {
    TempDir top;
    auto r = run_zel({"--dir", top.file("missing")});
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.err.find("does not exist"), std::string::npos) << r.err;

    write_file(top.file("plain"), "x");
    r = run_zel({"--dir", top.file("plain")});
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.err.find("is not a folder"), std::string::npos) << r.err;

    if (::geteuid() != 0) {  // root may write anywhere
        std::filesystem::create_directory(top.file("locked"));
        std::filesystem::permissions(top.file("locked"), std::filesystem::perms(0555));
        r = run_zel({"--dir", top.file("locked")});
        EXPECT_EQ(r.status, 2);
        EXPECT_NE(r.err.find("cannot be written"), std::string::npos) << r.err;
        EXPECT_FALSE(file_exists(top.file("locked/argument.dat")));
    }
}

// The simulated machine is of the family the folder's model selects, and
// leaves nothing behind in the folder.
TEST(Executable, TheSampleMachineFolderRunsOnTheSimulatedMachine) {
    TempDir machine;
    for (const char* f : {"setup.dat", "setup2.dat", "log.dat"})
        std::filesystem::copy_file(std::string(ZEL_SOURCE_DIR) + "/examples/machine/" + f,
                                   machine.file(f));
    auto r = run_zel({"--check", "--simulate", "--dir", machine.path()});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "Machine folder: " + machine.path() + "\nController ready\n");
    // Model 3: a Slo-Syn.
    EXPECT_EQ(read_file(machine.file("ctrace.txt")),
              "Communications trace\nsend-> T,0\r \r\nreceive-> D\r\n");

    // Model 4: a Galil, which gets its program.
    std::string setup = read_file(machine.file("setup.dat"));
    write_file(machine.file("setup.dat"), setup.replace(setup.rfind(" 3 "), 3, " 4 "));
    r = run_zel({"--check", "--simulate", "--dir", machine.path()});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(read_file(machine.file("ctrace.txt"))
                  .rfind("Communications trace\nsend-> 75\r \r\nreceive-> D\r\nsend-> MO\r", 0),
              0u);
    for (const char* port : {"COM1", "COM2", "COM3", "COM4"})
        EXPECT_FALSE(std::filesystem::exists(std::filesystem::symlink_status(machine.file(port))))
            << port;
}

TEST(Executable, TheWindowWithoutADisplaySaysSoAndEnds) {
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) ::unsetenv(name);
    TempDir machine;
    auto r = run_zel({"--dir", machine.path()});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("there is no display to open the window on"), std::string::npos) << r.err;
}

}  // namespace
