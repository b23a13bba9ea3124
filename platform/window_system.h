#pragma once
#include <string>

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
};

// An open modal dialog, as its procedure sees it.
class DialogControls {
public:
    virtual ~DialogControls() = default;
    virtual std::string get_text(int id) = 0;
    virtual void set_text(int id, const std::string& text) = 0;
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
};

struct Message {
    WindowMessage message;
    int id = 0;                 // command
    int x = 0, y = 0;           // left_button_up
    Canvas* canvas = nullptr;   // paint
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
    virtual void message_box(const std::string& text, const std::string& caption,
                             MessageIcon icon) = 0;
    // Asks the operator a question to answer Yes or No; true for Yes.
    virtual bool ask_yes_no(const std::string& text, const std::string& caption) = 0;
    // Shows a text file read-only and returns when the operator has closed it.
    virtual void run_text_viewer(const std::string& path) = 0;
    virtual void create_button(const char* label, int id, int x, int y, int w, int h) = 0;
    virtual void invalidate() = 0;  // erase and repaint the client area
    virtual void set_window_title(const std::string& title) = 0;
    // The status line under the client area.
    virtual void set_status_text(const std::string& text) = 0;
    virtual void post_close() = 0;  // ask the window to close, as its close box does
    // Takes the window down; the window procedure then gets the destroy message.
    virtual void destroy_window() = 0;
    virtual void post_quit(int status) = 0;
    // Ends the program at once with `status` (the click on a pending message).
    virtual void end_program(int status) = 0;
};

WindowSystem& window_system();
void set_window_system(WindowSystem* ws);
