#pragma once
#include <span>

#include "platform/window_system.h"

// The main window's resources as data: the menu bar, the push buttons and the
// dialog templates. The window-system layer builds the real widgets from them.

// Command ids of the main window.
enum CommandId {
    IDM_OPEN = 11, IDM_EXIT = 13, IDM_RUN_TOOL = 14, IDM_RUN = 15, IDM_MOVE = 16,
    IDM_SETUP = 17, IDM_START_NEG = 18, IDM_START_PLUS = 19, IDM_NEXT = 20, IDM_ABOUT = 22,
    IDM_DIVIDE = 23, IDM_REPEAT = 25, IDM_CONTINUOUS = 26, IDM_IMAGE_LENGTH = 27,
    IDM_JOB_LENGTH = 28, IDM_CHANGE_TAB = 29, IDM_LOAD_TOOL = 30, IDM_SHEER = 31,
    IDM_NOTCH100 = 32, IDM_NOTCH30 = 33, IDM_INDICATE = 34, IDM_FLANGER = 35,
    IDM_VIEW_LOG = 36, IDM_CP_ON = 37, IDM_CP_OFF = 38, IDM_ZOOM_OUT = 39, IDM_ZOOM_IN = 40,
    IDM_UNCALIBRATED = 41, IDM_COVER_OPEN = 43, IDM_RESET_TOOL = 44, IDM_SEGMENTS_ON = 60,
    IDM_SEGMENTS_OFF = 61, IDM_JOB_HISTORY = 62, IDM_STOP = 63, IDM_DRAWING_UNITS = 64,
    IDM_FIT = 65, IDM_SERIAL_PORT = 66, IDM_SAVE_R12 = 67,
    // Carrying on after a stop, and reconnecting.
    IDM_RESUME = 70, IDM_CONNECT = 71,
    // The shop floor: the previous figure, the view, help, the recent drawings (90 to 97).
    IDM_PREVIOUS = 80, IDM_LARGE_DISPLAY = 81, IDM_DARK_THEME = 82, IDM_HELP = 83,
    IDM_RECENT_FIRST = 90, IDM_RECENT_LAST = 97,
    // Letters from text.
    IDM_NEW_TEXT = 100,
};

// Dialog button ids.
inline constexpr int IDOK = 1;
inline constexpr int IDCANCEL = 2;

struct MenuItem {
    const char* label;  // with its mnemonic ampersand; nullptr for a separator
    int id;
    const char* keys = nullptr;  // the shortcut shown beside it ("Ctrl+O"), if any
};

// A key that gives a command, as the menus show it: `key` with `held` (the
// key_down message's code and modifiers).
struct Shortcut {
    int key;
    int held;
    int id;
};

std::span<const Shortcut> shortcuts();

// The command of a key, or 0.
int shortcut_command(int key, int held);

struct PopupMenu {
    const char* label;
    std::span<const MenuItem> items;
};

std::span<const PopupMenu> menu_bar();

// A push button of the main window. Row buttons are laid out left to right;
// the others stand at a fixed place.
struct ButtonDef {
    const char* label;
    int id;
    int width;
    enum class When { always, model_2, model_4 } when;
    bool in_row;
    int x, y;  // for buttons outside the row
};

inline constexpr int kButtonHeight = 40;
inline constexpr int kButtonRowX = 5;
inline constexpr int kButtonRowY = 5;
inline constexpr int kButtonGap = 15;

std::span<const ButtonDef> push_buttons();

// Buttons of the status line beside Stop, each shown only while its command
// can be used.
struct CommandButton {
    const char* label;
    int id;
    const char* tip;
};

std::span<const CommandButton> command_buttons();

// Dialog templates, in dialog units.
enum DialogId {
    DLG_RUN = 4, DLG_MOVE = 5, DLG_SETUP = 6, DLG_ABOUT = 8, DLG_LENGTH = 10,
    DLG_IMAGE_COUNT = 11, DLG_LOG = 12, DLG_TABS = 30, DLG_MEASURE = 40, DLG_UNITS = 41,
    DLG_SERIAL_PORT = 42,
};

// The buttons of the Drawing units dialog.
inline constexpr int IDC_UNITS_INCH = 250;
inline constexpr int IDC_UNITS_DECLARED = 251;
// Its edit field of the join tolerance, in inches.
inline constexpr int IDC_UNITS_JOIN = 252;

// A list shows lines of text, one of which the operator picks.
enum class ControlKind { label, centered_label, edit, button, default_button, icon, list };

struct ControlDef {
    ControlKind kind;
    int id;            // -1 for static text and the icon
    const char* text;
    int x, y, w, h;
};

struct DialogTemplate {
    int id;
    const char* title;  // empty: no caption text
    int w, h;
    const char* font;   // nullptr: the system font
    int font_points;
    std::span<const ControlDef> controls;
};

// The template with this id, or nullptr.
const DialogTemplate* dialog_template(int id);
std::span<const DialogTemplate> dialog_templates();

// The program icon, 32 x 32, in XPM form.
extern const char* const kIconXpm[];
