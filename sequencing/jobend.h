#pragma once
#include <string>

#include "sequencing/jobrun.h"

// The job end: finishes a strip with a trailer when needed, the last bend
// cycle and the shear, then homes (models 2, 3, 4) or rewinds. With `letter`
// (the end of a job, not of its first piece), the letter is whole once the
// shear is made.
void finish_strip(bool letter = false);

// The job end's test for a trailer: the last wall fed (or planned) is shorter
// than 9 in., or there is none.
bool last_wall_is_short();

// Why a notching run of these lengths cannot be made; empty when it can.
std::string punch_refusal(float notch_length, float total_length);

// The notching run: a 30-degree notch every `job.notch_length` inches over
// `job.total_length` inches of material, then the job end. Does nothing when
// punch_refusal objects.
void punch();

// The Run command: home and move to the notcher (models 2, 3, 4), a fresh
// queue and trace, then the notching run, keeping `progress` (`wall` counts
// the notches). `refused`, with nothing sent, when the lengths are refused
// (the operator has been told why).
JobResult notching_run();

// Where a notching run was stopped, for trace.txt and the window.
std::string notching_stopped_text();

// Moves the divide point of the selected figure one position forward, or back
// when `direction` is negative.
void breakpoint(int direction);
