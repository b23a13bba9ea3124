#include "controller/tools.h"

#include "controller/commands.h"
#include "controller/replay.h"
#include "controller/serial_link.h"
#include "records/prodlog.h"
#include "records/settings.h"

void fire(const char* command, int32_t Counters::*counter) {
    Replay how = begin_command(command_name(command));
    if (how == Replay::send) {
        put_data(command);
        wait_for_Slo_Syn();
    }
    if (ledger.on_paper) {
        ++(ledger.on_paper->*counter);
    } else if (how != Replay::skip) {
        count_one(counters.*counter);
        write_log();
    }
    end_command(how);
}

void notch() {
    if (settings.operate == 0) fire(commands.N, &Counters::notch30);
}

void indicate() { fire(commands.I, &Counters::indicates); }

void sheer() { fire(commands.S, &Counters::sheers); }

void bend() {
    if (settings.operate == 0) fire(commands.B, &Counters::flanges);
}

void Home() {
    Replay how = begin_command(command_name(commands.H));
    if (how == Replay::send) {
        put_data(commands.H);
        if (wait_for_Slo_Syn() == 0) {
            put_data(commands.H);
            wait_for_Slo_Syn();
        }
    }
    end_command(how);
}

void home_to_notcher() {
    if (!homes_machine()) return;
    Home();
    strip_move(settings.home);
}
