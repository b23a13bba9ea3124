// The serial devices of the computer, from a /dev and /sys the test builds.
#include <filesystem>

#include "platform/serial_ports.h"
#include "tests/support/devices.h"

namespace {

namespace fs = std::filesystem;

constexpr const char* kFtdi = "usb-FTDI_FT232R_USB_UART_A50285BI-if00-port0";
constexpr const char* kAcm = "usb-Arduino_LLC_Uno_8543-if00";

TEST(SerialPorts, UsbAdaptersWithTheirStableNamesFirstThenTheOthersByName) {
    FakeDevices d;
    d.add("ttyUSB0", "ftdi_sio", kFtdi);
    d.add("ttyS0", "serial8250");
    d.add("ttyACM0", "cdc_acm", kAcm);
    d.add_placeholder("ttyS1");                          // no hardware behind it
    fs::create_directories(d.sys("class/tty/tty1"));     // a virtual console: no device
    fs::create_directories(d.sys("class/tty/ttyUSB5/device"));  // no device node
    std::vector<SerialPortInfo> ports = list_serial_ports();
    ASSERT_EQ(ports.size(), 3u);
    EXPECT_EQ(ports[0].name, "ttyACM0");
    EXPECT_EQ(ports[0].stable, d.dev("serial/by-id/") + kAcm);
    EXPECT_EQ(ports[0].driver, "cdc_acm");
    EXPECT_EQ(ports[1].name, "ttyUSB0");
    EXPECT_EQ(ports[1].device, d.dev("ttyUSB0"));
    EXPECT_EQ(ports[1].best_name(), d.dev("serial/by-id/") + kFtdi);
    EXPECT_EQ(ports[2].name, "ttyS0");
    EXPECT_EQ(ports[2].best_name(), d.dev("ttyS0"));
    EXPECT_EQ(ports[2].driver, "serial8250");
    EXPECT_TRUE(ports[2].may_open);  // /dev/null
}

TEST(SerialPorts, NoTreeNoDevices) {
    TempDir empty;
    set_device_roots(empty.file("dev"), empty.file("sys"));
    EXPECT_TRUE(list_serial_ports().empty());
    set_device_roots("", "");
}

TEST(SerialPorts, OneLineEachForTheOperator) {
    struct Case {
        SerialPortInfo port;
        const char* line;
    } cases[] = {
        {{"ttyUSB0", "/dev/ttyUSB0", "/dev/serial/by-id/usb-X", "ftdi_sio", "dialout", true},
         "/dev/serial/by-id/usb-X  (ttyUSB0)  ftdi_sio  may be opened"},
        {{"ttyS0", "/dev/ttyS0", "", "serial8250", "dialout", false},
         "/dev/ttyS0  serial8250  not allowed for this user (group dialout)"},
        {{"ttyS1", "/dev/ttyS1", "", "", "", false},
         "/dev/ttyS1  unknown driver  not allowed for this user"},
    };
    for (const Case& c : cases) EXPECT_EQ(describe_serial_port(c.port), c.line);
}

}  // namespace
