#pragma once
#include <algorithm>
#include <string>
#include <vector>

#include "sim/controller.h"
#include "tests/support/controller_support.h"

// What the simulated machine received, one entry per command without its
// carriage return; a Galil move ("10" and its distance) reads "M -5.000000".
std::vector<std::string> machine_commands(const SimController& sim);

// How many of `lines` are `line`.
inline int count(const std::vector<std::string>& lines, const std::string& line) {
    return static_cast<int>(std::count(lines.begin(), lines.end(), line));
}

// trace.txt split into lines (each without its line end).
std::vector<std::string> trace_lines(const std::string& text);

// The settings of a typical job: notchers 6 in. apart, a 0.25 in. bit, 0.5 in.
// arc spacing, forming direction 1, 1000 steps per inch, 30 in. from bender to
// shear, 5 in. rewind, 2.5 in. from home to the notcher.
void typical_job_settings();

// A controller test with the settings of a typical job.
class MachineTest : public ControllerTest {
protected:
    void SetUp() override;
    std::vector<std::string> machine() { return machine_commands(sim()); }
    std::vector<std::string> job_trace() { return trace_lines(read("trace.txt")); }
};
