#include "planning/jobrun.h"

void run_planned_job() {}
