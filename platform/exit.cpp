#include "platform/exit.h"

#include <cstdio>
#include <cstdlib>

namespace {
ProgramExit* installed = nullptr;
}

void end_program(int status, const std::string& line) {
    if (installed) installed->end(status, line);
    std::fprintf(stderr, "%s\n", line.c_str());
    std::exit(status);
}

void set_program_exit(ProgramExit* exit) { installed = exit; }
