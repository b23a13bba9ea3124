#pragma once
#include <string>

// How the program ends when it cannot go on (the controller stopped answering).
class ProgramExit {
public:
    virtual ~ProgramExit() = default;
    // Must not return: the real one prints `line` on stderr and exits with
    // `status`; the test one throws.
    virtual void end(int status, const std::string& line) = 0;
};

// Runs the steps of the program's end, prints `line` and exits with `status`.
[[noreturn]] void end_program(int status, const std::string& line);

// set_program_exit(nullptr) puts the real exit back.
void set_program_exit(ProgramExit* exit);

// Steps that must run however the program ends (the newest counts on the
// disk, the serial port released), last registered first. A step is
// registered once however often it is asked for.
using EndStep = void (*)();
void at_program_end(EndStep step);

// Runs the registered steps, each once; later calls run only steps
// registered since.
void run_program_end_steps();
