#pragma once
#include <string>
#include <vector>

#include "records/job_table.h"
#include "records/prodlog.h"

// What a run of the selected figure will take, shown before it is run: the
// figure, its walls, its inches and feet, the strokes of each tool and the
// time it should take.

// A machine's measured pace: the seconds its letters took, fitted over the
// whole letters done on it (its jobs.csv) as so much per inch of the letter
// and so much per tool stroke; both 0 when none was done yet.
struct Pace {
    double per_inch = 0;
    double per_stroke = 0;
    bool measured() const { return per_inch > 0 || per_stroke > 0; }
};
Pace measured_pace(const std::vector<CsvRow>& jobs);

// The estimate of a job of `walls` walls, `inches` inches and `strokes` tool
// strokes: at the measured pace, or without one the least time its commands
// take on the serial line.
std::string time_estimate(int walls, double inches, long strokes, const Pace& pace);

// "Plan: figure 2 of 6, 52 walls, 78.5 in. (6.5 ft), 60 30-degree notches,
// ..., 1 shear, about 1 min 5 s": what Run Tool will make, the selected
// figure, its repeated images ("3 images of figure 2 of 6") or every figure
// of a continuous job ("every figure (6)"), planned without a file written;
// empty without a drawing or while the machine works.
std::string figure_plan();

// The same for every figure of the drawing (Options, Job Length); `walls`,
// `inches` and `strokes` are their totals.
std::string drawing_plan(int figures, int walls, double inches, const Counters& strokes);
