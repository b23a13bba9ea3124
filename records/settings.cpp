#include "records/settings.h"

#include <vector>

#include "platform/files.h"
#include "platform/text.h"
#include "records/notice.h"
#include "records/progdir.h"

Settings settings;

namespace {
// What setup.dat held in each field the last reading refused.
std::array<std::string, 18> refused_words;
}  // namespace

void reset_settings() {
    settings = Settings{};
    refused_words = {};
}

std::string format_setup(SetupFields fields) {
    const Settings& s = settings;
    std::string line = strprintf(
        "%f %f %f %f %d %d %f %f %d %d %d %f %f %d %d %d %f", s.steps, s.min_notch,
        s.arc_notch, s.cutter, s.direction, s.port, s.bit, s.nd, s.XOFFSET, s.YOFFSET,
        s.tab, s.home, s.unload, s.bend_output, s.closed_figure, s.model, s.rw);
    if (fields == SetupFields::all) line += strprintf(" %d", s.operate);
    return line;
}

const std::array<Field<Settings>, 18>& setting_fields() {
    using S = Settings;
    using R = Range;
    // The largest values are those of the machines this program drives: a
    // strip-forming machine a few feet long, fed by a motor of at most some
    // thousands of steps per inch.
    static const std::array<Field<Settings>, 18> fields{{
        {"Steps per inch", 206, &S::steps, nullptr, {R::positive, 100000}},
        {"Control point filter", 205, &S::min_notch, nullptr, {R::not_negative, 12}},
        {"Radius notch distance", 204, &S::arc_notch, nullptr, {R::not_negative, 12}},
        {"Distance from bender to sheer", 203, &S::cutter, nullptr, {R::not_negative, 120}},
        {"Forming direction", 0, nullptr, &S::direction, R::any},
        {"Communications Port", 201, nullptr, &S::port, R::port},
        {"Router bit size", 207, &S::bit, nullptr, {R::not_negative, 1}},
        {"Distance between notchers", 227, &S::nd, nullptr, {R::not_negative, 48}},
        {"X Offset", 215, nullptr, &S::XOFFSET, R::pixels},
        {"Y Offset", 214, nullptr, &S::YOFFSET, R::pixels},
        {"Tabs", 0, nullptr, &S::tab, R::tab},
        {"Home to 30 degree notcher", 232, &S::home, nullptr, {R::not_negative, 120}},
        {"Distance between photo cells", 233, &S::unload, nullptr, {R::not_negative, 120}},
        {"Bender Output 1=YES 0=NO", 234, nullptr, &S::bend_output, R::yes_no},
        {"Close Figure 1=YES 0=NO", 235, nullptr, &S::closed_figure, R::yes_no},
        {"Model", 246, nullptr, &S::model, R::any},
        {"Rewind Distance", 247, &S::rw, nullptr, {R::not_negative, 120}},
        {"Notch/Flange 1=OFF 0=ON", 248, nullptr, &S::operate, R::yes_no},
    }};
    return fields;
}

namespace {

bool is_used(const Field<Settings>& f, std::initializer_list<SettingRef> used) {
    for (const SettingRef& r : used)
        if ((r.real && r.real == f.real) || (r.whole && r.whole == f.whole)) return true;
    return false;
}

struct SetupFaults {
    std::string text;  // every fault, in field order
    int count = 0;
    bool used = false;  // one of them is of a field in use, or fields are missing
};

SetupFaults scan(const char* line, const std::initializer_list<SettingRef>* used) {
    refused_words = {};
    std::vector<std::string> words = split_words(line);
    const auto& fields = setting_fields();
    SetupFaults faults;
    for (std::size_t k = 0; k < fields.size() && k < words.size(); ++k) {
        std::string why = take(fields[k], words[k], settings);
        if (why.empty()) continue;
        refused_words[k] = words[k];
        add_fault(faults.text, "field " + std::to_string(k + 1) + ", " + why);
        ++faults.count;
        faults.used = faults.used || !used || is_used(fields[k], *used);
    }
    if (words.size() < fields.size() - 1) {
        add_fault(faults.text, strprintf("it holds %zu of the 18 fields", words.size()));
        faults.used = true;
    }
    return faults;
}

bool read_setup(const std::initializer_list<SettingRef>* used) {
    std::string path = program_file("setup.dat");
    remove_interrupted_saves(path);
    std::string line, why;
    // The line buffer holds 127 characters and the terminator.
    if (!read_first_line(path, 127, line, why)) {
        refused_words = {};
        notice("Settings file setup.dat in " + directory + " could not be read (" + why +
               "); all settings are zero until they are entered in Tools, Setup");
        return false;
    }
    SetupFaults faults = scan(line.c_str(), used);
    if (faults.text.empty()) return true;
    std::string told = "Settings file setup.dat in " + directory + ": " + faults.text;
    if (faults.used) {
        notice(told + ". The settings that are wrong or missing keep their values (0 at start); "
                      "correct them in Tools, Setup");
        return false;
    }
    notice(told + (faults.count == 1 ? ". It plays no part here; correct it"
                                     : ". They play no part here; correct them") +
           " in Tools, Setup");
    return true;
}

}  // namespace

std::string scan_setup(const char* line) { return scan(line, nullptr).text; }

bool get_setup() { return read_setup(nullptr); }

bool get_setup(std::initializer_list<SettingRef> used) { return read_setup(&used); }

std::string refused_setting(int32_t Settings::*member) {
    const auto& fields = setting_fields();
    for (std::size_t k = 0; k < fields.size(); ++k)
        if (fields[k].whole == member) return refused_words[k];
    return "";
}

std::string setting_fault() {
    for (const auto& f : setting_fields()) {
        std::string why = range_fault(f, settings);
        if (!why.empty()) return why;
    }
    return "";
}

bool save_setup(SetupFields fields) {
    std::string why = setting_fault();
    if (!why.empty()) {
        notice("Settings were not saved: " + why + ". Correct it in Tools, Setup");
        return false;
    }
    if (!replace_file(program_file("setup.dat"), format_setup(fields), why)) {
        notice("Settings were not saved: " + why);
        return false;
    }
    return true;
}
