#include "tests/support/ui.h"

#include <gtest/gtest.h>

#include "platform/text.h"

void RecordingCanvas::select_pen(Rgb c) { calls.push_back(strprintf("pen %d %d %d", c.r, c.g, c.b)); }
void RecordingCanvas::move_to(int x, int y) { calls.push_back(strprintf("move %d %d", x, y)); }
void RecordingCanvas::line_to(int x, int y) { calls.push_back(strprintf("line %d %d", x, y)); }
void RecordingCanvas::rectangle(int l, int t, int r, int b) {
    calls.push_back(strprintf("rect %d %d %d %d", l, t, r, b));
}
void RecordingCanvas::arc_to(int, int, int mx, int my, int x, int y) {
    calls.push_back(strprintf("arc %d %d %d %d", mx, my, x, y));
}
void RecordingCanvas::text(int x, int y, const std::string& s) {
    calls.push_back(strprintf("text %d %d %s", x, y, s.c_str()));
}

namespace {

class ScriptedControls : public DialogControls {
public:
    std::map<int, std::string> texts;
    bool ended = false;
    int result = 0;
    std::string get_text(int id) override { return texts[id]; }
    void set_text(int id, const std::string& t) override { texts[id] = t; }
    void end_dialog(int r) override {
        ended = true;
        result = r;
    }
};

}  // namespace

DialogRun run_dialog(int template_id, DialogProc proc, const std::vector<DialogAction>& script) {
    ScriptedControls controls;
    DialogRun run{template_id, {}, {}, false, 0};
    proc(controls, DialogMessage::init, 0);
    run.after_init = controls.texts;
    for (const DialogAction& a : script) {
        if (controls.ended) break;
        if (a.text)
            controls.texts[a.id] = *a.text;
        else
            proc(controls, DialogMessage::command, a.id);
    }
    if (!controls.ended) proc(controls, DialogMessage::command, 2);  // the window's close box
    run.at_end = controls.texts;
    run.ended = controls.ended;
    run.result = controls.result;
    return run;
}

FakeWindowSystem::FakeWindowSystem() { set_window_system(this); }
FakeWindowSystem::~FakeWindowSystem() { set_window_system(nullptr); }

int FakeWindowSystem::dialog_box(int template_id, DialogProc proc) {
    std::vector<DialogAction> script;
    if (!scripts.empty()) {
        script = scripts.front();
        scripts.pop_front();
    }
    dialogs.push_back(run_dialog(template_id, proc, script));
    return dialogs.back().result;
}

bool FakeWindowSystem::get_open_file_name(std::string& path, long& error) {
    open_file_offered = path;
    error = open_file_error;
    if (!open_file_choice) return false;
    path = *open_file_choice;
    return true;
}

bool FakeWindowSystem::get_save_file_name(std::string& path, long& error) {
    error = 0;
    save_file_offered = path;
    if (!save_file_choice) return false;
    path = *save_file_choice;
    return true;
}

void FakeWindowSystem::message_box(const std::string& text, const std::string& caption,
                                   MessageIcon icon) {
    boxes.push_back({text, caption, icon});
}

bool FakeWindowSystem::text_dialog(TextFields& fields, const TextDialogHelp& help) {
    while (!text_entries.empty()) {
        TextTry t{fields, help.fonts("").size(), 0, ""};
        TextFields typed = text_entries.front();
        text_entries.pop_front();
        t.figures = help.outlines(typed, t.why).size();
        text_tries.push_back(t);
        if (t.why.empty()) {
            fields = typed;
            return true;
        }
    }
    return false;
}

bool FakeWindowSystem::ask_yes_no(const std::string& text, const std::string& caption) {
    questions.push_back(caption + ": " + text);
    if (answers.empty()) return false;
    bool yes = answers.front();
    answers.pop_front();
    return yes;
}

int FakeWindowSystem::choose(const std::string& text, const std::string& caption,
                             const std::vector<std::string>& buttons, int default_button,
                             int escape_button) {
    asked.push_back({text, caption, buttons, default_button, escape_button});
    if (on_choice) on_choice();
    if (choices.empty()) {
        ADD_FAILURE() << "no button scripted for: " << caption << ": " << text;
        return escape_button >= 0 ? escape_button : 0;
    }
    std::string label = choices.front();
    choices.pop_front();
    for (std::size_t k = 0; k < buttons.size(); ++k)
        if (buttons[k] == label) return static_cast<int>(k);
    ADD_FAILURE() << "no button " << label << " in: " << caption << ": " << text;
    return 0;
}

bool FakeWindowSystem::get_save_csv_name(std::string& path, long& error) {
    return get_save_file_name(path, error);
}

void FakeWindowSystem::run_table(const std::string& title, TableSource& source) {
    tables.push_back(title);
    if (table_script) table_script(source);
}

void FakeWindowSystem::run_text_viewer(const std::string& path) { viewed.push_back(path); }

void FakeWindowSystem::create_button(const char* label, int id, int x, int y, int w, int h) {
    for (Button& b : buttons)
        if (b.id == id) {
            b = {label, id, x, y, w, h};
            return;
        }
    buttons.push_back({label, id, x, y, w, h});
}
