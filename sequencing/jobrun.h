#pragma once
#include <string>

// Why the planned job cannot be run on the machine; empty when it can.
std::string job_refusal();

enum class JobResult {
    made,     // the figure was made to its end
    refused,  // nothing was sent to the machine; the operator has been told why
    stopped,  // the job had to stop part way; the operator has been told why
};

// Carries out the wall list just planned on the machine: counts the material,
// homes, feeds every wall with its corner notch, divides the letter at the
// divide point in divide mode, adds the tabs and finishes the strip.
JobResult run_planned_job();

// Plans the selected figure and makes it.
JobResult make_job();
