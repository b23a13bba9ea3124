// The dialogs of the resources as the Win32 layer makes them: every control
// of every template where the template puts it, and the procedure driven by
// the buttons, Esc and a double click in a list.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "resources/resources.h"
#include "windows/dialog.h"

#include <commctrl.h>

namespace {

const DialogTemplate* checked = nullptr;
std::vector<std::string> failures;

std::string class_of(HWND w) {
    wchar_t name[32] = L"";
    ::GetClassNameW(w, name, 32);
    return narrow(name);
}

const char* class_for(ControlKind kind) {
    switch (kind) {
    case ControlKind::edit: return "Edit";
    case ControlKind::button:
    case ControlKind::default_button: return "Button";
    case ControlKind::list: return "ListBox";
    default: return "Static";
    }
}

// Compares each control with its template entry, then ends the dialog.
int check_layout(DialogControls& controls, DialogMessage message, int) {
    if (message != DialogMessage::init) return 0;
    HWND dialog = dynamic_cast<Win32DialogControls&>(controls).window();
    std::vector<HWND> children;
    for (HWND c = ::GetWindow(dialog, GW_CHILD); c; c = ::GetWindow(c, GW_HWNDNEXT))
        children.push_back(c);
    if (children.size() != checked->controls.size()) failures.push_back("control count");
    for (std::size_t k = 0; k < children.size() && k < checked->controls.size(); ++k) {
        const ControlDef& c = checked->controls[k];
        std::string where = std::string(checked->title) + " control " + std::to_string(k);
        HWND w = children[k];
        // The system turns the place and the size into pixels each on its own.
        RECT want{c.x, c.y, c.w, c.h}, got{};
        ::MapDialogRect(dialog, &want);
        want.right += want.left;
        want.bottom += want.top;
        ::GetWindowRect(w, &got);
        ::MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&got), 2);
        if (class_of(w) != class_for(c.kind)) failures.push_back(where + " class " + class_of(w));
        if (c.id >= 0 && ::GetDlgCtrlID(w) != c.id) failures.push_back(where + " id");
        if (got.left != want.left || got.top != want.top) failures.push_back(where + " place");
        if (c.kind != ControlKind::icon && (got.right != want.right || got.bottom != want.bottom))
            failures.push_back(where + " size");
        bool is_default = (::GetWindowLongW(w, GWL_STYLE) & 0x0f) == BS_DEFPUSHBUTTON;
        if (c.kind == ControlKind::button || c.kind == ControlKind::default_button)
            if (is_default != (c.kind == ControlKind::default_button)) failures.push_back(where + " default");
        if (c.kind != ControlKind::edit && c.kind != ControlKind::list && c.kind != ControlKind::icon &&
            c.id >= 0 && controls.get_text(c.id) != c.text)
            failures.push_back(where + " text " + controls.get_text(c.id));
    }
    wchar_t title[64] = L"";
    ::GetWindowTextW(dialog, title, 64);
    if (narrow(title) != checked->title) failures.push_back(std::string("title ") + narrow(title));
    controls.end_dialog(42);
    return 1;
}

TEST(Win32Dialogs, EveryControlOfEveryTemplateStandsWhereItsTemplatePutsIt) {
    for (const DialogTemplate& t : dialog_templates()) {
        checked = &t;
        failures.clear();
        EXPECT_EQ(run_template_dialog(nullptr, t, check_layout), 42) << t.title;
        for (const std::string& f : failures) ADD_FAILURE() << t.id << ": " << f;
    }
}

// A procedure that presses `press` (posted as the system posts a click) and
// writes down what it was told.
std::vector<int> told;
WPARAM press;
int record(DialogControls& controls, DialogMessage message, int id) {
    if (message == DialogMessage::init) {
        HWND dialog = dynamic_cast<Win32DialogControls&>(controls).window();
        controls.set_text(250, "COM1  first\nCOM7  USB Serial Port (COM7)");
        ::PostMessageW(dialog, WM_COMMAND, press,
                       reinterpret_cast<LPARAM>(::GetDlgItem(dialog, LOWORD(press))));
        return 1;
    }
    told.push_back(id);
    controls.end_dialog(id == IDOK ? 10 + id : id);
    return 1;
}

TEST(Win32Dialogs, ButtonsEscAndADoubleClickInTheListReachTheProcedure) {
    const DialogTemplate& serial = *dialog_template(DLG_SERIAL_PORT);
    struct Case {
        WPARAM press;
        int result;
        std::vector<int> told;
    } cases[] = {
        {MAKEWPARAM(IDOK, BN_CLICKED), 11, {IDOK}},
        {MAKEWPARAM(IDCANCEL, BN_CLICKED), IDCANCEL, {IDCANCEL}},  // Esc and the close box
        {MAKEWPARAM(250, LBN_DBLCLK), 11, {IDOK}},                 // a double click picks
    };
    for (const Case& c : cases) {
        told.clear();
        press = c.press;
        EXPECT_EQ(run_template_dialog(nullptr, serial, record), c.result) << LOWORD(c.press);
        EXPECT_EQ(told, c.told);
    }
}

int list_pick(DialogControls& controls, DialogMessage message, int) {
    if (message != DialogMessage::init) return 0;
    controls.set_text(250, "COM1  first\nCOM7  USB Serial Port (COM7)");
    told.push_back(controls.get_text(250) == "COM1  first" ? 1 : 0);
    HWND dialog = dynamic_cast<Win32DialogControls&>(controls).window();
    ::SendMessageW(::GetDlgItem(dialog, 250), LB_SETCURSEL, 1, 0);
    told.push_back(controls.get_text(250) == "COM7  USB Serial Port (COM7)" ? 1 : 0);
    controls.set_text(250, "");
    told.push_back(controls.get_text(250).empty() ? 1 : 0);
    controls.set_text(251, "Ünïcode 7");
    told.push_back(controls.get_text(251) == "Ünïcode 7" ? 1 : 0);
    controls.end_dialog(0);
    return 1;
}

TEST(Win32Dialogs, AListTakesItsLinesAsOneTextAndGivesThePickedOne) {
    told.clear();
    run_template_dialog(nullptr, *dialog_template(DLG_SERIAL_PORT), list_pick);
    EXPECT_EQ(told, (std::vector<int>{1, 1, 1, 1}));
}

// A field's tip (Setup's say the unit and the range), set again, replaces the first.
int tip_of_251(DialogControls& controls, DialogMessage message, int) {
    if (message != DialogMessage::init) return 0;
    controls.set_tip(251, "Inches");
    controls.set_tip(251, "Inches, 0 to 12");
    HWND dialog = dynamic_cast<Win32DialogControls&>(controls).window();
    HWND tips = ::FindWindowW(TOOLTIPS_CLASSW, nullptr);
    while (tips && ::GetWindow(tips, GW_OWNER) != dialog)
        tips = ::FindWindowExW(nullptr, tips, TOOLTIPS_CLASSW, nullptr);
    told.push_back(static_cast<int>(::SendMessageW(tips, TTM_GETTOOLCOUNT, 0, 0)));
    wchar_t text[80] = L"";
    TOOLINFOW tool{};
    tool.cbSize = sizeof tool;
    tool.hwnd = dialog;
    tool.uId = reinterpret_cast<UINT_PTR>(::GetDlgItem(dialog, 251));
    tool.lpszText = text;
    ::SendMessageW(tips, TTM_GETTEXTW, 80, reinterpret_cast<LPARAM>(&tool));
    told.push_back(std::wstring(text) == L"Inches, 0 to 12" ? 1 : 0);
    controls.end_dialog(0);
    return 1;
}

TEST(Win32Dialogs, AFieldsTipIsShownByTheDialogsTooltip) {
    told.clear();
    run_template_dialog(nullptr, *dialog_template(DLG_SERIAL_PORT), tip_of_251);
    EXPECT_EQ(told, (std::vector<int>{1, 1}));
}

TEST(Win32Dialogs, TheTemplateIsTheOneAResourceCompilerWrites) {
    // Run (161 x 127, "MS Sans Serif" 8): the header, then the first control.
    std::vector<uint16_t> w = dialog_template_words(*dialog_template(DLG_RUN));
    DWORD style = w[0] | (static_cast<DWORD>(w[1]) << 16);
    EXPECT_EQ(style & (DS_SETFONT | DS_MODALFRAME | WS_CAPTION | WS_POPUP),
              DWORD{DS_SETFONT | DS_MODALFRAME | WS_CAPTION | WS_POPUP});
    EXPECT_EQ(w[4], 6);  // controls
    EXPECT_EQ((std::vector<uint16_t>{w[5], w[6], w[7], w[8]}), (std::vector<uint16_t>{0, 0, 161, 127}));
    // No menu, the dialog class, "Run", 8 points, "MS Sans Serif".
    std::vector<uint16_t> head(w.begin() + 9, w.begin() + 9 + 2 + 4 + 1 + 14);
    std::vector<uint16_t> want{0, 0, 'R', 'u', 'n', 0, 8};
    for (char ch : std::string("MS Sans Serif")) want.push_back(static_cast<uint16_t>(ch));
    want.push_back(0);
    EXPECT_EQ(head, want);
    // The About box has no caption at all.
    std::vector<uint16_t> about = dialog_template_words(*dialog_template(DLG_ABOUT));
    EXPECT_EQ((about[0] | (static_cast<DWORD>(about[1]) << 16)) & WS_CAPTION, 0u);
}

}  // namespace
