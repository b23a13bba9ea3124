#pragma once
#include <string>

#include "records/prodlog.h"

// Plans the selected figure. With 1 (measure mode) writes the segment report
// and returns the total length of the walls; with any other value runs the
// planned job on the machine and returns 0.
float Run_Job(int parm);

// Every planning starts a job afresh: no triple under way, not in a job end.
// Then plans the selected figure (planning/planner.h); false when refused.
bool plan_job();

// What the job run does at the end of a wall that turns by `a` degrees:
// a 30-degree notch at once (with an indicate mark on a sharp
// counter-clockwise turn), or one or three 100-degree notches queued for the
// moment the corner reaches that notcher.
enum class Corner { notch, notch_and_indicate, queue_one, queue_three };
Corner corner_kind(float a);

// Why the planned job cannot be run on the machine; empty when it can.
std::string job_refusal();

enum class JobResult {
    made,                 // the figure was made to its end
    refused,              // nothing was sent to the machine; the operator has been told why
    stopped,              // the job had to stop part way; the operator has been told why
    stopped_by_operator,  // the operator stopped it; trace.txt says where
    lost,                 // the controller stopped answering (ControllerLost was thrown on)
};

// Carries out the wall list just planned on the machine: counts the material,
// homes, feeds every wall with its corner notch, divides the letter at the
// divide point in divide mode, adds the tabs and finishes the strip. Keeps
// `progress` and the interrupted-job record; when it stops, only the
// material fed stays counted. A job that carries on a stopped one
// (sequencing/resume.h) makes its first commands again without sending them.
// ControllerLost goes on to the caller once the job has been wound up.
JobResult run_planned_job();

// Adds to `strokes` what the job just planned would take of each tool, made
// on paper: nothing is sent, counted in log.dat or traced, and the job's
// state is left as it was. False when the job would stop part way (it says
// why when it is run).
bool strokes_on_paper(Counters& strokes);

// Plans the selected figure and makes it.
JobResult make_job();

// Where the operator stopped the job, for trace.txt and the window.
std::string where_stopped();

// Where the job was when the controller was lost, for trace.txt.
std::string where_lost();
