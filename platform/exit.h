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

[[noreturn]] void end_program(int status, const std::string& line);

// set_program_exit(nullptr) puts the real exit back.
void set_program_exit(ProgramExit* exit);
