// zel --ports and --use-port, and the machine folder zel picks without --dir.
#include <cstdlib>
#include <filesystem>

#include "app/cli.h"
#include "app/modes.h"
#include "records/settings.h"
#include "tests/support/devices.h"

namespace {

namespace fs = std::filesystem;

constexpr const char* kFtdi = "usb-FTDI_FT232R_USB_UART_A50285BI-if00-port0";

TEST(PortOptions, Parse) {
    auto cl = parse_command_line({"--use-port", "/dev/ttyUSB0", "--port", "2"});
    EXPECT_EQ(cl.error, "");
    EXPECT_EQ(cl.mode, CommandLine::Mode::use_port);
    EXPECT_EQ(cl.device, "/dev/ttyUSB0");
    EXPECT_EQ(cl.port, 2);
    EXPECT_EQ(parse_command_line({"--ports"}).mode, CommandLine::Mode::ports);
    EXPECT_EQ(parse_command_line({"--use-port"}).error, "--use-port needs a value");
    EXPECT_EQ(parse_command_line({"--use-port", "x", "--port", "5"}).error,
              "--port takes 1, 2, 3 or 4, not \"5\"");
    EXPECT_EQ(parse_command_line({"--port", "1"}).error, "--port goes with --use-port");
}

class PortCommands : public ProgramDirTest {
protected:
    void SetUp() override {
        ProgramDirTest::SetUp();
        devices.add("ttyUSB0", "ftdi_sio", kFtdi);
        devices.add("ttyS0", "serial8250");
        write("setup.dat", "2000 0.1 0.5 30 1 1 0.25 6 60 420 0 2.5 24 1 1 3 6 0");
    }
    // Runs a mode and returns what it printed on stdout, and on stderr in `err`.
    template <typename Mode>
    std::string run(Mode mode, const CommandLine& cl, int expected_status) {
        testing::internal::CaptureStdout();
        testing::internal::CaptureStderr();
        EXPECT_EQ(mode(cl), expected_status);
        err = testing::internal::GetCapturedStderr();
        return testing::internal::GetCapturedStdout();
    }
    CommandLine use_port(const std::string& device, int port = 0) {
        CommandLine cl;
        cl.mode = CommandLine::Mode::use_port;
        cl.device = device;
        cl.port = port;
        return cl;
    }
    std::string stable() const { return devices.dev("serial/by-id/") + kFtdi; }
    FakeDevices devices;
    std::string err;
};

TEST_F(PortCommands, ListsTheDevicesAndWhatTheMachineFolderLinks) {
    fs::create_symlink("/dev/ttyS0", dir.file("COM2"));
    EXPECT_EQ(run(run_ports, CommandLine{}, 0),
              "Serial devices of this computer:\n"
              "  " + stable() + "  (ttyUSB0)  ftdi_sio  may be opened\n"
              "  " + devices.dev("ttyS0") + "  serial8250  may be opened\n"
              "COM2 in " + dir.path() + " leads to /dev/ttyS0\n"
              "The Communications Port in Setup is 1. zel --use-port DEVICE links a device as "
              "COM1 in " + dir.path() + ".\n");
}

TEST_F(PortCommands, LinksThePortOfTheSettingsAndSaysWhatItReplaced) {
    EXPECT_EQ(run(run_use_port, use_port("ttyUSB0"), 0),
              "COM1 in " + dir.path() + " now leads to " + stable() + "\n");
    EXPECT_EQ(fs::read_symlink(dir.file("COM1")), stable());

    EXPECT_EQ(run(run_use_port, use_port(devices.dev("ttyS0")), 0),
              "COM1 in " + dir.path() + " led to " + stable() + "; it now leads to " +
                  devices.dev("ttyS0") + "\n");
    EXPECT_EQ(fs::read_symlink(dir.file("COM1")), devices.dev("ttyS0"));

    EXPECT_EQ(run(run_use_port, use_port("ttyUSB0", 3), 0),
              "COM3 in " + dir.path() + " now leads to " + stable() +
                  "\nThe Communications Port in Setup is 1: set it to 3 (Tools, Setup) for the "
                  "program to use this link.\n");
}

TEST_F(PortCommands, WithoutAPortInSetupOrOnTheCommandLineNothingIsLinked) {
    write("setup.dat", "2000 0.1 0.5 30 1 0 0.25");
    reset_settings();
    EXPECT_EQ(run(run_use_port, use_port("ttyUSB0"), 1), "");
    // After the notice that setup.dat is short of fields.
    const std::string last = "zel: the Communications Port in Setup is 0; name the port with "
                             "--port 1, 2, 3 or 4\n";
    ASSERT_GE(err.size(), last.size());
    EXPECT_EQ(err.substr(err.size() - last.size()), last);
    EXPECT_FALSE(fs::exists(fs::symlink_status(dir.file("COM1"))));
}

// The executable as the desktop starts it: no --dir, a program folder (the
// build folder) without setup.dat, so the operator's own machine folder.
TEST(MachineFolder, WithoutDirTheOperatorsOwnFolderIsMadeFromTheSampleAndNamed) {
    TempDir top;
    std::string folder = top.file("shop/zel-machine");
    ::setenv("ZEL_MACHINE", folder.c_str(), 1);
    auto r = run_zel({"--help"});
    EXPECT_NE(r.out.find("ZEL_MACHINE"), std::string::npos);
    EXPECT_NE(r.out.find("zel-sim"), std::string::npos);
    EXPECT_NE(r.out.find("--use-port DEVICE"), std::string::npos);
    EXPECT_NE(r.out.find("Here that is\n  " + folder + "\n"), std::string::npos) << r.out;
    EXPECT_FALSE(fs::exists(folder));  // --help makes nothing

    r = run_zel({"--check", "--simulate"});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "Machine folder: " + folder + "\nController ready\n");
    for (const char* f : {"setup.dat", "setup2.dat", "log.dat"})
        EXPECT_EQ(read_file(folder + "/" + f),
                  read_file(std::string(ZEL_SOURCE_DIR "/examples/machine/") + f))
            << f;
    EXPECT_TRUE(file_exists(folder + "/argument.dat"));
    ::unsetenv("ZEL_MACHINE");
}

}  // namespace
