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

// Rewrites log.dat; on failure the old file stays whole and the operator is told.
bool write_log();
