#pragma once
#include <string>
#include <vector>

#include "records/job_table.h"
#include "records/prodlog.h"

// What a run of the selected figure will take, shown before it is run: the
// figure, its walls, its inches and feet, the strokes of each tool and the
// time it should take.

// Seconds a job takes per inch of the letter, as measured over the jobs done
// on this machine (its jobs.csv); 0 when none was done yet.
double measured_pace(const std::vector<CsvRow>& jobs);

// The estimate of a job of `walls` walls and `inches` inches: at the measured
// pace, or without one at least the time its commands take on the serial line.
std::string time_estimate(int walls, double inches, double pace);

// "Plan: figure 2 of 6, 52 walls, 78.5 in. (6.5 ft), 60 30-degree notches,
// ..., 1 shear, about 1 min 5 s" for the
// selected figure, planned without a file written; empty without a drawing or
// while the machine works.
std::string figure_plan();

// The same for every figure of the drawing (Options, Job Length); `walls`,
// `inches` and `strokes` are their totals.
std::string drawing_plan(int figures, int walls, double inches, const Counters& strokes);
