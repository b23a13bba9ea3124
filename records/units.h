#pragma once
#include <string>

// How drawing coordinates are taken. A drawing unit is an inch, unless the
// operator has chosen to read drawings that declare millimetres or
// centimetres in the unit they declare (scaled to inches as they are read);
// and how close the ends of chain pieces must come to be joined. Both are
// kept in units.dat in the program directory: one line, "inch" or
// "declared", followed by the join tolerance in inches when it is not the
// default.

enum class DrawingUnit { inch, millimetre, centimetre };

enum class UnitChoice { inch, declared };

// Ends of chain pieces this close (in inches) are joined; the operator may
// set it from kLeastJoin up to kMostJoin.
inline constexpr double kDefaultJoin = 0.0005;
inline constexpr double kLeastJoin = 0.000001;
inline constexpr double kMostJoin = 0.05;

struct UnitSetting {
    UnitChoice choice = UnitChoice::inch;
    double join_tolerance = kDefaultJoin;
};

extern UnitSetting unit_setting;

void reset_unit_setting();

// The unit a drawing that declares `declared` is read in, with the setting.
DrawingUnit unit_in_use(DrawingUnit declared);

// Drawing units in one inch: 1, 25.4 or 2.54.
double units_per_inch(DrawingUnit unit);

// "inches", "millimetres", "centimetres".
const char* unit_name(DrawingUnit unit);

// Reads units.dat. A missing file means inches and the default join
// tolerance; a file that cannot be read or says something else is told to
// the operator and means the same.
void get_unit_setting();

// A join tolerance as the operator types it: a number of inches from
// kLeastJoin to kMostJoin, nothing else. False, and `join` unchanged, otherwise.
bool read_join_tolerance(const std::string& text, double& join);

// Writes units.dat; on failure the old file stays whole and the operator is told.
bool save_unit_setting();
