#include "controller/commands.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>

#include "controller/replay.h"
#include "controller/serial_link.h"
#include "platform/clock.h"
#include "platform/exit.h"
#include "platform/files.h"
#include "platform/text.h"
#include "records/interrupted.h"
#include "records/notice.h"
#include "records/prodlog.h"
#include "records/progdir.h"
#include "records/progress.h"
#include "records/settings.h"

CommandStrings commands;

namespace {

constexpr CommandStrings kGalil{"RS\r", "8\r", "11\r", "3\r", "4\r", "1\r", "2\r",
                                "6\r",  "5\r", "9\r",  "10\r", "12\r", "7\r"};
constexpr CommandStrings kSloSyn{"RUN\r", "T,0\r", "H,0\r", "B,0\r", "S,0\r", "N,0\r", "V,0\r",
                                 "J,0\r", "I,0\r", "",      "",      "",      ""};

// Whole seconds; a deadline of n seconds has passed after n to n + 1 seconds.
constexpr long kAnswerDeadline = 20;
constexpr long kSloSynDeadline = 4;
constexpr long kGalilDeadline = 10;

long now() { return the_clock().seconds(); }

// The controller's program is not running: restart it and ask again.
void restart_controller() {
    put_data(commands.R);
    the_clock().long_pause();
    put_data(commands.T);
}

// Every strip move passes here on its way to the controller: one that is no
// number or beyond the travel limit stops the work before anything is sent.
// `st` is in the controller's units, `command` what would have been sent.
void check_move(float st, std::string command) {
    double inches = galil() ? st : static_cast<double>(st) / settings.steps;
    if (std::isfinite(inches) && std::fabs(inches) <= kTravelLimit) return;
    for (char& c : command)
        if (c == '\r') c = ' ';
    std::string shown = command.substr(0, command.find_last_not_of(' ') + 1);
    throw JobStopped{strprintf("The strip move %s (%.7g in.) was not sent: one move may be at most "
                               "%g in., the machine's travel limit. Nothing more was sent to the "
                               "machine",
                               shown.c_str(), inches, kTravelLimit)};
}

void move_galil(const char* command, float st) {
    st = -st;
    if (st == 0) return;
    char move_data[64];
    std::snprintf(move_data, sizeof move_data, "%f\r", st);
    Replay how = begin_command(move_name(-st));
    // A job made on paper finds the move its run would refuse.
    if (how == Replay::send || ledger.on_paper) check_move(-st, std::string(command) + move_data);
    if (how == Replay::send) {
        put_data(command);
        wait_for_Slo_Syn();
        put_data(move_data);
        wait_for_Slo_Syn();
    }
    end_command(how);
}

void move_slo_syn(const char* format, float st) {
    st = -st;
    if (st == 0) return;
    // Room for the longest float "%f" writes.
    char move_data[64];
    std::snprintf(move_data, sizeof move_data, format, st);
    Replay how = begin_command(move_name(-st));
    if (how == Replay::send || ledger.on_paper) check_move(-st, move_data);
    if (how == Replay::send) {
        put_data(move_data);
        wait_for_Slo_Syn();
    }
    end_command(how);
}

// The largest controller program setup2.dat may be: far more than a Galil
// holds, far less than would matter to the computer.
constexpr std::size_t kProgramLimit = 1024 * 1024;

// Sends each line of setup2.dat, in pieces of at most 127 characters, with
// its line end replaced by a carriage return, and waits for its answer. A
// piece ends at a character 0, as a C string would.
void download(const std::string& program) {
    constexpr std::size_t kPiece = 127;
    for (std::size_t at = 0; at < program.size();) {
        std::size_t end = std::min(program.find('\n', at), at + kPiece - 1) + 1;
        end = std::min(end, program.size());
        std::string piece = program.substr(at, end - at);
        at = end;
        piece = piece.substr(0, piece.find('\0'));
        if (!piece.empty() && piece.back() == '\n') {
            piece.pop_back();
            if (!piece.empty() && piece.back() == '\r') piece.pop_back();  // a file made on Windows
        }
        piece += '\r';
        put_data(piece.c_str());
        wait_for_Slo_Syn();
    }
}

// The command for the operator: the tool it works, with the text sent
// beside it for ctrace.txt ("the flange bend (\"B,0\")"); other texts as sent.
std::string quoted_command() {
    std::string c = com.last_command;
    std::string name = command_name(c.c_str());
    if (!c.empty() && c.back() == '\r') c.pop_back();
    std::string quoted = "\"" + c + "\"";
    return name.rfind("command ", 0) == 0 ? quoted : "the " + name + " (" + quoted + ")";
}

bool loss_recoverable = false;

[[noreturn]] void lost_controller(const std::string& why, const std::string& line) {
    com.ready = false;
    if (loss_recoverable) throw ControllerLost{why, work_done_text(), line};
    final_notice(why + ".\n\n" + work_done_text() +
                     "\n\nCheck that the controller is switched on and that its cable is on "
                     "this port, then start ZEL again. ctrace.txt in " + directory +
                     " shows the last bytes each way; the next start keeps it as ctrace.1.txt.",
                 "The controller is lost");
    end_program(-1, line);
}

}  // namespace

bool galil() { return settings.model == 4; }

bool homes_machine() { return settings.model == 2 || settings.model == 3 || settings.model == 4; }

void set_command_strings() { commands = galil() ? kGalil : kSloSyn; }

void reset_command_strings() { commands = CommandStrings{}; }

int answer_class(const char* response) {
    switch (response[0]) {
    case ':':
    case 'D':
    case 'L': return 1;
    case 'E': return 0;
    default: return -1;
    }
}

void recover_from_lost_controller(bool recover) { loss_recoverable = recover; }

int wait_for_Slo_Syn() {
    nudge_log_writer();
    nudge_interrupted_writer();
    long start = now(), end_time = start + kAnswerDeadline;
    char response[24];
    // The window shows a wait that lasts; it ends however this returns.
    struct Waited {
        ~Waited() { progress.waited_s = 0; }
    } waited;
    for (;;) {
        int got = await_data(response);
        if (got < 0)
            lost_controller(device_gone_reason() + " while the program waited for the answer to " +
                                quoted_command(),
                            "zel: " + device_gone_reason() + "; the program ends");
        if (got != 0) {
            int answer = answer_class(response);
            if (answer >= 0) return answer;
        }
        long at = now();
        progress.waited_s = at - start;
        if (at > end_time)
            lost_controller("The controller on " + com.device + " did not answer " +
                                quoted_command() + " within 20 seconds",
                            "zel: the controller stopped answering (no answer within 20 "
                            "seconds); the program ends");
    }
}

void before_command() {
    if (!com.open) throw NoController{};
    if (progress.running && progress.stop_requested) throw OperatorStop{};
}

std::string work_done_text() {
    const Progress& p = progress;
    std::string done;
    if (p.work == Progress::Work::job)
        done = strprintf("The job on figure %d had made %d of %d walls (%.3f of %.3f in.)",
                         p.figure, p.wall, p.walls, p.fed, p.planned);
    else if (p.work == Progress::Work::notching)
        done = strprintf("The notching run had fed %.3f of %.3f in.", p.fed, p.planned);
    else if (p.running)
        done = "The command had begun";
    else
        return "The machine was being started.";
    return done + " in " + duration_text(monotonic_ms() - p.started_ms) + "; counted: " +
           strokes_text() + ".";
}

int Init_Slo_Syn() {
    put_data(commands.T);
    long end_time = now() + kSloSynDeadline;
    char resp[24];
    for (;;) {
        int got = await_data(resp);
        if (got < 0) return 1;
        if (got != 0) {
            if (resp[0] == 'D') return 0;
            if (resp[0] == '?') restart_controller();
        }
        if (now() > end_time) return 1;
    }
}

int Init_Galil() {
    // Read before anything is sent, so that a missing file does not leave
    // the controller half started.
    std::string program, why;
    if (!read_small_file(program_file("setup2.dat"), kProgramLimit, program, why)) {
        com.failure =
            "The Galil controller's program setup2.dat cannot be read in " + directory + " (" +
            why + ")";
        return 2;
    }
    put_data(kGalilHello);
    long end_time = now() + kGalilDeadline;
    bool ready = false;
    char resp[128];
    while (!ready) {
        int got = await_data(resp);
        if (got < 0) return 1;
        if (got != 0) {
            if (resp[0] == 'D') ready = true;
            else if (resp[0] == ':') restart_controller();
        }
        if (now() > end_time) return 1;
    }
    download(program);
    the_clock().long_pause();
    put_data(commands.T);
    wait_for_Slo_Syn();
    return 0;
}

void Run_Galil(float st) { move_galil(commands.M, st); }

void Feed_Galil(float st) { move_galil(commands.F, st); }

void Run_Slo_Syn(float st) { move_slo_syn("M,%f\r", st); }

void Feed_Slo_Syn(float st) { move_slo_syn("F,%f\r", st); }

float controller_units(float inches) { return galil() ? inches : inches * settings.steps; }

void run_move(float units) { galil() ? Run_Galil(units) : Run_Slo_Syn(units); }

void feed_move(float units) { galil() ? Feed_Galil(units) : Feed_Slo_Syn(units); }

void strip_move(float inches) { run_move(controller_units(inches)); }

std::string strip_move_refusal() {
    if (galil() || settings.steps > 0) return "";
    return strprintf("Steps per inch is %f; it must be more than 0 for the strip to move. "
                     "Correct it in Tools, Setup. Nothing was sent to the machine",
                     settings.steps);
}
