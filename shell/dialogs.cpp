#include "shell/dialogs.h"

#include <cmath>
#include <vector>

#include "platform/text.h"
#include "records/job.h"
#include "records/notice.h"
#include "records/prodlog.h"
#include "records/settings.h"
#include "records/units.h"
#include "resources/resources.h"
#include "shell/preferences.h"
#include "shell/window.h"
#include "shell/window_state.h"

namespace {

// The largest repeat count Image Count takes.
constexpr int kMostImages = 1000;

// Edit controls are read 28 characters at most (the Log dialog's 27).
constexpr std::size_t kFieldChars = 28;
constexpr std::size_t kLogFieldChars = 27;

std::string field_text(DialogControls& dlg, int id, std::size_t chars = kFieldChars) {
    return dlg.get_text(id).substr(0, chars);
}

// Tells the operator at once which fields are wrong; the dialog stays open.
void tell_wrong(const std::vector<std::string>& faults, const char* outcome) {
    std::string text;
    for (const std::string& f : faults) text += f + ".\n";
    notice(text + outcome);
    show_notices();
}

void show(DialogControls& dlg, int id, float v, const char* format = "%.3f") {
    dlg.set_text(id, strprintf(format, v));
}

void show(DialogControls& dlg, int id, int v) { dlg.set_text(id, strprintf("%d", v)); }

// What each Setup field holds, with its unit, before the range it must lie in.
struct FieldUnit {
    int control;
    const char* what;
};
constexpr FieldUnit kSetupUnits[] = {
    {206, "Controller steps per inch of strip fed"},
    {205, "Shown and kept only; nothing is made from it"},
    {204, "Inches: the largest spacing of the notches along an arc"},
    {203, "Inches from the flange bender to the shear (the shear is 12 in. further)"},
    {201, "The serial port's number, 1 to 4 (COM1 to COM4)"},
    {207, "Inches: the diameter of the notching cutter"},
    {227, "Inches between the 30-degree and the 100-degree notcher"},
    {215, "Pixels from the window's left edge to the drawing's origin"},
    {214, "Pixels from the window's top edge to the drawing's origin"},
    {232, "Inches moved after homing, to the 30-degree notcher"},
    {233, "Inches between the photo cells, for Load Tool's calibration"},
    {234, "1: the flange bender's output is used; 0: it is not"},
    {235, "1: figures the drawing marks closed are closed; 0: they are not"},
    {246, "The controller: 4 a Galil, any other a Slo-Syn model"},
    {247, "Inches rewound at the end of a job"},
    {248, "1: the notchers and the flange bender are off; 0: on"},
};

void show(DialogControls& dlg, const Field<Settings>& f) {
    std::string tip = range_text(f.range);
    tip[0] = 'I';
    for (const FieldUnit& u : kSetupUnits)
        if (u.control == f.control) tip = std::string(u.what) + ". " + tip;
    dlg.set_tip(f.control, tip + ".");
    if (f.real)
        show(dlg, f.control, settings.*f.real);
    else
        show(dlg, f.control, settings.*f.whole);
}

// What the Move or Measure dialog took on OK, for move_dialog to return.
float typed_distance = 0;

// The Move and Measure dialogs differ only in their label.
int distance_dialog(DialogControls& dlg, DialogMessage message, int id) {
    if (message == DialogMessage::init) {
        show(dlg, 208, 48.0f, "%f");
        return 1;
    }
    if (id == IDOK) {
        float inches = 0;
        std::string why =
            read_in_range(field_text(dlg, 208), inches, {Range::nonzero, kTravelLimit});
        if (!why.empty()) {
            tell_wrong({"Distance " + why}, "Nothing was sent to the machine.");
            return 1;
        }
        typed_distance = inches;
        dlg.end_dialog(1);
    } else if (id == IDCANCEL) {
        dlg.end_dialog(0);
    }
    return 1;
}

}  // namespace

int Setup(DialogControls& dlg, DialogMessage message, int id) {
    if (message == DialogMessage::init) {
        get_setup();
        for (const auto& f : setting_fields())
            if (f.control) show(dlg, f);
        return 1;
    }
    if (id == IDOK) {
        Settings edited = settings;
        std::vector<std::string> faults;
        for (const auto& f : setting_fields()) {
            std::string why = f.control ? take(f, field_text(dlg, f.control), edited) : "";
            if (!why.empty()) faults.push_back(why);
        }
        if (!faults.empty()) {
            tell_wrong(faults, "Nothing was saved.");
            return 1;
        }
        Settings before = settings;
        settings = edited;
        bool saved = save_setup(SetupFields::all);
        if (!saved) settings = before;  // the operator has been told; nothing changed
        dlg.end_dialog(saved ? 1 : 0);
    } else if (id == IDCANCEL) {
        dlg.end_dialog(0);
    }
    return 1;
}

int Run(DialogControls& dlg, DialogMessage message, int id) {
    if (message == DialogMessage::init) {
        show(dlg, 212, 0.75f);
        show(dlg, 213, 120.0f);
        return 1;
    }
    if (id == IDOK) {
        float step = 0, total = 0;
        std::vector<std::string> faults;
        const Range inches{Range::positive, kTravelLimit};
        std::string why = read_in_range(field_text(dlg, 212), step, inches);
        if (!why.empty()) faults.push_back("Inches between notches " + why);
        why = read_in_range(field_text(dlg, 213), total, inches);
        if (!why.empty()) faults.push_back("Total inches of material " + why);
        if (faults.empty() && step > total)
            faults.push_back(strprintf("Inches between notches (%.3f) must not be more than the "
                                       "total inches of material (%.3f)",
                                       step, total));
        if (!faults.empty()) {
            tell_wrong(faults, "Nothing was sent to the machine.");
            return 1;
        }
        job.notch_length = step;
        job.total_length = total;
        dlg.end_dialog(1);
    } else if (id == IDCANCEL) {
        dlg.end_dialog(0);
    }
    return 1;
}

std::optional<float> move_dialog(bool calibrated) {
    if (window_system().dialog_box(calibrated ? DLG_MOVE : DLG_MEASURE,
                                   calibrated ? Calibrate : Measure) != 1)
        return std::nullopt;
    return typed_distance;
}

int Calibrate(DialogControls& dlg, DialogMessage message, int id) {
    return distance_dialog(dlg, message, id);
}

int Measure(DialogControls& dlg, DialogMessage message, int id) {
    return distance_dialog(dlg, message, id);
}

int Length(DialogControls& dlg, DialogMessage message, int id) {
    if (message == DialogMessage::init) {
        show(dlg, 222, win.material_length);
        return 1;
    }
    if (id == IDOK || id == IDCANCEL) dlg.end_dialog(1);
    return 1;
}

int Icount(DialogControls& dlg, DialogMessage message, int id) {
    static int before = 1;  // what Cancel leaves
    if (message == DialogMessage::init) {
        before = job.repeat_count;
        job.repeat_count = 1;
        dlg.set_text(223, "1");
        return 1;
    }
    switch (id) {
    case IDOK: {
        int32_t count = 0;
        std::string why =
            read_in_range(field_text(dlg, 223), count, {Range::positive, kMostImages});
        if (!why.empty()) {
            std::string stays = "The quantity stays " + std::to_string(job.repeat_count) + ".";
            tell_wrong({"The quantity " + why}, stays.c_str());
            break;
        }
        job.repeat_count = count;
        dlg.end_dialog(1);
        break;
    }
    case IDCANCEL:
        job.repeat_count = before;
        dlg.end_dialog(0);
        break;
    case 225:
        ++job.repeat_count;
        show(dlg, 223, job.repeat_count);
        break;
    case 226:
        if (job.repeat_count > 1) --job.repeat_count;
        show(dlg, 223, job.repeat_count);
        break;
    }
    return 1;
}

int Tabs(DialogControls& dlg, DialogMessage message, int id) {
    if (message == DialogMessage::init) return 1;
    switch (id) {
    case 228: settings.tab = 1; break;
    case 229: settings.tab = 2; break;
    case 230: settings.tab = 3; break;
    case 231: settings.tab = 0; break;
    }
    dlg.end_dialog(1);
    return 1;
}

int About(DialogControls& dlg, DialogMessage message, int id) {
    if (message == DialogMessage::command && id == IDOK) dlg.end_dialog(1);
    return 1;
}

int Log(DialogControls& dlg, DialogMessage message, int id) {
    const auto& fields = counter_fields();
    if (message == DialogMessage::init) {
        for (const auto& f : fields)
            dlg.set_text(f.control, f.whole ? strprintf("%14d", counters.*f.whole)
                                            : strprintf("%.3f", counters.*f.real / 12.0));
        return 1;
    }
    if (id == IDOK) {
        Counters edited = counters;
        std::vector<std::string> faults;
        for (const auto& f : fields) {
            std::string why = take(f, field_text(dlg, f.control, kLogFieldChars), edited);
            if (!why.empty()) faults.push_back(why);
        }
        // The footage is typed in feet.
        float inches = static_cast<float>(edited.inches * 12.0);
        if (faults.empty() && !std::isfinite(inches))
            faults.push_back("Footage of material is too large");
        if (!faults.empty()) {
            tell_wrong(faults, "Nothing was changed.");
            return 1;
        }
        edited.inches = inches;
        counters = edited;
        write_log();
        dlg.end_dialog(1);
    } else if (id == IDCANCEL) {
        dlg.end_dialog(1);
    }
    return 1;
}

int Units(DialogControls& dlg, DialogMessage message, int id) {
    if (message == DialogMessage::init) {
        bool inch = unit_setting.choice == UnitChoice::inch;
        dlg.set_text(inch ? IDC_UNITS_INCH : IDC_UNITS_DECLARED,
                     inch ? "In inches (in use)" : "As declared (in use)");
        dlg.set_text(IDC_UNITS_JOIN, strprintf("%g", unit_setting.join_tolerance));
        return 1;
    }
    if (id == IDC_UNITS_INCH || id == IDC_UNITS_DECLARED) {
        std::string typed = field_text(dlg, IDC_UNITS_JOIN);
        std::vector<std::string> words = split_words(typed);
        double join = 0.0;
        if (words.size() != 1 || !read_join_tolerance(words[0], join)) {
            tell_wrong({strprintf("Join ends within \"%s\" is not a number of inches from %.6f "
                                  "to %g",
                                  typed.c_str(), kLeastJoin, kMostJoin)},
                       "Nothing was saved.");
            return 1;
        }
        unit_setting.choice = id == IDC_UNITS_INCH ? UnitChoice::inch : UnitChoice::declared;
        unit_setting.join_tolerance = join;
        save_unit_setting();
        dlg.end_dialog(1);
    } else if (id == IDCANCEL) {
        dlg.end_dialog(0);
    }
    return 1;
}

std::optional<std::string> DxfFileOpen(const std::string& last) {
    WindowSystem& ws = window_system();
    // The first time, the folder of the drawing opened last.
    std::string path = last.empty() ? last_drawing_folder() : last;
    long error = 0;
    if (ws.get_open_file_name(path, error)) {
        ws.invalidate();
        return path;
    }
    if (error != 0)
        ws.message_box(strprintf("The Open dialog could not be shown (error %ld).", error),
                       "Open drawing", MessageIcon::error);
    return std::nullopt;
}
