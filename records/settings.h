#pragma once
#include <string>

// The eighteen machine settings of setup.dat, in file order.
struct Settings {
    float steps = 0;         // controller steps per inch of strip feed
    float min_notch = 0;     // "Control point filter": shown and stored only
    float arc_notch = 0;     // largest notch spacing along an arc, inches
    float cutter = 0;        // bender to sheer; the shear distance is cutter + 12 in.
    int direction = 0;       // forming direction; walls are fed only when 1
    int port = 0;            // serial port 1..4 (COM1..COM4)
    float bit = 0;           // notching cutter diameter, inches
    float nd = 0;            // distance between the 30 and the 100 degree notcher
    int XOFFSET = 0;         // window x of the drawing origin, pixels
    int YOFFSET = 0;         // window y of the drawing origin, pixels
    int tab = 0;             // 0 none, 1 leading, 2 trailing, 3 both
    float home = 0;          // move after homing, inches
    float unload = 0;        // distance between the photo cells (calibration)
    int bend_output = 0;     // bender output on
    int closed_figure = 0;   // 1 lets the reader close figures marked closed
    int model = 0;           // 4: Galil controller; anything else: Slo-Syn
    float rw = 0;            // rewind distance at the end of a job (models other than 2, 3, 4)
    int operate = 0;         // non-zero switches the notchers and the flange bender off
};

extern Settings settings;

void reset_settings();

// How many fields a save writes: all eighteen, or the seventeen of the Load
// Tool calibration, which leaves `operate` out.
enum class SetupFields { all = 18, without_operate = 17 };

// The setup.dat line for the current settings.
std::string format_setup(SetupFields fields);

// Scans a setup.dat line into the settings; fields missing at the end, or
// from the first one that is not a number, keep their current values.
void scan_setup(const char* line);

// Reads setup.dat from the program directory. When it is missing or cannot be
// read the settings stay as they are, the operator is told, and false comes back.
bool get_setup();

// Writes setup.dat; on failure the old file stays whole and the operator is told.
bool save_setup(SetupFields fields);
