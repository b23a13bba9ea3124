// The link that makes one of the computer's serial devices (from a /dev and
// /sys the test builds) the machine folder's COMn.
#include <filesystem>

#include "controller/port_link.h"
#include "platform/serial_ports.h"
#include "records/settings.h"
#include "tests/support/devices.h"

namespace {

namespace fs = std::filesystem;

class PortLinks : public DevicesTest {
protected:
    std::string link(const char* name = "COM1") { return fs::read_symlink(dir.file(name)); }
};

TEST_F(PortLinks, ADeviceNodeIsLinkedByItsStableName) {
    for (const std::string& named : {devices.dev("ttyUSB0"), std::string("ttyUSB0"), stable()}) {
        fs::remove(dir.file("COM2"));
        PortLink plan = plan_port_link(named, 2);
        ASSERT_EQ(plan.error, "") << named;
        EXPECT_FALSE(plan.replaces());
        std::string why;
        ASSERT_TRUE(make_port_link(plan, why)) << why;
        EXPECT_EQ(link("COM2"), stable()) << named;
        EXPECT_EQ(port_link_done(plan), "COM2 in " + dir.path() + " now leads to " + stable());
    }
    EXPECT_FALSE(fs::exists(fs::symlink_status(dir.file("COM2.new"))));
}

TEST_F(PortLinks, AnOlderLinkIsReplacedAndNamed) {
    fs::create_symlink("/dev/ttyS0", dir.file("COM1"));
    PortLink plan = plan_port_link("ttyUSB0", 1);
    EXPECT_TRUE(plan.replaces());
    EXPECT_EQ(plan.old_target, "/dev/ttyS0");
    EXPECT_EQ(link(), "/dev/ttyS0");  // planning changes nothing
    std::string why;
    ASSERT_TRUE(make_port_link(plan, why)) << why;
    EXPECT_EQ(link(), stable());
    EXPECT_EQ(port_link_done(plan), "COM1 in " + dir.path() +
                                        " led to /dev/ttyS0; it now leads to " + stable());

    plan = plan_port_link("ttyUSB0", 1);
    EXPECT_TRUE(plan.unchanged());
    EXPECT_EQ(port_link_done(plan), "COM1 in " + dir.path() + " already leads to " + stable());
}

TEST_F(PortLinks, WhatCannotBeLinkedIsRefusedAndNothingChanges) {
    write("notes.txt", "x");
    write("COM3", "the operator's own file");
    fs::create_symlink("/dev/ttyS0", dir.file("COM4"));
    struct Case {
        std::string device;
        int port;
        std::string error;
    } cases[] = {
        {dir.file("notes.txt"), 1,
         dir.file("notes.txt") +
             " is not a serial device (not a character device); zel --ports lists them"},
        {devices.dev(), 1,
         devices.dev() + " is not a serial device (not a character device); zel --ports lists them"},
        {"ttyUSB9", 1, devices.dev("ttyUSB9") + ": No such file or directory"},
        {"ttyS0", 0, "The port must be 1, 2, 3 or 4, not 0"},
        {"ttyS0", 5, "The port must be 1, 2, 3 or 4, not 5"},
        {"ttyS0", 3, dir.file("COM3") + " is there and is not a link: move it away first"},
        {dir.file("COM4"), 1,
         dir.file("COM4") + " lies in the machine folder: name the device it leads to"},
    };
    for (const Case& c : cases) {
        PortLink plan = plan_port_link(c.device, c.port);
        EXPECT_EQ(plan.error, c.error);
        std::string why;
        EXPECT_FALSE(make_port_link(plan, why));
        EXPECT_EQ(why, c.error);
    }
    EXPECT_EQ(read("COM3"), "the operator's own file");
    EXPECT_EQ(link("COM4"), "/dev/ttyS0");
    EXPECT_FALSE(fs::exists(fs::symlink_status(dir.file("COM1"))));
}

TEST_F(PortLinks, ALinkToAnotherPortThanSetupsIsPointedOut) {
    EXPECT_EQ(port_setting_note(1), "");
    EXPECT_EQ(port_setting_note(2), "The Communications Port in Setup is 1: set it to 2 (Tools, "
                                    "Setup) for the program to use this link.");
}

}  // namespace
