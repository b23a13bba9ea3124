#pragma once
// A machine folder in /tmp with the simulated controller on a pseudo-terminal
// as COM1, and the port opened through the program's own termios code.
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "controller/commands.h"
#include "controller/serial_link.h"
#include "records/progdir.h"
#include "records/settings.h"
#include "sim/pty.h"

struct BenchMachine {
    explicit BenchMachine(const SimOptions& o = {}) : sim(ControllerFamily::slo_syn, o) {
        char name[] = "/tmp/zel-bench-XXXXXX";
        std::string why;
        if (!::mkdtemp(name) || !set_program_directory(name, why) || !sim.start(why) ||
            !sim.link_as(program_file("COM1"), why))
            fail(why);
        settings.port = 1;
        settings.model = 1;
        set_command_strings();
        start_ctrace();
        if (init_com() != 0) fail(com_failure_reason());
    }
    ~BenchMachine() {
        reset_com();
        sim.stop();
        std::error_code ec;
        std::filesystem::remove_all(directory, ec);
    }
    [[noreturn]] static void fail(const std::string& why) {
        std::fprintf(stderr, "bench: %s\n", why.c_str());
        std::exit(1);
    }
    PtySim sim;
};
