#include "controller/port_link.h"

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/files.h"
#include "platform/serial_ports.h"
#include "platform/text.h"
#include "records/progdir.h"
#include "records/settings.h"

namespace fs = std::filesystem;

namespace {

std::string full_device_path(const std::string& device) {
    if (device.find('/') == std::string::npos) return dev_root() + "/" + device;
    return fs::path(absolute_path(device)).lexically_normal().string();
}

// The stable name of a listed device named by its kernel node, else the path as given.
std::string link_target_for(const std::string& path) {
    for (const SerialPortInfo& p : list_serial_ports())
        if (p.device == path) return p.best_name();
    return path;
}

std::string check_device(const std::string& path) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) return path + ": " + errno_text();
    if (!S_ISCHR(st.st_mode))
        return path + " is not a serial device (not a character device); zel --ports lists them";
    return "";
}

}  // namespace

PortLink plan_port_link(const std::string& device, int port) {
    PortLink plan;
    plan.port = port;
    if (port < 1 || port > 4) {
        plan.error = strprintf("The port must be 1, 2, 3 or 4, not %d", port);
        return plan;
    }
    std::string path = full_device_path(device);
    plan.error = check_device(path);
    if (!plan.error.empty()) return plan;
    if (fs::path(path).parent_path() == fs::path(directory)) {
        plan.error = path + " lies in the machine folder: name the device it leads to";
        return plan;
    }
    plan.target = link_target_for(path);
    plan.link = program_file(strprintf("COM%d", port).c_str());

    struct stat st {};
    if (::lstat(plan.link.c_str(), &st) != 0) return plan;
    if (!S_ISLNK(st.st_mode)) {
        plan.error = plan.link + " is there and is not a link: move it away first";
        return plan;
    }
    plan.old_target = port_link_now(port);
    return plan;
}

std::string port_link_now(int port) {
    std::error_code ec;
    return fs::read_symlink(program_file(strprintf("COM%d", port).c_str()), ec).string();
}

bool make_port_link(const PortLink& plan, std::string& why) {
    if (!plan.error.empty()) {
        why = plan.error;
        return false;
    }
    if (plan.unchanged()) return true;
    std::string fresh = plan.link + ".new";
    ::unlink(fresh.c_str());
    if (::symlink(plan.target.c_str(), fresh.c_str()) != 0) {
        why = "cannot make the link " + fresh + ": " + errno_text();
        return false;
    }
    if (::rename(fresh.c_str(), plan.link.c_str()) != 0) {
        why = "cannot put the link " + plan.link + " in place: " + errno_text();
        ::unlink(fresh.c_str());
        return false;
    }
    return true;
}

std::string port_link_done(const PortLink& plan) {
    std::string com = strprintf("COM%d in %s", plan.port, directory.c_str());
    if (plan.unchanged()) return com + " already leads to " + plan.target;
    if (plan.replaces()) return com + " led to " + plan.old_target + "; it now leads to " + plan.target;
    return com + " now leads to " + plan.target;
}

std::string port_setting_note(int port) {
    if (settings.port == port) return "";
    return strprintf("The Communications Port in Setup is %d: set it to %d (Tools, Setup) for "
                     "the program to use this link.",
                     settings.port, port);
}
