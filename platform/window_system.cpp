#include "platform/window_system.h"

#include <cstdlib>

#include "platform/exit.h"

namespace {

// Before a real window exists (and in the command-line modes) there is
// nothing to show: dialogs are cancelled, questions answered No, and notices
// go to stderr only.
class NoWindow : public WindowSystem {
public:
    int dialog_box(int, DialogProc) override { return 0; }
    bool get_open_file_name(std::string&, long& error) override {
        error = 0;
        return false;
    }
    bool get_save_file_name(std::string&, long& error) override {
        error = 0;
        return false;
    }
    void message_box(const std::string&, const std::string&, MessageIcon) override {}
    bool text_dialog(TextFields&, const TextDialogHelp&) override { return false; }
    bool ask_yes_no(const std::string&, const std::string&) override { return false; }
    int choose(const std::string&, const std::string&, const std::vector<std::string>&, int,
               int escape) override {
        return escape;
    }
    void show_command_button(int, bool) override {}
    void run_text_viewer(const std::string&) override {}
    void create_button(const char*, int, int, int, int, int) override {}
    void invalidate() override {}
    void set_scroll_bars(const ScrollRange&, const ScrollRange&) override {}
    void set_window_title(const std::string&) override {}
    void set_status_text(const std::string&) override {}
    void set_busy(bool) override {}
    void set_progress(int, int) override {}
    void post_close() override {}
    void destroy_window() override {}
    void post_quit(int) override {}
    void end_program(int status) override {
        run_program_end_steps();
        std::exit(status);
    }
};

NoWindow no_window;
WindowSystem* current = &no_window;

}  // namespace

WindowSystem& window_system() { return *current; }

void set_window_system(WindowSystem* ws) { current = ws ? ws : &no_window; }
