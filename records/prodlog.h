#pragma once
#include <cstdint>
#include <string>

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

// The log.dat line for the current counters.
std::string format_log();

// Scans a log.dat line; from the first field that is not a number on, the
// counters keep their values.
void scan_log(const char* line);

// Reads log.dat from the program directory. A missing file means the counters
// stay as they are (zero at start); the first write_log creates it.
void get_log();

// Rewrites log.dat; on failure the old file stays whole and the operator is told.
bool write_log();
