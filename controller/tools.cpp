#include "controller/tools.h"

#include "controller/commands.h"
#include "controller/serial_link.h"
#include "records/prodlog.h"
#include "records/settings.h"

void fire(const char* command, int32_t& counter) {
    before_command();
    put_data(command);
    wait_for_Slo_Syn();
    count_one(counter);
    write_log();
}

void notch() {
    if (settings.operate == 0) fire(commands.N, counters.notch30);
}

void indicate() { fire(commands.I, counters.indicates); }

void sheer() { fire(commands.S, counters.sheers); }

void bend() {
    if (settings.operate == 0) fire(commands.B, counters.flanges);
}

void Home() {
    before_command();
    put_data(commands.H);
    if (wait_for_Slo_Syn() == 0) {
        put_data(commands.H);
        wait_for_Slo_Syn();
    }
}

void home_to_notcher() {
    if (!homes_machine()) return;
    Home();
    strip_move(settings.home);
}
