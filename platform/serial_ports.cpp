#include "platform/serial_ports.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <grp.h>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

std::string dev_folder = "/dev";
std::string sys_folder = "/sys";

std::string first_line(const fs::path& file) {
    std::ifstream in(file);
    std::string line;
    std::getline(in, line);
    return line;
}

// A link's last part: ".../drivers/ftdi_sio" gives "ftdi_sio".
std::string link_leaf(const fs::path& link) {
    std::error_code ec;
    fs::path target = fs::read_symlink(link, ec);
    return ec ? "" : target.filename().string();
}

// The serial core lists every port its driver could have; a port without
// hardware behind it has the type 0.
bool has_hardware(const fs::path& entry) {
    std::error_code ec;
    if (!fs::exists(entry / "device", ec)) return false;
    return !fs::exists(entry / "type", ec) || first_line(entry / "type") != "0";
}

// The driver of the hardware behind a tty. Newer kernels put the serial
// core's own port and controller devices in between (bus "serial-base"):
// the driver that counts is the one above them.
std::string driver_of(const fs::path& tty) {
    fs::path device = tty / "device";
    for (int up = 0; up < 3 && link_leaf(device / "subsystem") == "serial-base"; ++up)
        device /= "..";
    return link_leaf(device / "driver");
}

void fill_access(SerialPortInfo& port) {
    struct stat st {};
    if (::stat(port.device.c_str(), &st) != 0) return;
    if (const group* g = ::getgrgid(st.st_gid)) port.group = g->gr_name;
    port.may_open = ::access(port.device.c_str(), R_OK | W_OK) == 0;
}

bool is_char_device(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISCHR(st.st_mode);
}

// The stable names, by the kernel name they lead to.
void fill_stable_names(std::vector<SerialPortInfo>& ports) {
    std::error_code ec;
    for (const auto& e : fs::directory_iterator(dev_folder + "/serial/by-id", ec)) {
        std::string leaf = link_leaf(e.path());
        for (SerialPortInfo& p : ports)
            if (p.name == leaf && p.stable.empty()) p.stable = e.path().string();
    }
}

}  // namespace

void set_device_roots(const std::string& dev, const std::string& sys) {
    dev_folder = dev.empty() ? "/dev" : dev;
    sys_folder = sys.empty() ? "/sys" : sys;
}

const std::string& dev_root() { return dev_folder; }

std::vector<SerialPortInfo> list_serial_ports() {
    std::vector<SerialPortInfo> ports;
    std::error_code ec;
    for (const auto& e : fs::directory_iterator(sys_folder + "/class/tty", ec)) {
        if (!has_hardware(e.path())) continue;
        SerialPortInfo p;
        p.name = e.path().filename().string();
        p.device = dev_folder + "/" + p.name;
        if (!is_char_device(p.device)) continue;
        p.driver = driver_of(e.path());
        fill_access(p);
        ports.push_back(p);
    }
    fill_stable_names(ports);
    std::sort(ports.begin(), ports.end(), [](const SerialPortInfo& a, const SerialPortInfo& b) {
        if (a.stable.empty() != b.stable.empty()) return !a.stable.empty();
        return a.name < b.name;
    });
    return ports;
}

std::string describe_serial_port(const SerialPortInfo& port) {
    std::string out = port.best_name() + (port.stable.empty() ? "" : "  (" + port.name + ")") +
                      "  " + (port.driver.empty() ? "unknown driver" : port.driver) + "  ";
    if (port.may_open) return out + "may be opened";
    return out + "not allowed for this user" +
           (port.group.empty() ? "" : " (group " + port.group + ")");
}
