#pragma once
#include <QObject>

#include "qt/main_window.h"
#include "platform/window_system.h"

// The window system on Qt for one main window. While it lives it is the
// program's window system, and the waits for the controller keep the window
// painted and answering the desktop (see keep_window_alive).
class QtWindowSystem : public WindowSystem {
public:
    explicit QtWindowSystem(MainWindow& window);
    ~QtWindowSystem() override;
    QtWindowSystem(const QtWindowSystem&) = delete;
    QtWindowSystem& operator=(const QtWindowSystem&) = delete;

    // Runs the event loop until the window procedure posts the quit message;
    // returns its status.
    int run();

    int dialog_box(int template_id, DialogProc proc) override;
    bool get_open_file_name(std::string& path, long& error) override;
    bool get_save_file_name(std::string& path, long& error) override;
    void message_box(const std::string& text, const std::string& caption,
                     MessageIcon icon) override;
    bool text_dialog(TextFields& fields, const TextDialogHelp& help) override;
    bool ask_yes_no(const std::string& text, const std::string& caption) override;
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

    // Whether the display has gone, noticed before Qt's event processing
    // sees it (which ends the program on the spot): the first time, the
    // program is asked to end as on SIGTERM, and from then on the window
    // takes no part. Its dialogs and messages are then not shown.
    bool display_lost();

private:
    MainWindow& window_;
    bool display_lost_ = false;
    bool quit_posted_ = false;
    int quit_status_ = 0;
};

// The idle handler of the waits for the controller. At most every 30 ms it
// lets Qt handle what has come in: paints, exposures and the desktop's
// pings are answered, Stop, Esc and the close box reach the window procedure,
// while the rest of the mouse and the keyboard is swallowed so that nothing
// is started before the machine is done.
void keep_window_alive();
