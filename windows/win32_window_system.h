#pragma once
#include "platform/window_system.h"
#include "windows/main_window.h"

// The window system on Win32 for one main window. While it lives it is the
// program's window system, and the waits for the controller keep the window
// painted and answering the desktop (see keep_window_alive).
class Win32WindowSystem : public WindowSystem {
public:
    explicit Win32WindowSystem(MainWindow& window);
    ~Win32WindowSystem() override;
    Win32WindowSystem(const Win32WindowSystem&) = delete;
    Win32WindowSystem& operator=(const Win32WindowSystem&) = delete;

    // Runs the message loop until the window procedure posts the quit
    // message; returns its status.
    int run();

    int dialog_box(int template_id, DialogProc proc) override;
    bool get_open_file_name(std::string& path, long& error) override;
    bool get_save_file_name(std::string& path, long& error) override;
    void message_box(const std::string& text, const std::string& caption,
                     MessageIcon icon) override;
    bool ask_yes_no(const std::string& text, const std::string& caption) override;
    // This build has no font libraries: the dialog says so and makes nothing.
    bool text_dialog(TextFields& fields, const TextDialogHelp& help) override;
    int choose(const std::string& text, const std::string& caption,
               const std::vector<std::string>& buttons, int default_button,
               int escape_button) override;
    void show_command_button(int id, bool shown) override;
    void check_menu_item(int id, bool checked) override;
    void set_menu_item(int id, const std::string& label) override;
    WindowPlacement window_placement() override;
    void set_window_placement(const WindowPlacement& placement) override;
    bool get_save_csv_name(std::string& path, long& error) override;
    void run_table(const std::string& title, TableSource& source) override;
    void run_text_viewer(const std::string& path) override;
    void create_button(const char* label, int id, int x, int y, int w, int h) override;
    // Only the plain look: GDI draws the view as it always has.
    bool set_look(const Look& look) override;
    void invalidate() override;
    void set_scroll_bars(const ScrollRange& horizontal, const ScrollRange& vertical) override;
    void set_window_title(const std::string& title) override;
    void set_status_text(const std::string& text) override;
    void set_busy(bool busy) override;
    void set_progress(int value, int maximum) override;
    void post_close() override;
    void destroy_window() override;
    void post_quit(int status) override;
    void end_program(int status) override;

private:
    // A read-only text in a dialog captioned `name`.
    void show_text(const std::string& name, const std::string& content);

    MainWindow& window_;
    bool quit_posted_ = false;
    int quit_status_ = 0;
};

// The idle handler of the waits for the controller. At most every 30 ms it
// handles what has come in: paints, timers and the frame are handled, Stop,
// Esc and the close box reach the window procedure, the rest of the mouse
// and the keyboard is dropped so that nothing starts before the machine is done.
void keep_window_alive();

// What the idle handler does with one message while the machine works:
// dispatch it, drop it, or send the window procedure Stop (Esc).
enum class WhileWaiting { dispatch, drop, stop };
WhileWaiting while_waiting(const MSG& msg, HWND stop_button);
