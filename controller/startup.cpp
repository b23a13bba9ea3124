#include "controller/startup.h"

#include "controller/commands.h"
#include "controller/serial_link.h"
#include "records/prodlog.h"
#include "records/settings.h"

StartupResult start_machine() {
    start_ctrace();
    get_log();
    get_setup();
    set_command_strings();
    StartupResult r;
    if (init_com() != 0) {
        r.outcome = Startup::port_failed;
        return r;
    }
    long before = com.received;
    int rc = galil() ? Init_Galil() : Init_Slo_Syn();
    r.answers = com.received - before;
    r.outcome = rc == 0 ? Startup::ready : rc == 1 ? Startup::no_answer : Startup::no_program;
    return r;
}
