#include "controller/startup.h"

#include "controller/commands.h"
#include "controller/serial_link.h"
#include "platform/serial.h"
#include "records/history.h"
#include "records/prodlog.h"
#include "records/progdir.h"
#include "records/settings.h"

namespace {

// The port of the settings, and the handshake of the family they name.
StartupResult open_and_greet() {
    com.ready = false;
    set_command_strings();
    StartupResult r;
    if (init_com() != 0) {
        r.outcome = Startup::port_failed;
        return r;
    }
    long before = com.received;
    int rc = 1;
    try {
        rc = galil() ? Init_Galil() : Init_Slo_Syn();
    } catch (const ControllerLost&) {
        rc = 1;  // the Galil's program download got no answer
    }
    r.answers = com.received - before;
    r.outcome = rc == 0 ? Startup::ready : rc == 1 ? Startup::no_answer : Startup::no_program;
    com.ready = r.outcome == Startup::ready;
    return r;
}

}  // namespace

StartupResult start_machine(bool settings_read) {
    start_ctrace();
    get_log();
    repair_history();
    if (!settings_read) get_setup();
    return open_and_greet();
}

StartupResult reconnect_machine() {
    serial_device().close();
    com.open = false;
    com.ready = false;
    com.gone = false;
    return open_and_greet();
}

std::string startup_failure_reason(const StartupResult& r) {
    switch (r.outcome) {
    case Startup::ready: return "";
    case Startup::port_failed: return com_failure_reason();
    case Startup::no_program: return com.failure;
    case Startup::no_answer: break;
    }
    return std::string("The ") + (galil() ? "Galil" : "Slo-Syn") + " controller on " + com.device +
           (r.answers == 0 ? " did not answer" : " never answered \"D\"") + " within " +
           (galil() ? "10" : "4") + " seconds of \"" + (galil() ? "75" : "T,0") + "\".";
}

std::string startup_failure_words(const StartupResult& r) {
    return r.outcome == Startup::port_failed ? com_failure_words() : startup_failure_reason(r);
}

std::string startup_failure_advice(const StartupResult& r) {
    switch (r.outcome) {
    case Startup::ready: return "";
    case Startup::port_failed: return com_failure_advice();
    case Startup::no_program:
        return "Put the Galil controller's program setup2.dat in " + directory + ".";
    case Startup::no_answer: break;
    }
    std::string advice =
        r.answers == 0
            ? "Check that the controller is switched on and that its cable is on this port."
            : "Check that the controller's model in Setup is right (4 for the Galil, any other "
              "for the Slo-Syn) and that its program is loaded.";
    return advice + " ctrace.txt in " + directory + " shows what was sent and received.";
}
