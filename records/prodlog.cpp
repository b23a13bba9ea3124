#include "records/prodlog.h"

#include <cerrno>
#include <cfloat>
#include <cmath>
#include <cstdio>
#include <vector>

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
std::string unsaved;  // why the last write, when not in the background, failed
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
    unsaved.clear();
    counters = Counters{};
}

void count_one(int32_t& counter) {
    if (counter < INT32_MAX) ++counter;
}

void count_material(float inches) {
    float sum = counters.inches + inches;
    counters.inches = std::isfinite(sum) ? sum : FLT_MAX;
}

const std::array<Field<Counters>, 8>& counter_fields() {
    using C = Counters;
    using R = Range;
    static const std::array<Field<Counters>, 8> fields{{
        {"Image count", 236, nullptr, &C::images, R::not_negative},
        {"30 Degree notches", 237, nullptr, &C::notch30, R::not_negative},
        {"100 Degree notches", 238, nullptr, &C::notch100, R::not_negative},
        {"Indicates", 239, nullptr, &C::indicates, R::not_negative},
        {"Sheers", 240, nullptr, &C::sheers, R::not_negative},
        {"Dimples", 242, nullptr, &C::dimples, R::not_negative},
        {"Flange bends", 243, nullptr, &C::flanges, R::not_negative},
        {"Footage of material", 241, &C::inches, nullptr, R::not_negative},
    }};
    return fields;
}

std::string format_log() {
    const Counters& c = counters;
    return strprintf("%d %d %d %d %d %d %d %f", c.images, c.notch30, c.notch100, c.indicates,
                     c.sheers, c.dimples, c.flanges, c.inches);
}

std::string scan_log(const char* line) {
    std::vector<std::string> words = split_words(line);
    std::string faults = take_words(counter_fields(), words, counters, false);
    if (words.size() < counter_fields().size())
        add_fault(faults, strprintf("it holds %zu of the 8 counts", words.size()));
    return faults;
}

namespace {

// Keeps the damaged log beside the new one: a copy while it can be read (so
// that the counts that could be read are still in log.dat should the program
// end before it writes), the file itself moved aside when it cannot.
void keep_damaged_log(const std::string& path, const std::string& what) {
    std::string kept = path + ".damaged", content, why;
    bool saved = false;
    if (read_small_file(path, kRecordLimit, content, why))
        saved = replace_file(kept, content, why);
    else if (move_file_over(path, kept))
        saved = true;
    else
        why = errno_text();
    notice("Production log log.dat in " + directory + " " + what +
           (saved ? ". It was kept as log.dat.damaged"
                  : ". It could not be kept beside (" + why + "); the next count replaces it") +
           ". The counts that could not be read start from 0");
}

}  // namespace

void get_log() {
    std::string path = program_file("log.dat");
    remove_interrupted_saves(path);
    std::string line, why;
    if (!read_first_line(path, 255, line, why)) {
        if (errno != ENOENT) keep_damaged_log(path, "could not be read (" + why + ")");
        return;
    }
    std::string faults = scan_log(line.c_str());
    if (!faults.empty()) keep_damaged_log(path, "is damaged: " + faults);
}

void write_log_in_background(bool on) {
    flush_log();
    in_background = on;
}

void begin_log_period() { failure_told = false; }

void nudge_log_writer() {
    if (!in_background) return;
    if (!log_file.failure().empty() && log_file.settled())
        log_file.hand(program_file("log.dat"), format_log(), false);
    log_file.wake();
}

std::string log_unsaved() { return in_background ? log_file.failure() : unsaved; }

void flush_log() {
    if (in_background) {
        log_file.flush();
        if (!log_file.failure().empty()) {
            log_file.hand(program_file("log.dat"), format_log());
            log_file.flush();
        }
    } else if (!unsaved.empty()) {
        unsaved.clear();
        replace_file(program_file("log.dat"), format_log(), unsaved);
    }
    told_if_failed(log_unsaved());
}

bool write_log() {
    std::string why;
    if (in_background) {
        why = log_file.failure();  // of the write before this one
        // During machine work the writer starts when the program next waits
        // for the controller, so that it does not hold up the next command.
        log_file.hand(program_file("log.dat"), format_log(), !progress.running);
    } else {
        unsaved.clear();
        replace_file(program_file("log.dat"), format_log(), unsaved);
        why = unsaved;
    }
    at_program_end(save_log_at_exit);
    return told_if_failed(why);
}

std::string unsaved_log_text() {
    std::string why = log_unsaved();
    if (why.empty()) return "";
    return "The production log log.dat in " + directory + " could not be saved (" + why +
           "). The counts it should hold are \"" + format_log() +
           "\": image count, 30 and 100 degree notches, indicates, sheers, dimples, flange "
           "bends and inches of material. Once it can be written again (a disk with room), "
           "enter them in Options, View log (its footage is in feet: the inches divided by 12).";
}

void save_log_at_exit() {
    failure_told = true;  // said below, with the counts
    flush_log();
    std::string text = unsaved_log_text();
    if (!text.empty()) std::fprintf(stderr, "zel: %s\n", text.c_str());
}
