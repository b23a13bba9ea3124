#include "records/prodlog.h"

#include <cerrno>

#include "platform/exit.h"
#include "platform/files.h"
#include "platform/latest_file.h"
#include "platform/text.h"
#include "records/notice.h"
#include "records/progdir.h"
#include "records/progress.h"

Counters counters;

namespace {
LatestFile log_file;
bool in_background = false;
bool failure_told = false;

// Tells the operator the first time in a period that the log could not be saved.
bool told_if_failed(const std::string& why) {
    if (why.empty()) return true;
    if (!failure_told)
        notice("Production log was not saved: " + why +
               "; the counts are kept and saved at the next chance");
    failure_told = true;
    return false;
}
}  // namespace

void reset_counters() {
    write_log_in_background(false);
    failure_told = false;
    counters = Counters{};
}

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

void write_log_in_background(bool on) {
    flush_log();
    in_background = on;
}

void begin_log_period() { failure_told = false; }

void nudge_log_writer() {
    if (in_background) log_file.wake();
}

void flush_log() {
    if (!in_background) return;
    log_file.flush();
    told_if_failed(log_file.failure());
}

bool write_log() {
    std::string why;
    if (in_background) {
        why = log_file.failure();  // of the write before this one
        // During machine work the writer starts when the program next waits
        // for the controller, so that it does not hold up the next command.
        log_file.hand(program_file("log.dat"), format_log(), !progress.running);
        at_program_end(flush_log);
    } else {
        replace_file(program_file("log.dat"), format_log(), why);
    }
    return told_if_failed(why);
}
