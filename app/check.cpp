// zel --check: the start-up of the main window up to the controller, then a
// report. Technicians use it to test a connection.
#include <cstdio>

#include "app/modes.h"
#include "controller/commands.h"
#include "controller/serial_link.h"
#include "shell/prodlog.h"
#include "shell/progdir.h"
#include "shell/settings.h"
#include "shell/window_state.h"

namespace {

void report(const char* message, const std::string& reason, const std::string& advice) {
    std::fprintf(stderr, "%s\n%s\n%s\n", message, reason.c_str(), advice.c_str());
}

void report_no_handshake(long answers) {
    bool galil = settings.model == 4;
    std::string reason = std::string("The ") + (galil ? "Galil" : "Slo-Syn") + " controller on " +
                         com.device + (answers == 0 ? " did not answer" : " never answered \"D\"") +
                         " within " + (galil ? "10" : "4") + " seconds of \"" +
                         (galil ? "75" : "T,0") + "\".";
    std::string advice =
        answers == 0
            ? "Check that the controller is switched on and that its cable is on this port."
            : "Check that the controller's model in Setup is right (4 for the Galil, any other "
              "for the Slo-Syn) and that its program is loaded.";
    report("*** Error communicating with controller", reason,
           advice + " ctrace.txt in " + directory + " shows what was sent and received.");
}

}  // namespace

int run_check(const CommandLine&) {
    start_ctrace();
    get_log();
    get_setup();
    set_command_strings();
    if (init_com() != 0) {
        report(" *** Error initializing com port", com_failure_reason(), com_failure_advice());
        return 1;
    }
    long before = com.received;
    int rc = settings.model == 4 ? Init_Galil() : Init_Slo_Syn();
    if (rc == 0) {
        std::printf("Controller ready\n");
        return 0;
    }
    // 2: the reason is the message already shown (setup2.dat).
    if (rc == 1) report_no_handshake(com.received - before);
    return 1;
}
