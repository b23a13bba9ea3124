#pragma once
#include <string>

#include "records/prodlog.h"

// The machine commands of a job or notching run, counted as the controller
// answers them. The work is the same every time for the same drawing, figure,
// start point, divide point and settings, so a job that stopped is carried
// on by making it again without sending its first `replay` commands. A
// command is a tool stroke, a home (with its retry) or a strip move (both
// halves of a Galil move).

enum class Replay {
    send,  // send it and wait for the answer
    skip,  // answered before the stop: nothing is sent, nothing counted again
    made,  // sent but never answered, and the operator says the machine made
           // it: counted, not sent
};

struct CommandLedger {
    long answered = 0;      // commands of the running work answered or replayed
    long replay = 0;        // commands still to make without sending
    long made_unasked = 0;  // then commands answered but not yet counted: counted, not sent
    bool ask_next = false;  // the command after the replay may have been made
    bool replaying = false; // start_replay was called and the replay has not ended
    // Asks the operator whether the machine made `what`; true when it did.
    bool (*was_made)(const std::string& what) = nullptr;
    // A job made on paper, for its plan: nothing is sent, nothing counted in
    // log.dat; each tool's strokes are counted here instead.
    Counters* on_paper = nullptr;
};

extern CommandLedger ledger;

void reset_ledger();

// The running work makes its first `commands` without sending them, then
// counts the next `uncounted` ones without sending them (the controller
// answered them after the counts were saved); with `ask`, the operator is
// asked whether the machine made the one after.
void start_replay(long commands, long uncounted, bool ask);

// The replay has reached the first command it does not replay (or the work
// ended first): the inches fed so far belong to the earlier parts
// (`progress.fed_before`).
void end_replay();

// Before each machine command `what` ("30-degree notch"): throws as
// before_command does (no port, a Stop of the operator), except while
// replaying or on paper, then says how to make it.
Replay begin_command(const std::string& what);

// After the command was answered, replayed or taken as made: one more
// answered, and the interrupted-job record says so.
void end_command(Replay how);

// What a command string makes, for the operator: "30-degree notch", "home" ...
std::string command_name(const char* command);

// A strip move of `units` (controller units, see controller_units), for the
// operator: "strip move of 12.000 in.".
std::string move_name(float units);
