#pragma once

// Carries out the wall list just planned on the machine.
void run_planned_job();
