// zel --ports and zel --use-port: the serial devices of this computer, and
// one of them linked as the machine folder's COMn.
#include <cstdio>

#include "app/modes.h"
#include "controller/port_link.h"
#include "platform/serial_ports.h"
#include "platform/text.h"
#include "records/progdir.h"
#include "records/settings.h"

std::string serial_ports_text() {
    std::vector<SerialPortInfo> ports = list_serial_ports();
    if (ports.empty()) return "No serial devices were found on this computer.\n";
    std::string out = "Serial devices of this computer:\n";
    for (const SerialPortInfo& p : ports) out += "  " + describe_serial_port(p) + "\n";
    return out;
}

int run_ports(const CommandLine&) {
    get_setup({&Settings::port});
    std::string out = serial_ports_text();
    for (int n = 1; n <= 4; ++n) {
        std::string now = port_link_now(n);
        if (!now.empty())
            out += strprintf("COM%d in %s leads to %s\n", n, directory.c_str(), now.c_str());
    }
    out += strprintf("The Communications Port in Setup is %d. zel --use-port DEVICE links a "
                     "device as COM%d in %s.\n",
                     settings.port, settings.port, directory.c_str());
    std::fputs(out.c_str(), stdout);
    return 0;
}

int run_use_port(const CommandLine& cl) {
    get_setup({&Settings::port});
    int port = cl.port != 0 ? cl.port : settings.port;
    if (port < 1 || port > 4) {
        std::fprintf(stderr,
                     "zel: the Communications Port in Setup is %d; name the port with --port "
                     "1, 2, 3 or 4\n",
                     settings.port);
        return 1;
    }
    PortLink plan = plan_port_link(cl.device, port);
    std::string why;
    if (!make_port_link(plan, why)) {
        std::fprintf(stderr, "zel: %s\n", why.c_str());
        return 1;
    }
    std::printf("%s\n", port_link_done(plan).c_str());
    std::string note = port_setting_note(port);
    if (!note.empty()) std::printf("%s\n", note.c_str());
    return 0;
}
