// The Win32 serial port's names, time-outs and failures. Its settings and
// its bytes on a real line are tested end to end (tests/windows/serial.sh).
#include <gtest/gtest.h>

#include <cerrno>

#include "platform/port_binding.h"
#include "platform/serial.h"
#include "tests/support/support.h"
#include "windows/comm_port.h"

namespace {

constexpr unsigned long kMax = 0xffffffff;  // MAXDWORD

TEST(CommPort, PortNamesAsTheOperatorTypesThemAndAsTheSystemOpensThem) {
    struct Case {
        const char* typed;
        const char* name;
        const char* device;
    } cases[] = {
        {"COM7", "COM7", "\\\\.\\COM7"},    {"com7", "COM7", "\\\\.\\COM7"},
        {"\\\\.\\COM12", "COM12", "\\\\.\\COM12"}, {"//./com3", "COM3", "\\\\.\\COM3"},
        {"COM", "COM", "COM"},              {"COMX", "COMX", "COMX"},
        {"\\\\.\\pipe\\zel", "pipe\\zel", "\\\\.\\pipe\\zel"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(com_port_name(c.typed), c.name) << c.typed;
        EXPECT_EQ(com_device_path(c.typed), c.device) << c.typed;
    }
}

TEST(CommPort, AWaitReturnsTheFirstByteAtOnceOrNothingAfterItsTime) {
    struct Case {
        int ms;
        unsigned long interval, multiplier, constant;
    } cases[] = {
        {0, kMax, 0, 0},            // only what is there already
        {-1, kMax, 0, 0},
        {1, kMax, kMax, 1},
        {30, kMax, kMax, 30},
        {20000, kMax, kMax, 20000},
    };
    for (const Case& c : cases) {
        CommPort::ReadTimeouts t = CommPort::read_timeouts(c.ms);
        EXPECT_EQ(t.interval, c.interval) << c.ms;
        EXPECT_EQ(t.multiplier, c.multiplier) << c.ms;
        EXPECT_EQ(t.constant, c.constant) << c.ms;
    }
}

TEST(CommPort, APortThatIsNotThereFailsAsOnLinux) {
    CommPort port;
    errno = 0;
    EXPECT_FALSE(port.open("COM99"));
    EXPECT_EQ(errno, ENOENT);
    EXPECT_FALSE(port.is_open());
    // Through the seam, as the link opens it.
    errno = 0;
    EXPECT_EQ(serial_device().open("\\\\.\\COM98"), OpenStep::open_device);
    EXPECT_EQ(errno, ENOENT);
}

TEST(CommPort, ThePortBindingOfTheMachineFolderNamesTheComPort) {
    TempDir dir;
    std::string file = dir.file(port_binding_name(1)), why;
    EXPECT_EQ(port_binding_name(4), "port4.dat");
    EXPECT_EQ(binding_target(file), "");
    EXPECT_EQ(default_port_device(2), "\\\\.\\COM2");
    ASSERT_TRUE(write_binding(file, "com7", why)) << why;
    EXPECT_EQ(read_file(file), "COM7\r\n");
    EXPECT_EQ(binding_target(file), "COM7");
    EXPECT_EQ(bound_device(file), "\\\\.\\COM7");
    EXPECT_EQ(full_device_name("\\\\.\\com7"), "COM7");
    EXPECT_FALSE(blocks_binding(file));
    EXPECT_TRUE(blocks_binding(dir.path()));
    EXPECT_NE(not_a_serial_device("COM99"), "");
    EXPECT_NE(not_a_serial_device("LPT1"), "");
}

}  // namespace
