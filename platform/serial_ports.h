#pragma once
#include <string>
#include <vector>

// The serial devices of this computer, as the kernel lists them under
// /sys/class/tty, with the stable names udev gives them under
// /dev/serial/by-id/ (which do not change when adapters are plugged in in
// another order).
struct SerialPortInfo {
    std::string name;    // the kernel's name, e.g. "ttyUSB0"
    std::string device;  // its device node, e.g. "/dev/ttyUSB0"
    std::string stable;  // e.g. "/dev/serial/by-id/usb-FTDI_..._A50285BI-if00-port0"; may be empty
    std::string driver;  // e.g. "ftdi_sio", "cdc_acm", "serial8250"
    std::string group;   // the device's group, e.g. "dialout"
    bool may_open = false;  // this user may read and write it

    // The name to link: the stable one when there is one.
    const std::string& best_name() const { return stable.empty() ? device : stable; }
};

// Devices with hardware behind them and a device node, USB adapters (those
// with a stable name) first, then by name.
std::vector<SerialPortInfo> list_serial_ports();

// One line for the operator, e.g.
// "/dev/serial/by-id/usb-FTDI_...-if00-port0  (ttyUSB0)  ftdi_sio  may be opened".
std::string describe_serial_port(const SerialPortInfo& port);

// The folders that stand for /dev and /sys, so that tests can build a tree
// of their own. Empty strings put the real ones back.
void set_device_roots(const std::string& dev, const std::string& sys);
const std::string& dev_root();
