#pragma once
#include <string>

// The main window's process-wide state. It sits at the bottom of the shell so
// that every subsystem can read the few values it shares (the message line,
// the start point / divide mode, the zoom).
struct WindowState {
    int err = 0;             // 1 while a message is showing; the next click ends the program
    std::string record;      // the message shown to the operator
    int cover = 0;           // 1 when the tool may be operated
    int toggle = 1;          // 1: start point mode, 0: divide mode
    int pause = 0;           // divide point of the selected figure, 0 for none
    int repeat_count = 1;    // how many times Run Tool runs the selected figure
    int whole_job = 0;       // 1: the next Run Tool runs every figure once
    int segment_file = 0;    // 1: Image Length shows the segment report
    int cp = 0;              // 1: control point marks on
    int zoom = 1;            // view magnification, never below 1
    float material_length = 0.0f;
    float total_length = 0.0f;
    float notch_length = 0.0f;
    int mark = 0;            // 1 when the last Run / Move / Uncalibrated move dialog ended with OK
    int cancel = 0;          // 1 when the last Setup dialog was cancelled
    int button_x = 0;
    int button_w = 0;
    int carg = 0;            // 1 when the command line named a drawing
    std::string argument;    // that drawing's path
    std::string szName;      // the last path chosen in the open dialog
};

extern WindowState win;

void reset_window_state();
