#include "shell/serial_port.h"

#include <vector>

#include "controller/port_link.h"
#include "controller/serial_link.h"
#include "platform/serial_ports.h"
#include "platform/text.h"
#include "records/notice.h"
#include "records/progdir.h"
#include "records/settings.h"
#include "resources/resources.h"

namespace {

constexpr int kList = 250;
constexpr int kPort = 251;
constexpr int kNow = 252;
constexpr const char* kCaption = "Serial port";

// What the dialog showed, and what the operator picked.
std::vector<SerialPortInfo> shown;
std::string picked_device;
int picked_port = 0;

std::string link_now_text(int port) {
    if (port < 1 || port > 4) return strprintf("The Communications Port in Setup is %d.", port);
    std::string now = port_link_now(port);
    if (now.empty())
        return strprintf("COM%d is not linked in %s: the program opens %s.", port,
                         directory.c_str(), port_device(port).c_str());
    return strprintf("COM%d in %s leads to %s.", port, directory.c_str(), now.c_str());
}

void tell(const std::string& text, MessageIcon icon) {
    window_system().message_box(text, kCaption, icon);
}

// OK: the picked line and the port number must both be there.
void take_choice(DialogControls& dlg) {
    std::string line = dlg.get_text(kList);
    const SerialPortInfo* port = nullptr;
    for (const SerialPortInfo& p : shown)
        if (describe_serial_port(p) == line) port = &p;
    int number = 0;
    if (!port) {
        tell("Pick the machine's serial device in the list.", MessageIcon::information);
    } else if (!scan_one(dlg.get_text(kPort), number) || number < 1 || number > 4) {
        tell("The port must be 1, 2, 3 or 4.", MessageIcon::warning);
    } else {
        picked_device = port->best_name();
        picked_port = number;
        dlg.end_dialog(1);
    }
}

}  // namespace

int SerialPort(DialogControls& dlg, DialogMessage message, int id) {
    if (message == DialogMessage::init) {
        shown = list_serial_ports();
        std::string lines;
        for (const SerialPortInfo& p : shown)
            lines += (lines.empty() ? "" : "\n") + describe_serial_port(p);
        dlg.set_text(kList, lines);
        dlg.set_text(kNow, shown.empty() ? "No serial device was found: plug in the adapter "
                                           "and open this again."
                                         : link_now_text(settings.port));
        dlg.set_text(kPort, strprintf("%d", settings.port));
        return 1;
    }
    if (id == IDOK) take_choice(dlg);
    else if (id == IDCANCEL) dlg.end_dialog(0);
    return 1;
}

void serial_port_command() {
    WindowSystem& ws = window_system();
    if (ws.dialog_box(DLG_SERIAL_PORT, SerialPort) != 1) return;
    PortLink plan = plan_port_link(picked_device, picked_port);
    if (!plan.error.empty()) {
        tell(plan.error, MessageIcon::error);
        return;
    }
    if (plan.unchanged()) {
        tell(port_link_done(plan) + ".", MessageIcon::information);
        return;
    }
    if (plan.replaces() &&
        !ws.ask_yes_no(strprintf("COM%d in %s leads to %s.\nLink it to %s instead?", plan.port,
                                 directory.c_str(), plan.old_target.c_str(), plan.target.c_str()),
                       kCaption))
        return;
    std::string why;
    if (!make_port_link(plan, why)) {
        tell(why, MessageIcon::error);
        return;
    }
    std::string note = port_setting_note(plan.port);
    notice(port_link_done(plan) + "." + (note.empty() ? "" : " " + note));
    // As after Setup: the next click ends the program, and the next start opens the new port.
    show_message(strprintf("COM%d linked: the new port takes effect at the next start", plan.port));
    ws.invalidate();
}
