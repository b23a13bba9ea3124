// zel --measure: the strip lengths of a drawing's figures, as Image Length and
// Job Length compute them, printed for quotes and scripts.
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>

#include "app/modes.h"
#include "import/dxf.h"
#include "import/select.h"
#include "import/shapes.h"
#include "planning/new_drawing.h"
#include "planning/planner.h"
#include "planning/walls.h"
#include "records/notice.h"
#include "records/settings.h"
#include "records/units.h"
#include "sequencing/jobrun.h"
#include "shell/window_state.h"

namespace {

int fail(const std::string& message) {
    std::fprintf(stderr, "zel: %s\n", message.c_str());
    return 1;
}

int elements(int figure) {
    int first = 0, terminator = 0;
    return find_figure(figure, first, terminator) ? terminator - first : 0;
}

// Plans one figure and prints its line; false when the figure was refused.
bool measure_figure(int figure, float& total) {
    shapes.selected = figure;
    if (!plan_job()) return false;
    float length = measure_walls();
    std::printf("%d %d %d %.3f\n", figure, elements(figure), wall_list.walls, length);
    total += length;
    return true;
}

}  // namespace

int read_drawing(const CommandLine& cl, const char* nothing_done,
                 std::initializer_list<SettingRef> used) {
    if (!get_setup(used))
        return fail(std::string("The settings in setup.dat cannot be used; nothing was ") +
                    nothing_done);
    get_unit_setting();
    if (cl.units != CommandLine::Units::setting)
        unit_setting.choice = cl.units == CommandLine::Units::declared ? UnitChoice::declared
                                                                       : UnitChoice::inch;
    if (cl.join != 0.0) unit_setting.join_tolerance = cl.join;
    if (cl.text_given) return make_text_drawing(cl);
    const std::string& path = win.argument;
    switch (load_new_drawing(path)) {
    case DrawingLoad::not_opened:
        return fail(path + " Failed to open: " + std::strerror(errno));
    case DrawingLoad::refused: return 1;  // the reader has said why
    case DrawingLoad::read_failed:
        return fail(path + " could not be read: " + std::strerror(dxf.read_errno));
    case DrawingLoad::loaded: break;
    }
    if (std::string units = units_hint(); !units.empty()) notice(path + ": " + units);
    if (std::string closed = closed_note(); !closed.empty()) notice(path + ": " + closed);
    if (std::string fonts = fonts_note(); !fonts.empty()) notice(path + ": " + fonts);
    return 0;
}

int run_measure(const CommandLine& cl) {
    // What planning reads; the others (the port, the machine's moves) play no
    // part in a quote.
    if (int status = read_drawing(cl, "measured",
                                  {&Settings::arc_notch, &Settings::direction, &Settings::bit,
                                   &Settings::closed_figure});
        status != 0)
        return status;
    if (cl.figure > shapes.objects)
        return fail("The drawing has " + std::to_string(shapes.objects) + " figures; there is no figure " +
                    std::to_string(cl.figure));

    int chosen = cl.figure != 0 ? cl.figure : 1;
    // A whole turn round the figure brings back its own start point.
    for (int k = 0; k < cl.start % elements(chosen); ++k) rotate(1, chosen);

    std::printf("figure elements walls inches\n");
    float total = 0;
    if (cl.figure != 0) {
        if (!measure_figure(cl.figure, total)) return 1;
    } else {
        for (int figure = 1; figure <= shapes.objects; ++figure)
            if (!measure_figure(figure, total)) return 1;
    }
    std::printf("total %.3f\n", total);
    return 0;
}
