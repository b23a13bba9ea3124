#include <cstdio>

#include "app/modes.h"
#include "resources/strings.h"
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

int run_window(const CommandLine&) {
    get_log();
    get_setup();
    print_start_up();
    return 0;
}
