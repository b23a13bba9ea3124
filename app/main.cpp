#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/cli.h"
#include "app/modes.h"
#include "app/reset.h"
#include "app/simulate.h"
#include "platform/exit.h"
#include "platform/folders.h"
#include "platform/signals.h"
#include "records/prodlog.h"
#include "records/progdir.h"
#include "resources/strings.h"
#include "shell/window_state.h"

namespace {

DefaultFolder default_folder() {
    std::string zel_machine = environment_variable("ZEL_MACHINE");
    return default_program_directory(executable_folder(), zel_machine.c_str(),
                                     home_folder().c_str());
}

// The folder the command line names, or the default one, made from the
// sample when it is the operator's own. Empty with the reason in `why`.
std::string machine_folder(const CommandLine& cl, std::string& why) {
    if (!cl.dir.empty()) return cl.dir;
    DefaultFolder d = default_folder();
    if (d.dir.empty()) {
        why = "there is no home folder for the machine folder: set ZEL_MACHINE or use --dir";
        return "";
    }
    if (d.own && !make_machine_folder(d.dir, sample_machine_folder(executable_folder()), why))
        return "";
    return d.dir;
}

}  // namespace

int main(int argc, char** argv) {
    reset_all_state();
    CommandLine cl = parse_command_line(program_arguments(argc, argv));
    if (!cl.error.empty()) {
        std::fprintf(stderr, "zel: %s\n\n%s", cl.error.c_str(),
                     usage_text(default_folder().dir).c_str());
        return 2;
    }
    if (cl.mode == CommandLine::Mode::help) {
        std::fputs(usage_text(default_folder().dir).c_str(), stdout);
        return 0;
    }
    if (cl.mode == CommandLine::Mode::fonts) return run_fonts(cl);
    if (cl.mode == CommandLine::Mode::version) {
        std::printf("%s\n", kVersionText);
        return 0;
    }

    // The drawing is named relative to where the program was started, before
    // the working directory becomes the program directory.
    std::string drawing = absolute_path(cl.drawing);
    if (!cl.export_path.empty()) cl.export_path = absolute_path(cl.export_path);
    std::string why;
    std::string dir = machine_folder(cl, why);
    if (dir.empty() || !set_program_directory(dir, why)) {
        std::fprintf(stderr, "zel: %s\n", why.c_str());
        return 2;
    }
    if (cl.mode == CommandLine::Mode::ports) return run_ports(cl);
    // --measure and --export-dxf only read the settings, which are always
    // whole, and may run beside the program that works the machine (a quote
    // while it works).
    if (cl.mode != CommandLine::Mode::measure && cl.mode != CommandLine::Mode::export_dxf &&
        !lock_machine_folder(why)) {
        if (cl.mode == CommandLine::Mode::window) return refuse_window(why);
        std::fprintf(stderr, "zel: %s\n", why.c_str());
        return 1;
    }
    if (cl.mode == CommandLine::Mode::use_port) return run_use_port(cl);

    win.carg = drawing.empty() ? 0 : 1;
    win.argument = drawing;
    // Both only read the drawing and the settings.
    if (cl.mode == CommandLine::Mode::measure) return run_measure(cl);
    if (cl.mode == CommandLine::Mode::export_dxf) return run_export(cl);
    write_argument_dat(drawing);

    // Lives to the end of the program; an exit from inside a wait leaves it running.
    std::unique_ptr<SimController> sim;
    if (cl.simulate) {
        win.simulated = true;
        sim = start_simulated_machine(why);
        if (!sim) {
            std::fprintf(stderr, "zel: the simulated machine cannot start: %s\n", why.c_str());
            return 1;
        }
    }
    catch_termination();
    // Should a library end the program (Qt does when its display goes), the
    // end's steps still run.
    std::atexit(run_program_end_steps);
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
