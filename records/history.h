#pragma once
#include <ctime>
#include <string>

// The job history, jobs.csv in the machine folder: one line for every job and
// notching run, appended and flushed to the disk as it ends, with a header
// line first. Fields follow RFC 4180: separated by commas, quoted when they
// hold a comma, a quote or a line end, quotes doubled.
struct HistoryLine {
    std::time_t started = 0, ended = 0;
    std::string drawing;       // path; empty for a notching run
    int figure = 0;            // 0 for a notching run
    std::string start_point;   // "(x, y)" of the figure's start, in drawing units
    int divide_point = 0;      // 0 for none
    int walls = 0;             // walls planned (notches made, for a notching run)
    float planned = 0.0f, fed = 0.0f;  // inches
    long long notch30 = 0, notch100 = 0, dimples = 0, indicates = 0, flanges = 0, sheers = 0;
    int images = 0;            // images counted by this job (1 or 0)
    std::string result;        // "done", "stopped by operator", "controller lost", "refused: ..."
    float counted = 0.0f;      // inches added to the footage of log.dat: the letter's inches fed
};

inline constexpr const char* kHistoryHeader =
    "start,end,drawing,figure,start point,divide point,walls,inches planned,inches fed,"
    "30-degree notches,100-degree notches,dimples,indicates,flange bends,shears,images,result,"
    "inches counted";

// One field as RFC 4180 writes it.
std::string csv_field(const std::string& text);

// Local time with its offset, e.g. "2026-12-07T14:05:09+01:00".
std::string iso_local_time(std::time_t t);

// The line for jobs.csv, without its line end.
std::string history_csv(const HistoryLine& h);

// Appends the line to jobs.csv (the header first when the file is new).
// False, with the operator told, when it cannot be written; jobs.csv then
// holds no part of it.
bool append_history(const HistoryLine& h);

// At start: a last line of jobs.csv that was cut short (a full disk, a power
// cut) is moved to jobs.csv.damaged, so that the next line starts on a line of
// its own; the operator is told. The whole lines stay.
void repair_history();
