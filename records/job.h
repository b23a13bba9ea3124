#pragma once

// The options of the next job, as the operator set them in the window: where
// the selected figure is divided, how many times it is made, and the lengths
// of a notching run. The planner, the job run and the window read them here.
struct JobOptions {
    int toggle = 1;             // 1: the start point commands move the start point;
                                // 0: divide mode, they move the divide point
    int pause = 0;              // divide point of the selected figure, 0 for none
    int repeat_count = 1;       // how many times Run Tool makes the selected figure
    int whole_job = 0;          // 1: the next Run Tool makes every figure once
    float notch_length = 0.0f;  // notching run: inches between notches
    float total_length = 0.0f;  // notching run: inches of material
};

extern JobOptions job;

void reset_job_options();

// After a run and at every new selection: the selected figure once, in start
// point mode, without a divide point.
void back_to_start_point_mode();
