#include "tests/support/devices.h"

#include <filesystem>

#include "platform/serial_ports.h"

namespace fs = std::filesystem;

FakeDevices::FakeDevices() {
    fs::create_directories(dev("serial/by-id"));
    fs::create_directories(sys("class/tty"));
    set_device_roots(dev(), sys());
}

FakeDevices::~FakeDevices() { set_device_roots("", ""); }

void FakeDevices::add(const std::string& name, const std::string& driver,
                      const std::string& by_id) {
    std::string tty = sys("class/tty/" + name);
    fs::create_directories(tty + "/device");
    fs::create_symlink("../../../../bus/usb-serial/drivers/" + driver, tty + "/device/driver");
    fs::create_symlink("/dev/null", dev(name));
    if (!by_id.empty()) fs::create_symlink("../../" + name, dev("serial/by-id/" + by_id));
}

void FakeDevices::add_placeholder(const std::string& name) {
    std::string tty = sys("class/tty/" + name);
    fs::create_directories(tty + "/device");
    write_file(tty + "/type", "0\n");
    fs::create_symlink("/dev/null", dev(name));
}
