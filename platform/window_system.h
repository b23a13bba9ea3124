#pragma once
#include <string>
#include <utility>
#include <vector>

// The window system as the shell sees it: the main window's paint primitives,
// modal dialogs whose controls are read and written by id, the open-file
// dialog, message boxes and the text viewer. The Qt layer implements it; the
// tests use a recording canvas and scripted dialogs.

struct Rgb {
    int r, g, b;
    bool operator==(const Rgb&) const = default;
};

inline constexpr Rgb kBlack{0, 0, 0};
inline constexpr Rgb kBlue{0, 0, 255};
inline constexpr Rgb kRed{255, 0, 0};
inline constexpr Rgb kGreen{0, 160, 0};

// The main window's font: fixed pitch, 14 pixels high and 9 wide.
inline constexpr const char* kFontFace = "System";
inline constexpr int kFontHeight = 14;
inline constexpr int kFontWidth = 9;

// Painting the main window's client area, which has been erased to white.
// Text is drawn in the window's fixed-pitch font, black on white.
class Canvas {
public:
    virtual ~Canvas() = default;
    virtual void select_pen(Rgb colour) = 0;  // a solid pen one pixel wide
    virtual void move_to(int x, int y) = 0;
    virtual void line_to(int x, int y) = 0;
    // Outlined with the current pen, filled white.
    virtual void rectangle(int left, int top, int right, int bottom) = 0;
    virtual void text(int x, int y, const std::string& s) = 0;
    // The circular arc from (x0, y0) through (mx, my) to (x, y), left at its
    // end as line_to leaves a line; by default as short lines (arc_points).
    virtual void arc_to(int x0, int y0, int mx, int my, int x, int y);
};

struct PixelPoint {
    int x, y;
    bool operator==(const PixelPoint&) const = default;
};

// The arc from (x0, y0) through (mx, my) to (x, y) as the ends of short
// lines of about four pixels, the last one (x, y). Three points on a line,
// or so close that no curve would show, give the middle point and the end.
std::vector<PixelPoint> arc_points(int x0, int y0, int mx, int my, int x, int y);

// An open modal dialog, as its procedure sees it. Edit fields, buttons and
// labels with an id hold one text. A list is given its lines as one text,
// separated by '\n', and get_text gives the line the operator picked (empty
// when none).
class DialogControls {
public:
    virtual ~DialogControls() = default;
    virtual std::string get_text(int id) = 0;
    virtual void set_text(int id, const std::string& text) = 0;
    // The text shown while the pointer rests on the control (none by default).
    virtual void set_tip(int id, const std::string& text) {
        (void)id;
        (void)text;
    }
    virtual void end_dialog(int result) = 0;
};

enum class DialogMessage { init, command };

// A dialog procedure: gets the initialise message, then one command message
// per button pressed, until it ends the dialog. Returns 1 when it handled the
// message.
using DialogProc = int (*)(DialogControls& dialog, DialogMessage message, int id);

enum class MessageIcon { error, warning, information };

// What the main window tells its window procedure: every message the window
// receives, from its creation to its end.
enum class WindowMessage {
    create,             // the window is being created: connect, load, make the buttons
    command,            // a menu item or push button, by its command id
    left_button_up,     // the left mouse button released at (x, y) in window pixels
    paint,              // paint the client area on `canvas`
    close,              // the close box, or File Exit
    destroy,            // the window has gone: end the message loop
    query_end_session,  // the desktop session is ending
    left_button_down,    // the left mouse button pressed at (x, y)
    middle_button_down,  // the middle mouse button pressed at (x, y)
    middle_button_up,    // the middle mouse button released at (x, y)
    mouse_move,          // the mouse moved to (x, y) with a button held
    mouse_wheel,         // the wheel turned by `delta` with the mouse at (x, y)
    key_down,            // the key `id` pressed (kKey... codes)
    scroll,              // the operator moved scroll bar `id` to position x
    size,                // the client area is now x pixels wide and y high
    shown,               // the window is on the screen after its creation: what to ask first
};

// Key codes of key_down: a letter or digit is its upper-case character.
inline constexpr int kKeyEscape = 0x1B;
inline constexpr int kKeyF5 = 0x74;
inline constexpr int kKeyF1 = 0x70;
inline constexpr int kKeyPageUp = 0x21;
inline constexpr int kKeyPageDown = 0x22;
inline constexpr int kKeyLeft = 0x25;
inline constexpr int kKeyRight = 0x27;
inline constexpr int kKeyPlus = 0x6B;
inline constexpr int kKeyMinus = 0x6D;

// Modifier keys held during a mouse or key message.
inline constexpr int kShiftHeld = 1;
inline constexpr int kControlHeld = 2;

// The scroll bars, as the id of a scroll message.
inline constexpr int kHorizontalBar = 0;
inline constexpr int kVerticalBar = 1;

struct Message {
    WindowMessage message;
    int id = 0;                 // command; key_down: the key; scroll: the bar
    int x = 0, y = 0;           // mouse messages; scroll: x the position; size: width, height
    Canvas* canvas = nullptr;   // paint
    int delta = 0;              // mouse_wheel: 120 a notch, positive away from the operator
    int keys = 0;               // mouse messages and key_down: kShiftHeld, kControlHeld
};

// Where a scroll bar stands: its thumb at `value` between `min` and `max`,
// `page` the part of the whole that the window shows.
struct ScrollRange {
    int min = 0, max = 0, page = 0, value = 0;
    bool operator==(const ScrollRange&) const = default;
};

// Where the main window stands on the screen and its outer size; 0 wide when
// it has none of its own yet.
struct WindowPlacement {
    int x = 0, y = 0, w = 0, h = 0;
    bool maximized = false;
    bool operator==(const WindowPlacement&) const = default;
};

// How the main window looks on the shop floor: large fonts and thick lines
// to be read from two metres, and light lines on a dark drawing area. The
// paint calls are the same in every look; the window system draws them so.
struct Look {
    bool large = false;
    bool dark = false;
    bool operator==(const Look&) const = default;
};

// The drawing area's ground in `look`: white, or near-black for the dark theme.
Rgb ground_colour(const Look& look);
// A paint colour as `look` shows it: the dark theme draws light lines, and
// lightens the selection, the walls made and the marks to stand out on its ground.
Rgb shown_colour(Rgb colour, const Look& look);
// Lines are three pixels wide on the large display, read from across the shop.
inline int line_width(const Look& look) { return look.large ? 3 : 1; }

// A table the operator sorts, filters and exports (the job history). The
// window asks its source for the rows of the operator's choices each time
// they change; the source owns what the rows mean.
struct TableChoice {
    std::string day, drawing;  // a filter's choice; empty for all
    int column = -1;           // sorted by this column; -1 as recorded
    bool descending = false;
};

struct TableContent {
    std::vector<std::string> headings, tips;  // one of each per column
    std::vector<std::vector<std::string>> rows;
    std::string totals;                        // of the rows shown
    std::vector<std::string> days, drawings;  // what the filters offer
};

class TableSource {
public:
    virtual ~TableSource() = default;
    virtual TableContent content(const TableChoice& choice) = 0;
    // Writes the rows of `choice` to a file the operator names.
    virtual void export_rows(const TableChoice& choice) = 0;
};

// Letters from text: the fields of the New from text dialog, as typed.
struct TextFields {
    std::string text;           // lines apart at '\n'
    std::string family, style;  // the font picked from the list
    std::string height;         // of a capital H, in inches or millimetres
    bool millimetres = false;
    std::string letter_spacing = "0";  // in the same unit
    std::string line_spacing = "1";    // in the font's line distances
};

// What the New from text dialog asks of the program while it is open.
struct TextDialogHelp {
    // The installed fonts whose names hold every word of `filter`, as they
    // are listed: family and style.
    std::vector<std::pair<std::string, std::string>> (*fonts)(const std::string& filter);
    // The figures the fields make, each a closed polygon of x, y pairs in
    // inches, y up; none, with the reason in `why`, when they cannot be used.
    std::vector<std::vector<double>> (*outlines)(const TextFields& fields, std::string& why);
};

// The window procedure: handles one message; 0 when handled, 1 for the
// end-session query.
using WindowProc = int (*)(const Message&);

class WindowSystem {
public:
    virtual ~WindowSystem() = default;
    // Shows the dialog built from the template and runs it until the procedure
    // ends it; returns the result passed to end_dialog.
    virtual int dialog_box(int template_id, DialogProc proc) = 0;
    // The open-file dialog for drawings, starting from `path` (the last choice).
    // True with the chosen path; false on cancel (error 0) or failure (error set).
    virtual bool get_open_file_name(std::string& path, long& error) = 0;
    // The save-file dialog for a drawing written as R12 DXF, starting from
    // `path`; it asks before a file is replaced. As get_open_file_name.
    virtual bool get_save_file_name(std::string& path, long& error) = 0;
    virtual void message_box(const std::string& text, const std::string& caption,
                             MessageIcon icon) = 0;
    // The New from text dialog, opened on `fields`: the text, a font from the
    // list with a search field, the height and spacings, and a preview that
    // follows the typing. True when the operator pressed OK on fields that
    // make letters; `fields` then holds them.
    virtual bool text_dialog(TextFields& fields, const TextDialogHelp& help) = 0;
    // Asks the operator a question to answer Yes or No; true for Yes.
    virtual bool ask_yes_no(const std::string& text, const std::string& caption) = 0;
    // Asks the operator to pick one of `buttons` (labels with their mnemonic
    // ampersands) and returns its index. Enter picks `default_button` and Esc
    // (or the close box) `escape_button`; with -1 the key does nothing and a
    // button must be pressed.
    virtual int choose(const std::string& text, const std::string& caption,
                       const std::vector<std::string>& buttons, int default_button,
                       int escape_button) = 0;
    // Shows or hides a command button of the status line (Resume, Connect).
    virtual void show_command_button(int id, bool shown) = 0;
    // A check mark beside a menu item that stands for a mode.
    virtual void check_menu_item(int id, bool checked) = 0;
    // The label of a menu item whose text changes (a recent drawing); an
    // empty label hides it.
    virtual void set_menu_item(int id, const std::string& label) = 0;
    // The main window's place and size, read as it closes and set as it opens.
    virtual WindowPlacement window_placement() = 0;
    virtual void set_window_placement(const WindowPlacement& placement) = 0;
    // The save-file dialog for a table exported as CSV; as get_save_file_name.
    virtual bool get_save_csv_name(std::string& path, long& error) = 0;
    // Shows the table of `source` until the operator closes it.
    virtual void run_table(const std::string& title, TableSource& source) = 0;
    // Shows a text file read-only and returns when the operator has closed it.
    virtual void run_text_viewer(const std::string& path) = 0;
    // A push button on the client area; made again with the id of one that
    // stands there already, it moves that one and gives it the new size.
    virtual void create_button(const char* label, int id, int x, int y, int w, int h) = 0;
    // Shows the main window in `look`; false when this window system has no
    // such look (the window stays as it was).
    virtual bool set_look(const Look& look) = 0;
    virtual void invalidate() = 0;  // erase and repaint the client area
    virtual void set_scroll_bars(const ScrollRange& horizontal, const ScrollRange& vertical) = 0;
    virtual void set_window_title(const std::string& title) = 0;
    // The status line under the client area.
    virtual void set_status_text(const std::string& text) = 0;
    // Machine work under way: every command but Stop is shown disabled, and
    // Stop (the button, Esc, the close box) reaches the window procedure as
    // the command IDM_STOP (a close as the close message).
    virtual void set_busy(bool busy) = 0;
    // The progress bar of the status line: `value` of `maximum`; 0 of 0 hides it.
    virtual void set_progress(int value, int maximum) = 0;
    virtual void post_close() = 0;  // ask the window to close, as its close box does
    // Takes the window down; the window procedure then gets the destroy message.
    virtual void destroy_window() = 0;
    virtual void post_quit(int status) = 0;
    // Ends the program at once with `status` (the click on a pending message).
    virtual void end_program(int status) = 0;
};

WindowSystem& window_system();
void set_window_system(WindowSystem* ws);
