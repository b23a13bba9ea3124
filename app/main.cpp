#include <cstdio>
#include <string>
#include <vector>

#include "app/cli.h"
#include "resources/strings.h"
#include "shell/notice.h"
#include "shell/prodlog.h"
#include "shell/progdir.h"
#include "shell/settings.h"
#include "shell/window_state.h"

namespace {

void print_start_up() {
    const Settings& s = settings;
    const Counters& c = counters;
    std::printf("%s\n", kVersionText);
    std::printf("Program directory: %s\n", directory.c_str());
    std::printf("Drawing: %s\n", win.carg ? win.argument.c_str() : "(none)");
    std::printf("Settings: steps %.3f, control point filter %.3f, radius notch %.3f, "
                "bender to sheer %.3f, direction %d, port %d, bit %.3f, notchers %.3f,\n"
                "          offset %d,%d, tab %d, home %.3f, photo cells %.3f, bender output %d, "
                "close figure %d, model %d, rewind %.3f, notch/flange off %d\n",
                s.steps, s.min_notch, s.arc_notch, s.cutter, s.direction, s.port, s.bit, s.nd,
                s.XOFFSET, s.YOFFSET, s.tab, s.home, s.unload, s.bend_output, s.closed_figure,
                s.model, s.rw, s.operate);
    std::printf("Production log: %d images, %d 30 degree notches, %d 100 degree notches, "
                "%d indicates, %d sheers, %d dimples, %d flange bends, %.3f feet of material\n",
                c.images, c.notch30, c.notch100, c.indicates, c.sheers, c.dimples, c.flanges,
                c.inches / 12.0);
}

}  // namespace

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

    get_log();
    get_setup();
    print_start_up();
    return 0;
}
