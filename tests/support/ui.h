#pragma once
#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/window_system.h"

// A setup.dat line with every field set, none of them the defaults.
inline constexpr const char* kSetupLine =
    "2546.479004 0.125000 0.500000 30.000000 1 1 0.250000 6.000000 60 420 2 2.500000 "
    "24.000000 1 1 3 6.000000 0";

// Records every paint call as a line of text:
// "pen R G B", "move X Y", "line X Y", "rect L T R B", "text X Y TEXT".
class RecordingCanvas : public Canvas {
public:
    void select_pen(Rgb c) override;
    void move_to(int x, int y) override;
    void line_to(int x, int y) override;
    void rectangle(int l, int t, int r, int b) override;
    void text(int x, int y, const std::string& s) override;
    // "arc MX MY X Y": through (MX, MY) to (X, Y) from the point before.
    void arc_to(int x0, int y0, int mx, int my, int x, int y) override;
    std::vector<std::string> calls;
};

// One step of a scripted dialog: type text into a control, or press a button.
struct DialogAction {
    int id;
    std::optional<std::string> text;
};
inline DialogAction press(int id) { return {id, std::nullopt}; }
inline DialogAction type(int id, std::string text) { return {id, std::move(text)}; }

struct DialogRun {
    int template_id;
    std::map<int, std::string> after_init;  // the controls as the dialog opened
    std::map<int, std::string> at_end;
    bool ended = false;
    int result = 0;
};

// A window system whose dialogs follow scripts given by the test, and which
// records everything the program asked of it.
class FakeWindowSystem : public WindowSystem {
public:
    FakeWindowSystem();
    ~FakeWindowSystem() override;

    // Scripts for the next dialogs, in order. A dialog without a script is cancelled.
    std::deque<std::vector<DialogAction>> scripts;
    std::vector<DialogRun> dialogs;

    std::optional<std::string> open_file_choice;  // what the open dialog returns
    std::optional<std::string> save_file_choice;  // what the save dialog returns
    std::string save_file_offered;                // what it was started from
    std::string open_file_offered;
    long open_file_error = 0;

    // The New from text dialog: the fields the operator fills in, in
    // order, each tried as OK tries it; the first that makes letters is
    // taken, and with none left the dialog is cancelled. What each try
    // showed is kept: the fields it opened on, the fonts listed, the
    // figures of the preview or the reason given.
    std::deque<TextFields> text_entries;
    struct TextTry {
        TextFields opened_on;
        std::size_t fonts = 0;
        std::size_t figures = 0;
        std::string why;
    };
    std::vector<TextTry> text_tries;
    bool text_dialog(TextFields& fields, const TextDialogHelp& help) override;

    struct Box {
        std::string text, caption;
        MessageIcon icon;
    };
    std::vector<Box> boxes;
    // Answers to the next Yes/No questions, in order; with none left the answer is No.
    std::deque<bool> answers;
    std::vector<std::string> questions;  // every question asked, as "caption: text"
    // Buttons to pick in the next choices, by label; with none left the test
    // fails. `on_choice` runs before each is answered (the world meanwhile).
    std::deque<std::string> choices;
    std::function<void()> on_choice;
    struct Choice {
        std::string text, caption;
        std::vector<std::string> buttons;
        int default_button, escape_button;
    };
    std::vector<Choice> asked;
    std::map<int, bool> command_buttons;  // shown or not, by id
    std::map<int, bool> checks;           // menu check marks, by id
    std::map<int, std::string> menu_labels;
    WindowPlacement placement;
    std::vector<std::string> viewed;
    std::vector<std::string> tables;                   // the titles of the tables shown
    std::function<void(TableSource&)> table_script;    // what the operator does in one
    struct Button {
        std::string label;
        int id, x, y, w, h;
    };
    std::vector<Button> buttons;   // each made once, where it stands now
    Look look;
    bool looks_shown = true;       // false: only the plain look, as on Windows
    int invalidations = 0;
    ScrollRange horizontal, vertical;  // the scroll bars as last set
    std::string title;
    std::string status;
    std::vector<std::string> statuses;
    std::vector<bool> busy;  // every change, in order
    std::pair<int, int> progress_bar{0, 0};
    int close_requests = 0;
    bool destroyed = false;
    std::optional<int> quit_status;
    std::optional<int> ended_status;

    int dialog_box(int template_id, DialogProc proc) override;
    bool get_open_file_name(std::string& path, long& error) override;
    bool get_save_file_name(std::string& path, long& error) override;
    void message_box(const std::string& text, const std::string& caption,
                     MessageIcon icon) override;
    bool ask_yes_no(const std::string& text, const std::string& caption) override;
    int choose(const std::string& text, const std::string& caption,
               const std::vector<std::string>& buttons, int default_button,
               int escape_button) override;
    void show_command_button(int id, bool shown) override { command_buttons[id] = shown; }
    void check_menu_item(int id, bool checked) override { checks[id] = checked; }
    void set_menu_item(int id, const std::string& label) override { menu_labels[id] = label; }
    WindowPlacement window_placement() override { return placement; }
    void set_window_placement(const WindowPlacement& p) override { placement = p; }
    bool get_save_csv_name(std::string& path, long& error) override;
    void run_table(const std::string& title, TableSource& source) override;
    void run_text_viewer(const std::string& path) override;
    void create_button(const char* label, int id, int x, int y, int w, int h) override;
    bool set_look(const Look& l) override {
        if (!looks_shown && !(l == Look{})) return false;
        look = l;
        return true;
    }
    void invalidate() override { ++invalidations; }
    void set_scroll_bars(const ScrollRange& h, const ScrollRange& v) override {
        horizontal = h;
        vertical = v;
    }
    void set_window_title(const std::string& t) override { title = t; }
    void set_status_text(const std::string& t) override {
        status = t;
        statuses.push_back(t);
    }
    void set_busy(bool b) override { busy.push_back(b); }
    void set_progress(int value, int maximum) override { progress_bar = {value, maximum}; }
    void post_close() override { ++close_requests; }
    void destroy_window() override { destroyed = true; }
    void post_quit(int status) override { quit_status = status; }
    void end_program(int status) override { ended_status = status; }
};

// Runs one dialog procedure on its own with a script; for dialog tests.
DialogRun run_dialog(int template_id, DialogProc proc, const std::vector<DialogAction>& script);
