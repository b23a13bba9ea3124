#include "shell/dialogs.h"

#include "platform/text.h"
#include "records/job.h"
#include "records/prodlog.h"
#include "records/settings.h"
#include "records/units.h"
#include "resources/resources.h"
#include "shell/window_state.h"

namespace {

// Edit controls are read 28 characters at most (the Log dialog's 27).
constexpr std::size_t kFieldChars = 28;
constexpr std::size_t kLogFieldChars = 27;

template <typename T>
void read_field(DialogControls& dlg, int id, T& value, std::size_t chars = kFieldChars) {
    scan_one(dlg.get_text(id).substr(0, chars), value);
}

void show(DialogControls& dlg, int id, float v, const char* format = "%.3f") {
    dlg.set_text(id, strprintf(format, v));
}

void show(DialogControls& dlg, int id, int v) { dlg.set_text(id, strprintf("%d", v)); }

// The sixteen settings the Setup dialog shows, by control id.
template <typename F>
void each_setup_field(F&& f) {
    Settings& s = settings;
    f(206, s.steps), f(205, s.min_notch), f(204, s.arc_notch), f(203, s.cutter);
    f(201, s.port), f(207, s.bit), f(227, s.nd), f(215, s.XOFFSET), f(214, s.YOFFSET);
    f(232, s.home), f(233, s.unload), f(234, s.bend_output), f(235, s.closed_figure);
    f(246, s.model), f(247, s.rw), f(248, s.operate);
}

// The Move and Measure dialogs differ only in their label.
int distance_dialog(DialogControls& dlg, DialogMessage message, int id) {
    if (message == DialogMessage::init) {
        show(dlg, 208, 48.0f, "%f");
        win.mark = 0;
        return 1;
    }
    if (id == IDOK) {
        win.mark = 1;
        read_field(dlg, 208, job.total_length);
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
        each_setup_field([&](int control, auto& v) { show(dlg, control, v); });
        return 1;
    }
    if (id == IDOK) {
        win.cancel = 0;
        each_setup_field([&](int control, auto& v) { read_field(dlg, control, v); });
        save_setup(SetupFields::all);
        dlg.end_dialog(1);
    } else if (id == IDCANCEL) {
        win.cancel = 1;
        dlg.end_dialog(0);
    }
    return 1;
}

int Run(DialogControls& dlg, DialogMessage message, int id) {
    if (message == DialogMessage::init) {
        show(dlg, 212, 0.75f);
        show(dlg, 213, 120.0f);
        win.mark = 0;
        return 1;
    }
    if (id == IDOK) {
        win.mark = 1;
        read_field(dlg, 212, job.notch_length);
        read_field(dlg, 213, job.total_length);
        dlg.end_dialog(1);
    } else if (id == IDCANCEL) {
        dlg.end_dialog(0);
    }
    return 1;
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
    if (message == DialogMessage::init) {
        job.repeat_count = 1;
        dlg.set_text(223, "1");
        return 1;
    }
    switch (id) {
    case IDOK:
        read_field(dlg, 223, job.repeat_count);
        dlg.end_dialog(1);
        break;
    case IDCANCEL: dlg.end_dialog(0); break;
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
    Counters& c = counters;
    int32_t* const fields[] = {&c.images, &c.notch30,  &c.notch100, &c.indicates,
                               &c.sheers, &c.dimples, &c.flanges};
    const int ids[] = {236, 237, 238, 239, 240, 242, 243};
    if (message == DialogMessage::init) {
        for (int k = 0; k < 7; ++k) dlg.set_text(ids[k], strprintf("%14d", *fields[k]));
        dlg.set_text(241, strprintf("%.3f", c.inches / 12.0));
        return 1;
    }
    if (id == IDOK) {
        for (int k = 0; k < 7; ++k) read_field(dlg, ids[k], *fields[k], kLogFieldChars);
        float feet = 0;
        if (scan_one(dlg.get_text(241).substr(0, kLogFieldChars), feet))
            c.inches = static_cast<float>(feet * 12.0);
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
        return 1;
    }
    if (id == IDC_UNITS_INCH || id == IDC_UNITS_DECLARED) {
        unit_setting.choice = id == IDC_UNITS_INCH ? UnitChoice::inch : UnitChoice::declared;
        save_unit_setting();
        dlg.end_dialog(1);
    } else if (id == IDCANCEL) {
        dlg.end_dialog(0);
    }
    return 1;
}

int DxfFileOpen() {
    WindowSystem& ws = window_system();
    std::string path = win.szName;
    long error = 0;
    if (ws.get_open_file_name(path, error)) {
        win.szName = path;
        ws.invalidate();
        return 0;
    }
    if (error != 0)
        ws.message_box(strprintf("GetOpenFileName returned Error #%ld", error), "WARNING",
                       MessageIcon::error);
    return -1;
}
