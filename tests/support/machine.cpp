#include "tests/support/machine.h"

#include "records/settings.h"

std::vector<std::string> machine_commands(const SimController& sim) {
    std::vector<std::string> out;
    bool distance_next = false;
    for (std::string c : sim.commands()) {
        if (!c.empty() && c.back() == '\r') c.pop_back();
        if (distance_next) {
            out.back() += " " + c;
            distance_next = false;
        } else if (c == "10" || c == "9") {
            out.push_back(c == "10" ? "M" : "F");
            distance_next = true;
        } else {
            out.push_back(c);
        }
    }
    return out;
}

std::vector<std::string> trace_lines(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t at = 0;
    while (at < text.size()) {
        std::size_t end = text.find('\n', at);
        if (end == std::string::npos) end = text.size();
        lines.push_back(text.substr(at, end - at));
        at = end + 1;
    }
    return lines;
}

void typical_job_settings() {
    settings.nd = 6.0f;
    settings.bit = 0.25f;
    settings.arc_notch = 0.5f;
    settings.direction = 1;
    settings.steps = 1000.0f;
    settings.cutter = 30.0f;
    settings.rw = 5.0f;
    settings.home = 2.5f;
}

void MachineTest::SetUp() {
    ControllerTest::SetUp();
    typical_job_settings();
}
