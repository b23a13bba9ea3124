#pragma once
#include <array>
#include <initializer_list>
#include <string>

#include "records/fields.h"

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

// The longest strip move the machine makes at once, in inches (100 ft). No
// move beyond it is sent, whatever computed it.
inline constexpr float kTravelLimit = 1200.0f;

void reset_settings();

// How many fields a save writes: all eighteen, or the seventeen of the Load
// Tool calibration, which leaves `operate` out.
enum class SetupFields { all = 18, without_operate = 17 };

// The setup.dat line for the current settings.
std::string format_setup(SetupFields fields);

// The eighteen settings in file order, each with its Setup dialog label and
// control and what it may hold.
const std::array<Field<Settings>, 18>& setting_fields();

// Scans a setup.dat line into the settings. A field that is not a number or
// is out of its range keeps its current value and the others are still
// taken; so do fields missing at the end. Returns what is wrong, empty when
// the line is sound: eighteen good fields, or the seventeen Load Tool writes.
std::string scan_setup(const char* line);

// One setting, by its member: how a part of the program names the settings
// it uses.
struct SettingRef {
    SettingRef(float Settings::*member) : real(member) {}
    SettingRef(int32_t Settings::*member) : whole(member) {}
    float Settings::*real = nullptr;
    int32_t Settings::*whole = nullptr;
};

// Reads setup.dat from the program directory, first removing what an
// interrupted save may have left beside it. When the file is missing, cannot
// be read or holds a field that is wrong, the operator is told (each wrong
// field by its name) and the fields that are wrong keep their values. False
// when the file cannot be read, holds fewer than seventeen fields, or a field
// that is wrong is one of `used`: without the list, all eighteen are used.
bool get_setup();
bool get_setup(std::initializer_list<SettingRef> used);

// What setup.dat held in the setting `member` when the last reading refused
// it, e.g. "7" or "abc"; empty when it was taken.
std::string refused_setting(int32_t Settings::*member);

// The first setting that is out of its range, with what it must be; empty
// when all are sound.
std::string setting_fault();

// Writes setup.dat; on failure the old file stays whole and the operator is
// told. Settings with a field out of its range are not written.
bool save_setup(SetupFields fields);
