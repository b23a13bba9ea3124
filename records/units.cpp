#include "records/units.h"

#include <cerrno>
#include <cstdlib>
#include <vector>

#include "platform/files.h"
#include "platform/text.h"
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
    // The choice, then the join tolerance when it is not the default.
    std::vector<std::string> words = split_words(line);
    std::string choice = words.empty() ? line : words[0];
    if (choice == "declared") {
        unit_setting.choice = UnitChoice::declared;
    } else if (choice != "inch" || words.size() > 2) {
        notice("Drawing units file units.dat says \"" + line +
               "\", not inch or declared; drawings are read in inches");
        return;
    }
    if (words.size() == 2) {
        double join = 0.0;
        if (!read_join_tolerance(words[1], join)) {
            notice("Drawing units file units.dat gives the join tolerance as \"" + words[1] +
                   "\", not a number of inches from " + strprintf("%.6f", kLeastJoin) + " to " +
                   strprintf("%g", kMostJoin) + "; ends are joined within " +
                   strprintf("%g", kDefaultJoin) + " in.");
            return;
        }
        unit_setting.join_tolerance = join;
    }
}

bool read_join_tolerance(const std::string& text, double& join) {
    const char* p = text.c_str();
    char* end = nullptr;
    double v = std::strtod(p, &end);
    if (end == p || *end != '\0' || !(v >= kLeastJoin && v <= kMostJoin)) return false;
    join = v;
    return true;
}

bool save_unit_setting() {
    std::string why;
    std::string text = unit_setting.choice == UnitChoice::declared ? "declared" : "inch";
    if (unit_setting.join_tolerance != kDefaultJoin)
        text += strprintf(" %.17g", unit_setting.join_tolerance);
    if (!replace_file(program_file("units.dat"), text, why)) {
        notice("Drawing units were not saved: " + why);
        return false;
    }
    return true;
}
