#include "records/prodlog.h"

#include <cerrno>

#include "platform/files.h"
#include "platform/text.h"
#include "records/notice.h"
#include "records/progdir.h"

Counters counters;

void reset_counters() { counters = Counters{}; }

std::string format_log() {
    const Counters& c = counters;
    return strprintf("%d %d %d %d %d %d %d %f", c.images, c.notch30, c.notch100, c.indicates,
                     c.sheers, c.dimples, c.flanges, c.inches);
}

void scan_log(const char* line) {
    Counters& c = counters;
    FieldScanner in(line);
    in.next(c.images) && in.next(c.notch30) && in.next(c.notch100) && in.next(c.indicates) &&
        in.next(c.sheers) && in.next(c.dimples) && in.next(c.flanges) && in.next(c.inches);
}

void get_log() {
    std::string line, why;
    if (!read_first_line(program_file("log.dat"), 255, line, why)) {
        if (errno != ENOENT)
            notice("Production log log.dat could not be read (" + why + "); counting from zero");
        return;
    }
    scan_log(line.c_str());
}

bool write_log() {
    std::string why;
    if (!replace_file(program_file("log.dat"), format_log(), why)) {
        notice("Production log was not saved: " + why);
        return false;
    }
    return true;
}
