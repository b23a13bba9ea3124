#include "platform/exit.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {
ProgramExit* installed = nullptr;
std::vector<EndStep> steps;
}  // namespace

void end_program(int status, const std::string& line) {
    if (installed) installed->end(status, line);  // a test's: the program goes on
    run_program_end_steps();
    std::fprintf(stderr, "%s\n", line.c_str());
    std::exit(status);
}

void set_program_exit(ProgramExit* exit) { installed = exit; }

void at_program_end(EndStep step) {
    if (std::find(steps.begin(), steps.end(), step) == steps.end()) steps.push_back(step);
}

void run_program_end_steps() {
    while (!steps.empty()) {
        EndStep step = steps.back();
        steps.pop_back();
        step();
    }
}
