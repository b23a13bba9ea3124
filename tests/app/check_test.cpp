// zel --check: the real start-up against the simulator on a pseudo-terminal,
// through the executable, and what it tells the technician when it fails.
#include <filesystem>

#include "app/cli.h"
#include "app/modes.h"
#include "controller/serial_link.h"
#include "platform/text.h"
#include "tests/support/controller_support.h"
#include "tests/support/devices.h"

namespace {

using Commands = std::vector<std::string>;

std::string setup_line(int port, int model) {
    return strprintf("2000.000000 0.125000 0.500000 30.000000 1 %d 0.250000 6.000000 60 420 0 "
                     "2.500000 24.000000 1 1 %d 6.000000 0",
                     port, model);
}

bool starts_with(const std::string& text, const std::string& start) {
    return text.rfind(start, 0) == 0;
}

// A machine folder whose COM1 leads to a simulator of its own.
struct Machine {
    explicit Machine(ControllerFamily family, int model, const SimOptions& o = {})
        : sim(family, o) {
        write_file(folder.file("setup.dat"), setup_line(1, model));
        std::string why;
        started = sim.start(why) && sim.link_as(folder.file("COM1"), why);
        EXPECT_TRUE(started) << why;
    }
    RunResult check() { return run_zel({"--check", "--dir", folder.path()}); }
    std::string trace() { return read_file(folder.file("ctrace.txt")); }
    TempDir folder;
    PtySim sim;
    bool started = false;
};

TEST(Check, BringsUpASloSynThatWantsARestart) {
    SimOptions o;
    o.handshake = '?';
    Machine m(ControllerFamily::slo_syn, 1, o);
    auto r = m.check();
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "Machine folder: " + m.folder.path() + "\nController ready\n");
    EXPECT_EQ(m.sim.commands(), (Commands{"T,0\r", "RUN\r", "T,0\r"}));
    EXPECT_EQ(m.trace(),
              "Communications trace\nsend-> T,0\r \r\nreceive-> ?\r\nsend-> RUN\r \r\n"
              "send-> T,0\r \r\nreceive-> D\r\n");
}

TEST(Check, BringsUpAGalilWithItsProgramAndStartsItsTraceAfreshEachTime) {
    Machine m(ControllerFamily::galil, 4);
    std::filesystem::copy_file(ZEL_SOURCE_DIR "/examples/machine/setup2.dat",
                               m.folder.file("setup2.dat"));
    auto r = m.check();
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "Machine folder: " + m.folder.path() + "\nController ready\n");
    EXPECT_EQ(m.sim.commands(),
              (Commands{"75\r", "MO\r", "MT 1\r", "KP 6\r", "KD 64\r", "KI 0\r", "AC 256000\r",
                        "DC 256000\r", "SP 40000\r", "SH\r", "8\r"}));
    std::string first = m.trace();
    EXPECT_EQ(first.rfind("Communications trace\nsend-> 75\r \r\nreceive-> D\r\n"
                          "send-> MO\r \r\n",
                          0),
              0u);
    r = m.check();
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(m.trace(), first);
}

TEST(Check, RefusesSettingsThatCannotBeUsedAndExplainsALinkToADeviceThatIsNotThere) {
    TempDir machine;
    write_file(machine.file("setup.dat"), setup_line(5, 1));
    auto r = run_zel({"--check", "--dir", machine.path()});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "zel: Settings file setup.dat in " + machine.path() +
                         ": field 6, Communications Port is 5; it must be 1, 2, 3 or 4. The "
                         "settings that are wrong or missing keep their values (0 at start); "
                         "correct them in Tools, Setup\n"
                         "zel: The settings in setup.dat cannot be used; nothing was sent to the "
                         "machine\n");
    EXPECT_FALSE(file_exists(machine.file("ctrace.txt")));
    write_file(machine.file("setup.dat"), "garbage");
    r = run_zel({"--check", "--dir", machine.path()});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("cannot be used"), std::string::npos);

    write_file(machine.file("setup.dat"), setup_line(1, 1));
    std::filesystem::create_symlink("/dev/ttyUSB9", machine.file("COM1"));
    r = run_zel({"--check", "--dir", machine.path()});
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(starts_with(
        r.err, " *** Error initializing com port\nError Function: CreateFile: " +
                   machine.file("COM1") + ": No such file or directory\nThe link " +
                   machine.file("COM1") +
                   " points to /dev/ttyUSB9, which is not there: plug in the serial adapter, or "
                   "point the link at the device the controller is connected to.\n"))
        << r.err;
    EXPECT_NE(r.err.find("\nzel --use-port DEVICE links one as COM1 in " + machine.path() + ".\n"),
              std::string::npos)
        << r.err;
}

TEST(Check, AGalilWithoutItsProgramFileIsAClearFailure) {
    Machine m(ControllerFamily::galil, 4);
    auto r = m.check();
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("setup2.dat cannot be read in " + m.folder.path() +
                         " (No such file or directory)"),
              std::string::npos)
        << r.err;
    EXPECT_TRUE(m.sim.received().empty());

    // One that never ends is refused unread.
    std::filesystem::create_symlink("/dev/zero", m.folder.file("setup2.dat"));
    r = m.check();
    EXPECT_NE(r.err.find("setup2.dat cannot be read in " + m.folder.path() + " (it is a device)"),
              std::string::npos)
        << r.err;
    EXPECT_TRUE(m.sim.received().empty());
}

using CheckBusy = PtyControllerTest;

TEST_F(CheckBusy, APortInUseIsRefusedToASecondProgram) {
    use(ControllerFamily::slo_syn);
    TempDir other;
    write_file(other.file("setup.dat"), setup_line(1, 1));
    std::filesystem::create_symlink(pty_sim.device(), other.file("COM1"));
    auto r = run_zel({"--check", "--dir", other.path()});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find(" *** Error initializing com port\nError Function: CreateFile: " +
                         other.file("COM1") + ": Device or resource busy\n"),
              std::string::npos)
        << r.err;
    EXPECT_NE(r.err.find("is in use by another program"), std::string::npos);
}

using CheckHandshake = ControllerTest;

TEST_F(CheckHandshake, TellsWhetherTheControllerWasSilentOrSaidSomethingElse) {
    write("setup.dat", setup_line(1, 1));
    FakeDevices devices;
    devices.add("ttyUSB0", "ftdi_sio", "usb-FTDI_FT232R_USB_UART_A50285BI-if00-port0");
    auto check = [&](const SimOptions& o) {
        reset_com();
        serial_sim.set_options(o);
        testing::internal::CaptureStderr();
        EXPECT_EQ(run_check(CommandLine{}), 1);
        return testing::internal::GetCapturedStderr();
    };
    SimOptions silent;
    silent.silent_after = 0;
    EXPECT_EQ(check(silent),
              "*** Error communicating with controller\n"
              "The Slo-Syn controller on /dev/ttyS0 did not answer within 4 seconds of \"T,0\".\n"
              "Check that the controller is switched on and that its cable is on this port. "
              "ctrace.txt in " + dir.path() + " shows what was sent and received.\n"
              "Serial devices of this computer:\n  " + devices.dev() +
              "/serial/by-id/usb-FTDI_FT232R_USB_UART_A50285BI-if00-port0  (ttyUSB0)  ftdi_sio  "
              "may be opened\n"
              "zel --use-port DEVICE links one as COM1 in " + dir.path() + ".\n");
    SimOptions not_running;
    not_running.handshake = '?';
    not_running.restart_helps = false;
    EXPECT_NE(check(not_running).find("never answered \"D\""), std::string::npos);
}

}  // namespace
