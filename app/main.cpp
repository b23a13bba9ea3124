#include <cstdio>
#include <string>
#include <vector>

#include "app/cli.h"
#include "app/modes.h"
#include "app/simulate.h"
#include "platform/exit.h"
#include "platform/signals.h"
#include "records/prodlog.h"
#include "records/progdir.h"
#include "resources/strings.h"
#include "shell/window_state.h"

int main(int argc, char** argv) {
    CommandLine cl = parse_command_line(std::vector<std::string>(argv + 1, argv + argc));
    if (!cl.error.empty()) {
        std::fprintf(stderr, "zel: %s\n\n%s", cl.error.c_str(), kUsage);
        return 2;
    }
    if (cl.mode == CommandLine::Mode::help) {
        std::fputs(kUsage, stdout);
        return 0;
    }
    if (cl.mode == CommandLine::Mode::version) {
        std::printf("%s\n", kVersionText);
        return 0;
    }

    // The drawing is named relative to where the program was started, before
    // the working directory becomes the program directory.
    std::string drawing = absolute_path(cl.drawing);
    std::string why;
    if (!set_program_directory(cl.dir.empty() ? executable_folder() : cl.dir, why)) {
        std::fprintf(stderr, "zel: %s\n", why.c_str());
        return 2;
    }
    win.carg = drawing.empty() ? 0 : 1;
    win.argument = drawing;
    write_argument_dat(drawing);

    if (cl.mode == CommandLine::Mode::measure) return run_measure(cl);

    // Lives to the end of the program; an exit from inside a wait leaves it running.
    std::unique_ptr<PtySim> sim;
    if (cl.simulate) {
        win.simulated = true;
        sim = start_simulated_machine(why);
        if (!sim) {
            std::fprintf(stderr, "zel: the simulated machine cannot start: %s\n", why.c_str());
            return 1;
        }
    }
    catch_termination();
    int status = 0;
    if (cl.mode == CommandLine::Mode::check) {
        status = run_check(cl);
    } else {
        write_log_in_background(true);
        status = run_window(cl);
    }
    run_program_end_steps();
    return status;
}
