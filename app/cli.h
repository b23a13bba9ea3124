#pragma once
#include <string>
#include <vector>

// What the command line asks for.
struct CommandLine {
    enum class Mode {
        window, help, version, measure, export_dxf, check, ports, use_port, fonts
    } mode = Mode::window;
    std::string dir;          // --dir; empty: the default machine folder
    std::string drawing;      // the drawing to load at start
    int figure = 0;           // --figure N (measure): 0 for every figure
    int start = 0;            // --start K (measure): start point moved forward K times
    // --units (measure): how drawings that declare millimetres or centimetres
    // are read; without it, as the machine folder's units.dat says.
    enum class Units { setting, inch, declared } units = Units::setting;
    // --join T (measure, export): the join tolerance in inches; 0 for the
    // machine folder's.
    double join = 0.0;
    std::string export_path;  // --export-dxf OUT
    bool simulate = false;    // --simulate: run against the simulated controller
    std::string device;       // --use-port DEVICE
    int port = 0;             // --port N (use-port): 0 for the port in Setup
    // Letters from text in place of a drawing (measure, export).
    bool text_given = false;  // --text TEXT
    std::string text;
    std::string font;         // --font PATTERN; empty: the font last used
    bool height_given = false;
    double height = 0.0;      // --height H, in the unit of --units; without it the height last used
    bool millimetres = false; // --units mm
    double spacing = 0.0;     // --spacing S: added to each letter's advance, same unit
    double line_spacing = 1.0;  // --line-spacing F: of the font's own line distance
    std::string fonts_filter; // --fonts [PATTERN]
    std::string error;        // non-empty when the command line cannot be used
};

CommandLine parse_command_line(const std::vector<std::string>& args);

// The usage text; `machine_folder` is where the program keeps its files
// without --dir.
std::string usage_text(const std::string& machine_folder);
