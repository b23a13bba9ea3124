#pragma once

// Plans the figure numbered `shapes.selected` into the wall list and writes
// curf.txt (with `reports`). False when the job is refused (the operator has been told): the
// wall list would not fit, or a point, a wall, a corner or the total would
// not be a number. The wall list is then empty. (Run_Job, with the
// sequencing flags every planning clears, is the job run's: sequencing/jobrun.h.)
bool plan_figure(bool reports = true);

// The total length of the planned walls, in inches, writing nothing.
float planned_length();

// Writes segments.txt for the planned walls and returns their total length.
float measure_walls();

// The corner angle the planner keeps: a clockwise turn of less than 30
// degrees beside an arc is taken as 10, so that it is notched at once.
float shallow_turn(float angle, bool beside_arc);
