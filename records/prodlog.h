#pragma once
#include <array>
#include <cstdint>
#include <string>

#include "records/fields.h"

// The production counters of log.dat.
struct Counters {
    int32_t images = 0;
    int32_t notch30 = 0;
    int32_t notch100 = 0;
    int32_t indicates = 0;
    int32_t sheers = 0;
    int32_t dimples = 0;
    int32_t flanges = 0;
    float inches = 0;        // material used
};

extern Counters counters;

// The tools' counters, in the order of jobs.csv's stroke columns.
inline constexpr std::array<int32_t Counters::*, 6> kStrokeCounters{
    &Counters::notch30, &Counters::notch100, &Counters::dimples,
    &Counters::indicates, &Counters::flanges, &Counters::sheers};

// All the tools' strokes `c` counts.
inline long total_strokes(const Counters& c) {
    long n = 0;
    for (int32_t Counters::*stroke : kStrokeCounters) n += c.*stroke;
    return n;
}

void reset_counters();

// One more stroke or image. A counter at its largest value stays there.
void count_one(int32_t& counter);

// Adds a job's material to `inches`; the footage stays a finite number.
void count_material(float inches);

// The eight counters in file order, each with its Log dialog label and
// control (the footage is shown in feet) and what it may hold.
const std::array<Field<Counters>, 8>& counter_fields();

// The log.dat line for the current counters.
std::string format_log();

// Scans a log.dat line into the counters. A field that is not a count keeps
// its counter's value and the others are still taken; so do fields missing at
// the end. Returns what is wrong, empty when the line holds eight good counts.
std::string scan_log(const char* line);

// Reads log.dat from the program directory, first removing what an
// interrupted save may have left beside it. A missing file means the counters
// stay as they are (zero at start); the first write_log creates it. A log
// that is damaged or cannot be read is kept as log.dat.damaged, before any
// write can replace it, and the operator is told.
void get_log();

// Rewrites log.dat with the counters; on failure the old file stays whole,
// the counts stay in memory for the next write, and the operator is told
// once in a period (see begin_log_period). In the background (the running
// program) the line is handed to a writer thread and the caller does not
// wait for the disk; a failure is then known, and told, at the next write or
// at flush_log. False when the write (or, in the background, the one before)
// failed.
bool write_log();

// On: write_log hands its line to the writer thread. Off (the default, and
// what the tests use unless they test the writer): it writes before it returns.
void write_log_in_background(bool on);

// Returns once the newest counts are on the disk (or their write has failed
// once more and the operator has been told). A write that failed before is
// tried again.
void flush_log();

// The program is about to wait for the controller: a log line handed over
// since the last wait goes to the disk now, while nothing else runs; after a
// failed write, the newest counts are tried again.
void nudge_log_writer();

// Why the newest counts are not on the disk; empty when they are.
std::string log_unsaved();

// For the operator when the program ends with counts it could not save: why,
// and the line log.dat should hold. Empty when everything is saved.
std::string unsaved_log_text();

// The last step of the program's end: the counts are saved, or it says on
// stderr that they could not be.
void save_log_at_exit();

// A new job or command: the next failure to save the log is told again.
void begin_log_period();
