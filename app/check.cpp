// zel --check: the start-up of the main window up to the controller, then a
// report. Technicians use it to test a connection.
#include <cstdio>

#include "app/modes.h"
#include "controller/commands.h"
#include "controller/serial_link.h"
#include "controller/startup.h"
#include "records/notice.h"
#include "records/progdir.h"
#include "records/settings.h"

namespace {

// The failure, then the serial devices there are, any of which could be the machine's.
void report(const char* message, const StartupResult& r) {
    std::fprintf(stderr, "%s\n%s\n%s\n%s", message, startup_failure_reason(r).c_str(),
                 startup_failure_advice(r).c_str(), serial_ports_text().c_str());
    if (settings.port >= 1 && settings.port <= 4)
        std::fprintf(stderr, "zel --use-port DEVICE links one as COM%d in %s.\n", settings.port,
                     directory.c_str());
}

}  // namespace

int run_check(const CommandLine&) {
    std::printf("Machine folder: %s\n", directory.c_str());
    std::fflush(stdout);
    // The start-up reads only the port and the model (the controller's family).
    if (!get_setup({&Settings::port, &Settings::model})) {
        show_message("The settings in setup.dat cannot be used; nothing was sent to the machine");
        return 1;
    }
    StartupResult r = start_machine(true);
    switch (r.outcome) {
    case Startup::ready: std::printf("Controller ready\n"); return 0;
    case Startup::port_failed: report(" *** Error initializing com port", r); return 1;
    case Startup::no_answer: report("*** Error communicating with controller", r); return 1;
    case Startup::no_program: show_message(com.failure); return 1;
    }
    return 1;
}
