// zel --check: the start-up of the main window up to the controller, then a
// report. Technicians use it to test a connection.
#include <cstdio>

#include "app/modes.h"
#include "controller/commands.h"
#include "controller/serial_link.h"
#include "controller/startup.h"
#include "records/notice.h"
#include "records/progdir.h"

namespace {

void report(const char* message, const std::string& reason, const std::string& advice) {
    std::fprintf(stderr, "%s\n%s\n%s\n", message, reason.c_str(), advice.c_str());
}

void report_no_handshake(long answers) {
    bool galil = ::galil();
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
    StartupResult r = start_machine();
    switch (r.outcome) {
    case Startup::ready: std::printf("Controller ready\n"); return 0;
    case Startup::port_failed:
        report(" *** Error initializing com port", com_failure_reason(), com_failure_advice());
        return 1;
    case Startup::no_answer: report_no_handshake(r.answers); return 1;
    case Startup::no_program: show_message(com.failure); return 1;
    }
    return 1;
}
