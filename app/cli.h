#pragma once
#include <string>
#include <vector>

// What the command line asks for.
struct CommandLine {
    enum class Mode { window, help, version, measure, check } mode = Mode::window;
    std::string dir;          // --dir; empty: the executable's folder
    std::string drawing;      // the drawing to load at start
    int figure = 0;           // --figure N (measure): 0 for every figure
    int start = 0;            // --start K (measure): start point moved forward K times
    // --units (measure): how drawings that declare millimetres or centimetres
    // are read; without it, as the machine folder's units.dat says.
    enum class Units { setting, inch, declared } units = Units::setting;
    bool simulate = false;    // --simulate: run against the simulated controller
    std::string error;        // non-empty when the command line cannot be used
};

CommandLine parse_command_line(const std::vector<std::string>& args);

extern const char* const kUsage;
