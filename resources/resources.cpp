#include "resources/resources.h"

#include <array>

namespace {

constexpr MenuItem kSep{nullptr, 0};

constexpr MenuItem kFile[] = {
    {"Open...", IDM_OPEN, "Ctrl+O"}, {"&New from text...", IDM_NEW_TEXT},
    {"Save as R12 DXF...", IDM_SAVE_R12}, kSep,
    // The drawings opened last, labelled as the window opens.
    {"1", IDM_RECENT_FIRST}, {"2", IDM_RECENT_FIRST + 1}, {"3", IDM_RECENT_FIRST + 2},
    {"4", IDM_RECENT_FIRST + 3}, {"5", IDM_RECENT_FIRST + 4}, {"6", IDM_RECENT_FIRST + 5},
    {"7", IDM_RECENT_FIRST + 6}, {"8", IDM_RECENT_LAST}, kSep,
    {"E&xit", IDM_EXIT}};

constexpr MenuItem kTools[] = {
    {"&Run", IDM_RUN},           kSep, {"&Uncalibrated move", IDM_UNCALIBRATED}, kSep,
    {"&Setup", IDM_SETUP},       {"Serial &port...", IDM_SERIAL_PORT}, kSep,
    {"&Move", IDM_MOVE},         {"S&heer", IDM_SHEER},
    {"&100 degree notch", IDM_NOTCH100}, {"&30 degree notch", IDM_NOTCH30},
    {"&Indicate", IDM_INDICATE}, {"&Flanger", IDM_FLANGER},
    // Carrying on after a stop, and reconnecting.
    kSep, {"Resume &job", IDM_RESUME, "F5"}, {"&Connect", IDM_CONNECT},
    // The shop floor: the button's command, with its key.
    kSep, {"Run &Tool", IDM_RUN_TOOL, "Ctrl+R"},
};

constexpr MenuItem kOptions[] = {
    {"&Divide character", IDM_DIVIDE},   kSep, {"&Image Length", IDM_IMAGE_LENGTH}, kSep,
    {"&Segment length on", IDM_SEGMENTS_ON}, {"&Segment length off", IDM_SEGMENTS_OFF},
    {"&Job Length", IDM_JOB_LENGTH},     kSep, {"&Contineous Job", IDM_CONTINUOUS}, kSep,
    {"&Repeat Image Count", IDM_REPEAT}, kSep, {"Change &Tab", IDM_CHANGE_TAB},
    {"Drawing &units", IDM_DRAWING_UNITS}, kSep, {"&View log", IDM_VIEW_LOG},
    {"Job &history", IDM_JOB_HISTORY}, kSep,
    {"&Large display", IDM_LARGE_DISPLAY}, {"Dar&k theme", IDM_DARK_THEME},
};

constexpr MenuItem kImage[] = {
    {"Control Points &On", IDM_CP_ON}, {"&Control Points Off", IDM_CP_OFF}, kSep,
    {"&Select next", IDM_NEXT, "Page Down"}, {"Select pre&vious", IDM_PREVIOUS, "Page Up"}, kSep,
    {"Start Point &Plus", IDM_START_PLUS, "Right"}, kSep,
    {"Start Point &Neg", IDM_START_NEG, "Left"}, kSep, {"&Fit to window", IDM_FIT, "F"},
    {"Zoom &+", IDM_ZOOM_IN, "+"}, {"Zoom &-", IDM_ZOOM_OUT, "-"},
};

constexpr MenuItem kHelp[] = {{"&Manual", IDM_HELP, "F1"}, {"&About", IDM_ABOUT}};

constexpr Shortcut kShortcuts[] = {
    {'O', kControlHeld, IDM_OPEN},     {'R', kControlHeld, IDM_RUN_TOOL},
    {kKeyF5, 0, IDM_RESUME},           {kKeyPageDown, 0, IDM_NEXT},
    {kKeyPageUp, 0, IDM_PREVIOUS},     {kKeyRight, 0, IDM_START_PLUS},
    {kKeyLeft, 0, IDM_START_NEG},      {'F', 0, IDM_FIT},
    {kKeyPlus, 0, IDM_ZOOM_IN},        {kKeyMinus, 0, IDM_ZOOM_OUT},
    {kKeyF1, 0, IDM_HELP},
};

constexpr PopupMenu kMenuBar[] = {
    {"&File", kFile}, {"&Tools", kTools}, {"&Options", kOptions},
    {"&Image", kImage}, {"&Help", kHelp},
};

using W = ButtonDef::When;
constexpr ButtonDef kButtons[] = {
    {"Next", IDM_NEXT, 50, W::always, true, 0, 0},
    {"Rotate Point +", IDM_START_PLUS, 100, W::always, true, 0, 0},
    {"Rotate Point -", IDM_START_NEG, 100, W::always, true, 0, 0},
    {"Load Tool", IDM_LOAD_TOOL, 70, W::model_2, true, 0, 0},
    {"Run Tool", IDM_RUN_TOOL, 70, W::always, true, 0, 0},
    {"Zoom +", IDM_ZOOM_IN, 60, W::always, true, 0, 0},
    {"Zoom -", IDM_ZOOM_OUT, 60, W::always, true, 0, 0},
    {"Previous", IDM_PREVIOUS, 60, W::always, true, 0, 0},
    {"Reset tool", IDM_RESET_TOOL, 100, W::model_4, false, 200, 60},
    {"Cover open", IDM_COVER_OPEN, 100, W::model_4, false, 350, 60},
};

constexpr CommandButton kCommandButtons[] = {
    {"Resume", IDM_RESUME, "Carries on the stopped job with its next command (F5)"},
    {"Connect", IDM_CONNECT, "Opens the serial port and starts the controller again"},
};

using K = ControlKind;
constexpr const char* kDialogFont = "MS Sans Serif";

constexpr ControlDef kRunControls[] = {
    {K::label, -1, "Inches between notches ", 10, 20, 88, 8},
    {K::edit, 212, "", 100, 18, 50, 12},
    {K::label, -1, "Total inches of material", 10, 45, 88, 8},
    {K::edit, 213, "", 100, 43, 50, 12},
    {K::default_button, IDOK, "OK", 20, 100, 50, 14},
    {K::button, IDCANCEL, "Cancel", 91, 100, 50, 14},
};

constexpr ControlDef kMoveControls[] = {
    {K::label, -1, "Enter Distance", 10, 40, 60, 8},
    {K::edit, 208, "", 75, 38, 70, 12},
    {K::default_button, IDOK, "OK", 20, 100, 50, 14},
    {K::button, IDCANCEL, "Cancel", 91, 100, 50, 14},
};

constexpr ControlDef kMeasureControls[] = {
    {K::label, -1, "Enter Distance ", 10, 40, 60, 8},
    {K::edit, 208, "", 75, 38, 70, 12},
    {K::default_button, IDOK, "OK", 20, 100, 50, 14},
    {K::button, IDCANCEL, "Cancel", 91, 100, 50, 14},
};

constexpr ControlDef kLengthControls[] = {
    {K::label, -1, "Total inches of material", 10, 40, 88, 8},
    {K::edit, 222, "", 100, 38, 60, 12},
    {K::label, -1, "inches", 164, 40, 25, 8},
    {K::default_button, IDOK, "OK", 72, 92, 50, 14},
};

constexpr ControlDef kImageCountControls[] = {
    {K::label, -1, "Enter quantity of selected image", 10, 12, 150, 8},
    {K::button, 225, "Up", 20, 35, 40, 14},
    {K::button, 226, "Down", 20, 60, 40, 14},
    {K::edit, 223, "", 80, 48, 50, 12},
    {K::default_button, IDOK, "OK", 40, 92, 50, 14},
    {K::button, IDCANCEL, "Cancel", 104, 92, 50, 14},
};

constexpr ControlDef kTabsControls[] = {
    {K::button, 228, "Leading", 10, 23, 52, 14},
    {K::button, 229, "Trailing", 73, 23, 52, 14},
    {K::button, 230, "Both", 136, 23, 52, 14},
    {K::button, 231, "None", 199, 23, 52, 14},
};

constexpr ControlDef kUnitsControls[] = {
    {K::label, -1, "Ends of pieces that lie within", 10, 10, 110, 8},
    {K::edit, IDC_UNITS_JOIN, "", 122, 8, 50, 12},
    {K::label, -1, "in. join (at most 0.05)", 176, 10, 90, 8},
    {K::label, -1, "Drawings that declare millimetres or centimetres are read:", 10, 32, 230, 8},
    {K::button, IDC_UNITS_INCH, "In inches", 20, 52, 100, 14},
    {K::button, IDC_UNITS_DECLARED, "As declared", 130, 52, 100, 14},
    {K::default_button, IDCANCEL, "Cancel", 100, 78, 50, 14},
};

constexpr ControlDef kAboutControls[] = {
    {K::icon, -1, "", 10, 10, 21, 20},
    {K::centered_label, -1, "ZEL Version 7.0", 0, 30, 154, 8},
    {K::default_button, IDOK, "OK", 52, 52, 50, 14},
};

constexpr ControlDef kLogControls[] = {
    {K::label, -1, "Image count", 2, 10, 110, 8},
    {K::edit, 236, "", 130, 10, 60, 8},
    {K::label, -1, "30 Degree notches", 2, 20, 110, 8},
    {K::edit, 237, "", 130, 20, 60, 8},
    {K::label, -1, "100 Degree notches", 2, 30, 110, 8},
    {K::edit, 238, "", 130, 30, 60, 8},
    {K::label, -1, "Indicates", 2, 40, 110, 8},
    {K::edit, 239, "", 130, 40, 60, 8},
    {K::label, -1, "Sheers", 2, 50, 110, 8},
    {K::edit, 240, "", 130, 50, 60, 8},
    {K::label, -1, "Dimples", 2, 60, 110, 8},
    {K::edit, 242, "", 130, 60, 60, 8},
    {K::label, -1, "Flange bends", 2, 70, 110, 8},
    {K::edit, 243, "", 130, 70, 60, 8},
    {K::label, -1, "Footage of material", 2, 80, 110, 8},
    {K::edit, 241, "", 130, 80, 60, 8},
    {K::default_button, IDOK, "OK", 23, 125, 50, 14},
    {K::button, IDCANCEL, "Cancel", 96, 125, 50, 14},
};

// Two columns of eight settings each.
constexpr ControlDef kSetupControls[] = {
    {K::label, -1, "Steps per inch", 6, 12, 100, 8},
    {K::edit, 206, "", 108, 10, 44, 12},
    {K::label, -1, "Control point filter", 6, 28, 100, 8},
    {K::edit, 205, "", 108, 26, 44, 12},
    {K::label, -1, "Radius notch distance", 6, 44, 100, 8},
    {K::edit, 204, "", 108, 42, 44, 12},
    {K::label, -1, "Distance from bender to sheer", 6, 60, 100, 8},
    {K::edit, 203, "", 108, 58, 44, 12},
    {K::label, -1, "Communications Port", 6, 76, 100, 8},
    {K::edit, 201, "", 108, 74, 44, 12},
    {K::label, -1, "Router bit size", 6, 92, 100, 8},
    {K::edit, 207, "", 108, 90, 44, 12},
    {K::label, -1, "Distance between notchers", 6, 108, 100, 8},
    {K::edit, 227, "", 108, 106, 44, 12},
    {K::label, -1, "X Offset", 6, 124, 100, 8},
    {K::edit, 215, "", 108, 122, 44, 12},
    {K::label, -1, "Y Offset", 164, 12, 100, 8},
    {K::edit, 214, "", 266, 10, 44, 12},
    {K::label, -1, "Home to 30 degree notcher", 164, 28, 100, 8},
    {K::edit, 232, "", 266, 26, 44, 12},
    {K::label, -1, "Distance between photo cells", 164, 44, 100, 8},
    {K::edit, 233, "", 266, 42, 44, 12},
    {K::label, -1, "Bender Output 1=YES 0=NO", 164, 60, 100, 8},
    {K::edit, 234, "", 266, 58, 44, 12},
    {K::label, -1, "Close Figure 1=YES 0=NO", 164, 76, 100, 8},
    {K::edit, 235, "", 266, 74, 44, 12},
    {K::label, -1, "Model", 164, 92, 100, 8},
    {K::edit, 246, "", 266, 90, 44, 12},
    {K::label, -1, "Rewind Distance", 164, 108, 100, 8},
    {K::edit, 247, "", 266, 106, 44, 12},
    {K::label, -1, "Notch/Flange 1=OFF 0=ON", 164, 124, 100, 8},
    {K::edit, 248, "", 266, 122, 44, 12},
    {K::default_button, IDOK, "OK", 99, 148, 50, 14},
    {K::button, IDCANCEL, "Cancel", 168, 148, 50, 14},
};

// The serial devices of the computer, one of which becomes the port COMn.
constexpr ControlDef kSerialPortControls[] = {
    {K::label, -1, "Serial devices of this computer", 6, 6, 100, 8},
    {K::list, 250, "", 6, 16, 308, 72},
    {K::label, 252, "", 6, 92, 308, 8},
    {K::label, -1, "Link as port COM", 6, 108, 62, 8},
    {K::edit, 251, "", 70, 106, 20, 12},
    {K::default_button, IDOK, "OK", 99, 126, 50, 14},
    {K::button, IDCANCEL, "Cancel", 168, 126, 50, 14},
};

constexpr DialogTemplate kDialogs[] = {
    {DLG_RUN, "Run", 161, 127, kDialogFont, 8, kRunControls},
    {DLG_MOVE, "Move", 161, 127, kDialogFont, 8, kMoveControls},
    {DLG_SETUP, "Setup", 316, 170, kDialogFont, 8, kSetupControls},
    {DLG_ABOUT, "", 154, 75, nullptr, 0, kAboutControls},
    {DLG_LENGTH, "Length", 194, 119, kDialogFont, 8, kLengthControls},
    {DLG_IMAGE_COUNT, "Image Count", 194, 119, kDialogFont, 8, kImageCountControls},
    {DLG_LOG, "Log", 194, 139, kDialogFont, 8, kLogControls},
    {DLG_TABS, "Tabs", 260, 60, kDialogFont, 8, kTabsControls},
    {DLG_MEASURE, "Measure", 161, 127, kDialogFont, 8, kMeasureControls},
    {DLG_SERIAL_PORT, "Serial port", 320, 146, kDialogFont, 8, kSerialPortControls},
    {DLG_UNITS, "Drawing units", 270, 100, kDialogFont, 8, kUnitsControls},
};

}  // namespace

std::span<const PopupMenu> menu_bar() { return kMenuBar; }

std::span<const ButtonDef> push_buttons() { return kButtons; }

std::span<const Shortcut> shortcuts() { return kShortcuts; }

int shortcut_command(int key, int held) {
    for (const Shortcut& s : kShortcuts)
        if (s.key == key && s.held == (held & kControlHeld)) return s.id;
    return 0;
}

std::span<const CommandButton> command_buttons() { return kCommandButtons; }

std::span<const DialogTemplate> dialog_templates() { return kDialogs; }

const DialogTemplate* dialog_template(int id) {
    for (const DialogTemplate& d : kDialogs)
        if (d.id == id) return &d;
    return nullptr;
}

// 32 x 32: a channel letter Z, its strip outline in blue on a light plate.
const char* const kIconXpm[] = {
    "32 32 4 1",
    "  c None",
    ". c #F4F4F0",
    "+ c #808080",
    "# c #0000FF",
    "                                ",
    "                                ",
    "  ++++++++++++++++++++++++++++  ",
    "  +..........................+  ",
    "  +..........................+  ",
    "  +..........................+  ",
    "  +...#####################..+  ",
    "  +...#...................#..+  ",
    "  +...#...................#..+  ",
    "  +...#...................#..+  ",
    "  +...###############.....#..+  ",
    "  +...............##....##...+  ",
    "  +...............#.....#....+  ",
    "  +.............##....##.....+  ",
    "  +............##....##......+  ",
    "  +...........#.....#........+  ",
    "  +.........###...###........+  ",
    "  +.........#.....#..........+  ",
    "  +.......##....##...........+  ",
    "  +......##....##............+  ",
    "  +.....#.....#..............+  ",
    "  +....##....##..............+  ",
    "  +...#.....###############..+  ",
    "  +...#...................#..+  ",
    "  +...#...................#..+  ",
    "  +...#...................#..+  ",
    "  +...#####################..+  ",
    "  +..........................+  ",
    "  +..........................+  ",
    "  ++++++++++++++++++++++++++++  ",
    "                                ",
    "                                ",
};
