#include "records/job.h"

JobOptions job;

void reset_job_options() { job = JobOptions{}; }

void back_to_start_point_mode() {
    job.pause = 0;
    job.toggle = 1;
    job.whole_job = 0;
    job.repeat_count = 1;
}
