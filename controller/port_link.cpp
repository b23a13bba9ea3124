#include "controller/port_link.h"

#include <filesystem>

#include "platform/port_binding.h"
#include "platform/serial_ports.h"
#include "platform/text.h"
#include "records/progdir.h"
#include "records/settings.h"

namespace fs = std::filesystem;

namespace {

// The stable name of a listed device named by its kernel node, else the path as given.
std::string link_target_for(const std::string& path) {
    for (const SerialPortInfo& p : list_serial_ports())
        if (p.device == path) return p.best_name();
    return path;
}

}  // namespace

PortLink plan_port_link(const std::string& device, int port) {
    PortLink plan;
    plan.port = port;
    if (port < 1 || port > 4) {
        plan.error = strprintf("The port must be 1, 2, 3 or 4, not %d", port);
        return plan;
    }
    std::string path = full_device_name(device);
    plan.error = not_a_serial_device(path);
    if (!plan.error.empty()) return plan;
    if (fs::path(path).parent_path() == fs::path(directory)) {
        plan.error = path + " lies in the machine folder: name the device it leads to";
        return plan;
    }
    plan.target = link_target_for(path);
    plan.link = program_file(port_binding_name(port).c_str());
    if (blocks_binding(plan.link)) {
        plan.error = plan.link + " is there and is not a link: move it away first";
        return plan;
    }
    plan.old_target = port_link_now(port);
    return plan;
}

std::string port_link_now(int port) {
    return binding_target(program_file(port_binding_name(port).c_str()));
}

bool make_port_link(const PortLink& plan, std::string& why) {
    if (!plan.error.empty()) {
        why = plan.error;
        return false;
    }
    if (plan.unchanged()) return true;
    return write_binding(plan.link, plan.target, why);
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
