#pragma once
#include <string>

// Why the planned job cannot be run on the machine; empty when it can.
std::string job_refusal();

// Carries out the wall list just planned on the machine: counts the material,
// homes, feeds every wall with its corner notch, divides the letter at the
// divide point in divide mode, adds the tabs and finishes the strip.
void run_planned_job();
