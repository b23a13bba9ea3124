#include "controller/replay.h"

#include <cstring>
#include <utility>

#include "controller/commands.h"
#include "platform/text.h"
#include "records/interrupted.h"
#include "records/progress.h"
#include "records/settings.h"

CommandLedger ledger;

void reset_ledger() { ledger = CommandLedger{}; }

void start_replay(long commands, long uncounted, bool ask) {
    ledger.replay = commands;
    ledger.made_unasked = uncounted;
    ledger.ask_next = ask;
    ledger.replaying = true;
}

void end_replay() {
    if (!ledger.replaying) return;
    ledger.replaying = false;
    progress.fed_before = progress.fed;
}

Replay begin_command(const std::string& what) {
    if (ledger.on_paper) return Replay::skip;
    if (ledger.replay > 0) {
        --ledger.replay;
        return Replay::skip;
    }
    end_replay();
    before_command();
    if (ledger.made_unasked > 0) {
        --ledger.made_unasked;
        return Replay::made;
    }
    if (!ledger.ask_next) return Replay::send;
    // Asked before it is forgotten: a job that stops meanwhile still has it in doubt.
    bool made = ledger.was_made && ledger.was_made(what);
    ledger.ask_next = false;
    return made ? Replay::made : Replay::send;
}

void end_command(Replay how) {
    ++ledger.answered;
    if (how != Replay::skip) interrupted_answered(ledger.answered);
}

std::string command_name(const char* command) {
    const CommandStrings& c = commands;
    const std::pair<const char*, const char*> kinds[] = {
        {c.N, "30-degree notch"}, {c.V, "100-degree notch"}, {c.J, "dimple"},
        {c.I, "indicate mark"},   {c.B, "flange bend"},      {c.S, "shear"},
        {c.H, "home"},
    };
    for (const auto& [text, name] : kinds)
        if (*text && std::strcmp(text, command) == 0) return name;
    return strprintf("command \"%s\"", command);
}

std::string move_name(float units) {
    double inches = galil() || settings.steps == 0 ? units : units / settings.steps;
    return strprintf("strip move of %.3f in.", inches);
}
