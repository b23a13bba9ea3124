#pragma once
#include <string>

#include "records/settings.h"
#include "tests/support/support.h"

// A /dev and /sys of the test's own, made the device roots while it lives.
// Device nodes are links to /dev/null, which is a character device.
class FakeDevices {
public:
    FakeDevices();
    ~FakeDevices();
    FakeDevices(const FakeDevices&) = delete;
    FakeDevices& operator=(const FakeDevices&) = delete;

    // A tty with hardware behind it, its driver and, when `by_id` is given,
    // its stable name /dev/serial/by-id/`by_id`.
    void add(const std::string& name, const std::string& driver, const std::string& by_id = "");
    // A port the serial core lists although no hardware is behind it.
    void add_placeholder(const std::string& name);

    // The fake /dev and /sys, or a path in them.
    std::string dev(const std::string& path = "") const { return under("/dev", path); }
    std::string sys(const std::string& path = "") const { return under("/sys", path); }

    TempDir root;

private:
    std::string under(const char* top, const std::string& path) const {
        return root.path() + top + (path.empty() ? "" : "/" + path);
    }
};

inline constexpr const char* kFtdi = "usb-FTDI_FT232R_USB_UART_A50285BI-if00-port0";

// A program directory and a computer with a USB adapter (stable name kFtdi)
// and a serial port of its own; Setup names port 1.
class DevicesTest : public ProgramDirTest {
protected:
    void SetUp() override {
        ProgramDirTest::SetUp();
        devices.add("ttyUSB0", "ftdi_sio", kFtdi);
        devices.add("ttyS0", "serial8250");
        settings.port = 1;
    }
    // The adapter's stable name in the fake /dev.
    std::string stable() const { return devices.dev("serial/by-id/") + kFtdi; }
    FakeDevices devices;
};
