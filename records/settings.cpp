#include "records/settings.h"

#include "platform/files.h"
#include "platform/text.h"
#include "records/notice.h"
#include "records/progdir.h"

Settings settings;

void reset_settings() { settings = Settings{}; }

std::string format_setup(SetupFields fields) {
    const Settings& s = settings;
    std::string line = strprintf(
        "%f %f %f %f %d %d %f %f %d %d %d %f %f %d %d %d %f", s.steps, s.min_notch,
        s.arc_notch, s.cutter, s.direction, s.port, s.bit, s.nd, s.XOFFSET, s.YOFFSET,
        s.tab, s.home, s.unload, s.bend_output, s.closed_figure, s.model, s.rw);
    if (fields == SetupFields::all) line += strprintf(" %d", s.operate);
    return line;
}

void scan_setup(const char* line) {
    Settings& s = settings;
    FieldScanner in(line);
    in.next(s.steps) && in.next(s.min_notch) && in.next(s.arc_notch) && in.next(s.cutter) &&
        in.next(s.direction) && in.next(s.port) && in.next(s.bit) && in.next(s.nd) &&
        in.next(s.XOFFSET) && in.next(s.YOFFSET) && in.next(s.tab) && in.next(s.home) &&
        in.next(s.unload) && in.next(s.bend_output) && in.next(s.closed_figure) &&
        in.next(s.model) && in.next(s.rw) && in.next(s.operate);
}

bool get_setup() {
    std::string line, why;
    // The line buffer holds 127 characters and the terminator.
    if (!read_first_line(program_file("setup.dat"), 127, line, why)) {
        notice("Settings file setup.dat in " + directory + " could not be read (" + why +
               "); all settings are zero until they are entered in Tools, Setup");
        return false;
    }
    scan_setup(line.c_str());
    return true;
}

bool save_setup(SetupFields fields) {
    std::string why;
    if (!replace_file(program_file("setup.dat"), format_setup(fields), why)) {
        notice("Settings were not saved: " + why);
        return false;
    }
    return true;
}
