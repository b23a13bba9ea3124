#pragma once
#include <string>
#include <utility>
#include <vector>

#include "platform/window_system.h"
#include "windows/win32.h"

// The main window on Win32: class "zel", the menu bar of the resources, the
// client area (white, both scroll bars, the push buttons on it, painted by
// the window procedure) and the status bar with its text, the progress bar
// and Stop. Every menu command, button press, key, mouse action in the
// client area, paint, size and close request becomes a message to the
// window procedure.
class MainWindow {
public:
    explicit MainWindow(WindowProc proc);
    ~MainWindow();
    MainWindow(const MainWindow&) = delete;
    MainWindow& operator=(const MainWindow&) = delete;

    // Sends the create message, then shows the window.
    void create(int show);
    HWND frame() const { return frame_; }
    HMENU menu() const { return menu_; }
    HWND client() const { return client_; }
    HWND stop_button() const { return stop_; }
    int send(const Message& m) { return proc_(m); }

    HWND add_button(const std::string& label, int id, int x, int y, int w, int h);
    // Large fonts for the status line and the buttons, and the drawing area's look.
    void set_look(const Look& look);
    void set_busy(bool busy);
    // The status line's command buttons (Resume, Connect), hidden at first.
    void show_command_button(int id, bool shown);
    // The status line wraps and takes the lines its text needs, growing but not
    // shrinking while the machine works.
    void set_status_text(const std::string& text);
    HWND status_bar() const { return status_; }
    void set_progress(int value, int maximum);
    void set_scroll_bars(const ScrollRange& horizontal, const ScrollRange& vertical);

    // A key the window takes whatever control has the focus (letters, digits,
    // Esc); false for one it leaves to the control.
    bool take_key(const MSG& msg);

private:
    static LRESULT CALLBACK frame_proc(HWND, UINT, WPARAM, LPARAM);
    static LRESULT CALLBACK client_proc(HWND, UINT, WPARAM, LPARAM);
    LRESULT on_frame(UINT, WPARAM, LPARAM);
    LRESULT on_client(UINT, WPARAM, LPARAM);
    void command(int id);
    void lay_out();
    int status_height(int width);
    void measure_line();
    void scroll(int bar, int request);

    WindowProc proc_;
    HWND frame_ = nullptr, client_ = nullptr, status_ = nullptr, progress_ = nullptr,
         stop_ = nullptr;
    HMENU menu_ = nullptr;
    bool progress_shown_ = false;
    std::wstring status_text_;
    int text_width_ = 0, text_height_ = 0;  // of the status text's part, as laid out
    int line_bar_h_ = 0;                    // the status bar's height for one line
    bool holding_ = false;
    Look look_;
    std::vector<HWND> buttons_;
    std::vector<std::pair<int, HWND>> command_buttons_;
};

// True while the program waits for the controller: no commands or clicks are
// taken, but Stop, Esc and the close box are.
bool waiting_for_machine();
void set_waiting_for_machine(bool waiting);
