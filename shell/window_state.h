#pragma once
#include <string>
#include <vector>

// The main window's own state: what its commands, dialogs and view share.
struct WindowState {
    int cover = 0;           // 1 when the tool may be operated
    int segment_file = 0;    // 1: Image Length shows the segment report
    int cp = 0;              // 1: control point marks on
    double zoom = 1;         // view magnification: pixels per screen unit, 1 at the start
    double pan_x = 0;        // how far the operator has moved the drawing's origin from
    double pan_y = 0;        // the X and Y Offset settings, in pixels
    int client_w = 0;        // the client area, once the window has told its size
    int client_h = 0;
    int buttons_bottom = 0;  // the lowest edge of the push buttons
    std::vector<int> buttons_made;  // the command ids of the push buttons there are
    bool fit_check_due = false;  // a new drawing waits for the size to be checked against it
    enum class Pan { none, left, middle } pan = Pan::none;  // the button of a pan under way
    int pan_last_x = 0;      // where the mouse was at the last step of that pan
    int pan_last_y = 0;
    float material_length = 0.0f;  // the last Image Length or Job Length
    int button_x = 0;        // where the button row ended: the tab text stands beside it
    int button_w = 0;
    bool simulated = false;  // the controller is the simulated machine (--simulate)
    std::string startup_failure;  // why no controller answered at start-up; empty when one did
    std::string drawing;     // the drawing on screen
    int carg = 0;            // 1 when the command line named a drawing
    std::string argument;    // that drawing's path
    std::string open_dialog_path;  // the last path chosen in the open dialog: it starts there
};

extern WindowState win;

void reset_window_state();
