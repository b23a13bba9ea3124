#include "records/units.h"

#include <cerrno>

#include "platform/files.h"
#include "records/notice.h"
#include "records/progdir.h"

UnitSetting unit_setting;

void reset_unit_setting() { unit_setting = UnitSetting{}; }

DrawingUnit unit_in_use(DrawingUnit declared) {
    return unit_setting.choice == UnitChoice::declared ? declared : DrawingUnit::inch;
}

double units_per_inch(DrawingUnit unit) {
    switch (unit) {
    case DrawingUnit::millimetre: return 25.4;
    case DrawingUnit::centimetre: return 2.54;
    case DrawingUnit::inch: break;
    }
    return 1.0;
}

const char* unit_name(DrawingUnit unit) {
    switch (unit) {
    case DrawingUnit::millimetre: return "millimetres";
    case DrawingUnit::centimetre: return "centimetres";
    case DrawingUnit::inch: break;
    }
    return "inches";
}

void get_unit_setting() {
    unit_setting = UnitSetting{};
    std::string line, why;
    if (!read_first_line(program_file("units.dat"), 63, line, why)) {
        if (errno != ENOENT)
            notice("Drawing units file units.dat could not be read (" + why +
                   "); drawings are read in inches");
        return;
    }
    if (line == "declared") {
        unit_setting.choice = UnitChoice::declared;
    } else if (line != "inch") {
        notice("Drawing units file units.dat says \"" + line +
               "\", not inch or declared; drawings are read in inches");
    }
}

bool save_unit_setting() {
    std::string why;
    const char* text = unit_setting.choice == UnitChoice::declared ? "declared" : "inch";
    if (!replace_file(program_file("units.dat"), text, why)) {
        notice("Drawing units were not saved: " + why);
        return false;
    }
    return true;
}
