#pragma once
#include <string>
#include <vector>

#include "sim/controller.h"
#include "tests/support/controller_support.h"

// What the simulated machine received, one entry per command without its
// carriage return; a Galil move ("10" and its distance) reads "M -5.000000".
std::vector<std::string> machine_commands(const SimController& sim);

// trace.txt split into lines (each without its line end).
std::vector<std::string> trace_lines(const std::string& text);

// A controller test with the settings of a typical job: notches 6 in. apart,
// a 0.25 in. bit, 0.5 in. arc spacing, forming direction 1.
class MachineTest : public ControllerTest {
protected:
    void SetUp() override;
    std::vector<std::string> machine() { return machine_commands(sim()); }
    std::vector<std::string> job_trace() { return trace_lines(read("trace.txt")); }
};
