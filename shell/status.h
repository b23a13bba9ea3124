#pragma once
#include <string>

// The status line under the client area: what the machine is, what it is
// doing, and what the operator should know about the drawing on screen. Each
// part is set by whoever knows it; show_status puts them together.
struct StatusLine {
    std::string machine;  // "Simulated machine", "Controller ready on ...", "No controller: ..."
    std::string work;     // what the machine is doing, or what it did last
    std::string drawing;  // about the drawing and the view (units, a fitted view, ...)
    std::string plan;     // what a run of the selected figure will take
    std::string mode;     // the job's modes the menu checks ("Continuous job", "Divide")
};

extern StatusLine status_line;

void reset_status_line();

// The parts that are set, in that order, separated by a bar.
std::string status_text();

// Hands status_text() to the window.
void show_status();
