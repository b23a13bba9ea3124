#pragma once

// Plans the figure numbered `shapes.selected` into the wall list and writes
// curf.txt. False when the job is refused (the operator has been told); the
// wall list is then empty.
bool plan_figure();

// Writes segments.txt for the planned walls and returns their total length.
float measure_walls();

// Plans the selected figure. With 1 (measure mode) writes the segment report
// and returns the total length of the walls; with any other value runs the
// planned job on the machine and returns 0.
float Run_Job(int parm);
