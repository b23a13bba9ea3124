#include "shell/window.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <optional>
#include <string>

#include "controller/calibrate.h"
#include "controller/commands.h"
#include "controller/serial_link.h"
#include "controller/startup.h"
#include "controller/tools.h"
#include "import/dxf.h"
#include "import/export.h"
#include "import/select.h"
#include "import/shapes.h"
#include "planning/new_drawing.h"
#include "planning/planner.h"
#include "planning/walls.h"
#include "platform/exit.h"
#include "platform/files.h"
#include "platform/text.h"
#include "records/job.h"
#include "records/notice.h"
#include "records/prodlog.h"
#include "records/progdir.h"
#include "records/progress.h"
#include "records/settings.h"
#include "records/units.h"
#include "resources/resources.h"
#include "resources/strings.h"
#include "sequencing/jobend.h"
#include "sequencing/jobrun.h"
#include "sequencing/resume.h"
#include "shell/dialogs.h"
#include "shell/jobs.h"
#include "shell/letters.h"
#include "shell/navigation.h"
#include "shell/plan.h"
#include "shell/preferences.h"
#include "shell/serial_port.h"
#include "shell/status.h"
#include "shell/view.h"
#include "shell/work.h"
#include "shell/window_state.h"

namespace {

WindowSystem& ws() { return window_system(); }

void show_notice(const Notice& n) {
    ws().message_box(n.text, n.caption.empty() ? kProductName : n.caption,
                     n.final ? MessageIcon::error : MessageIcon::warning);
}

// The program ends inside a wait on a final notice (the controller lost): it
// is shown once the steps before it have saved the counts and the history.
void show_final_notices() {
    for (const Notice& n : take_pending_notices())
        if (n.final) show_notice(n);
}

bool drawing_loaded() { return shapes.PointsLoaded != 0; }

// A move longer than this, in inches, is made only when the operator confirms it.
constexpr float kLongMove = 120.0f;

// Sends a command text and waits for the controller's answer.
void send(const char* command) {
    before_command();
    put_data(command);
    wait_for_Slo_Syn();
}

// Letters from text are on screen: win.drawing names them, not a file.
bool letters_shown = false;

// The title names the program, the drawing on screen and a simulated machine.
void show_title() {
    std::string title = kAppName;
    if (!win.drawing.empty())
        title += " - " + (letters_shown ? win.drawing
                                        : win.drawing.substr(win.drawing.rfind('/') + 1));
    if (win.simulated) title += " (simulated machine)";
    ws().set_window_title(title);
}

void show_drawing_status() {
    status_line.drawing = drawing_status();
    show_status();
}

// The shop floor: the modes checked in the menu and named on the status line,
// the recent drawings, the window's place, the manual.

void show_modes() {
    bool whole = job.whole_job == 1, divide = job.toggle == 0;
    ws().check_menu_item(IDM_CONTINUOUS, whole);
    ws().check_menu_item(IDM_DIVIDE, divide);
    ws().check_menu_item(IDM_CP_ON, win.cp != 0);
    ws().check_menu_item(IDM_CP_OFF, win.cp == 0);
    ws().check_menu_item(IDM_SEGMENTS_ON, win.segment_file == 1);
    ws().check_menu_item(IDM_SEGMENTS_OFF, win.segment_file != 1);
    ws().check_menu_item(IDM_LARGE_DISPLAY, preferences.large);
    ws().check_menu_item(IDM_DARK_THEME, preferences.dark);
    status_line.mode = whole && divide ? "Continuous job, divide"
                       : whole         ? "Continuous job"
                       : divide        ? "Divide"
                                       : "";
    show_status();
}

void show_recent() {
    const auto& recent = preferences.recent;
    for (int k = 0; k <= IDM_RECENT_LAST - IDM_RECENT_FIRST; ++k) {
        std::string label;
        if (k < static_cast<int>(recent.size())) {
            const std::string& path = recent[k];
            label = strprintf("&%d ", k + 1) + path.substr(path.find_last_of("/\\") + 1) +
                    "  (" + path + ")";
        }
        ws().set_menu_item(IDM_RECENT_FIRST + k, label);
    }
}

void save_window_preferences() {
    std::string why;
    if (!save_preferences(why)) std::fprintf(stderr, "zel: %s\n", why.c_str());
}

// The manual: the README of the sources the program was built from, or of
// its installed documentation; failing both, where the manual page is.
void help_command() {
    std::string exe = executable_folder();
    for (const std::string& path :
         {exe + "/../share/doc/zel/README.md", exe + "/README.md", exe + "/../README.md"}) {
        if (file_is_readable(path)) {
            ws().run_text_viewer(path);
            return;
        }
    }
    notice("The manual is the page zel(1): in a terminal, man zel. Help, About names the "
           "version.");
}

void open_recent(int k) {
    if (k >= static_cast<int>(preferences.recent.size())) return;
    std::string path = preferences.recent[k];
    if (!open_drawing(path)) notice(path + " cannot be opened: " + std::strerror(errno));
    else win.open_dialog_path = path;
    save_window_preferences();
    ws().invalidate();
}

}  // namespace

// Loads a drawing. The operator is told when it cannot be opened (false),
// when it cannot be read or is refused, and when it declares a unit it is
// not read in. A drawing that is not loaded leaves the
// one before as it was.
bool open_drawing(const std::string& path) {
    switch (load_new_drawing(path)) {
    case DrawingLoad::not_opened: return false;
    case DrawingLoad::refused: return true;
    case DrawingLoad::read_failed:
        notice(path + " could not be read: " + std::strerror(dxf.read_errno));
        return true;
    case DrawingLoad::loaded: break;
    }
    win.drawing = path;
    note_recent(path);
    show_recent();
    // What the status line said of the last job was about another drawing.
    status_line.work.clear();
    letters_shown = false;
    show_title();
    if (std::string units = units_hint(); !units.empty()) notice(path + ": " + units);
    show_drawing_status();
    view_after_load();
    return true;
}

bool open_letters(const TextRequest& request) {
    if (!load_new_letters(request)) return false;
    win.drawing = text_drawing_name(request);
    letters_shown = true;
    status_line.work.clear();
    show_title();
    show_drawing_status();
    view_after_load();
    ws().invalidate();
    return true;
}

namespace {

StartupResult started;  // how the start-up at the window's creation went

// Brings up the machine; the status line says what the machine is.
void start_up() {
    started = start_machine();
    win.startup_failure = startup_failure_words(started);
    show_machine(started);
}

// Once the window shows: a failed start-up says why and offers Connect or
// Exit, and an interrupted job is offered.
void on_shown() {
    if (started.outcome != Startup::ready && !com.ready) offer_connect_at_start(started);
    offer_interrupted_job();
    show_offers();
}

// The buttons of the model. Called again after Setup names another model, it
// adds the fixed buttons that model has and the others had not; a row button
// it needs (Load Tool) comes at the next start. With `again` it places the
// buttons made anew, at the size of the display.
void create_buttons(bool again = false) {
    bool first = win.buttons_made.empty() || again;
    int x = scaled(kButtonRowX), height = scaled(kButtonHeight);
    if (again) win.buttons_bottom = 0;
    for (const ButtonDef& b : push_buttons()) {
        bool wanted = b.when == ButtonDef::When::always ||
                      (b.when == ButtonDef::When::model_2 && settings.model == 2) ||
                      (b.when == ButtonDef::When::model_4 && galil());
        bool made = std::find(win.buttons_made.begin(), win.buttons_made.end(), b.id) !=
                    win.buttons_made.end();
        if (again ? !made : !wanted || made) continue;
        if (!b.in_row) {
            ws().create_button(b.label, b.id, scaled(b.x), scaled(b.y), scaled(b.width), height);
            if (!again) win.buttons_made.push_back(b.id);
            win.buttons_bottom = std::max(win.buttons_bottom, scaled(b.y) + height);
            continue;
        }
        if (!first) continue;
        if (!again) win.buttons_made.push_back(b.id);
        ws().create_button(b.label, b.id, x, scaled(kButtonRowY), scaled(b.width), height);
        win.buttons_bottom = std::max(win.buttons_bottom, scaled(kButtonRowY) + height);
        win.button_x = x;
        win.button_w = scaled(b.width);
        x += scaled(b.width) + scaled(kButtonGap);
    }
    // The tab text sits beside the row, past the fixed buttons of a Galil machine.
    if (first && galil()) win.button_x += win.button_w + scaled(kButtonGap);
}

// Shows the window in the look of the preferences. A look the window system
// does not have is taken back and, unless `quietly`, said.
void show_look(bool quietly) {
    if (!ws().set_look({preferences.large, preferences.dark})) {
        if (!quietly && preferences.large) notice("Large display is not available in this build");
        if (!quietly && preferences.dark) notice("The dark theme is not available in this build");
        preferences.large = preferences.dark = false;
        ws().set_look({});
    }
    create_buttons(true);
    ws().invalidate();
}

// Options, Large display and Dark theme: chosen again, they end.
void toggle_look(bool Preferences::*choice) {
    preferences.*choice = !(preferences.*choice);
    show_look(false);
    save_window_preferences();
}

void on_create() {
    at_program_end(show_final_notices);
    read_preferences();
    ws().set_window_placement(preferences.placement);
    if (preferences.large || preferences.dark) show_look(true);
    show_recent();
    // The window takes a lost controller itself: Connect, carry on or Exit.
    recover_from_lost_controller(true);
    show_title();
    report_work_progress();
    start_up();
    if (!galil()) win.cover = 1;
    get_unit_setting();
    status_line.drawing = drawing_status();
    if (win.carg == 1) {
        if (open_drawing(win.argument))
            ws().invalidate();
        else
            show_message(strprintf("%s Failed to open", win.argument.c_str()));
    }
    win.buttons_made.clear();
    create_buttons();
    show_status();
    show_offers();
    show_modes();
}

void image_length() {
    if (!drawing_loaded() || !plan_job()) return;
    win.material_length = measure_walls();
    ws().dialog_box(DLG_LENGTH, Length);
    if (win.segment_file == 1) ws().run_text_viewer(program_file("segments.txt"));
}

void job_length() {
    if (!drawing_loaded()) return;
    job.pause = 0;
    job.toggle = 1;
    int keep = shapes.selected;
    win.material_length = 0;
    bool planned = true;
    int walls = 0, stops = 0;
    Counters strokes;
    for (shapes.selected = 1; shapes.selected <= shapes.objects; ++shapes.selected) {
        planned = plan_job();
        if (!planned) break;
        win.material_length += measure_walls(), walls += wall_list.walls;
        if (!strokes_on_paper(strokes) && stops == 0) stops = shapes.selected;
    }
    if (planned) {
        status_line.work = drawing_plan(shapes.objects, walls, win.material_length, strokes);
        if (stops != 0)
            status_line.work += strprintf("; figure %d cannot be run as it stands", stops);
        show_status();
        ws().dialog_box(DLG_LENGTH, Length);
    }
    shapes.selected = keep;
    ws().invalidate();
}

void start_point(int direction) {
    if (!drawing_loaded()) return;
    if (job.toggle == 1)
        rotate(direction, shapes.selected);
    else
        breakpoint(direction);
    ws().invalidate();
}

void open_command() {
    std::optional<std::string> path = DxfFileOpen(win.open_dialog_path);
    if (path) {
        win.open_dialog_path = *path;
        if (!open_drawing(*path)) {
            ws().set_window_title("trm");
            notice(*path + " cannot be opened: " + std::strerror(errno));
        }
    }
    ws().invalidate();
}

// The drawing on screen, as read, written to an R12 DXF file the operator
// names: by default beside the drawing, "-r12" added to its name.
void save_r12_command() {
    if (!drawing_loaded()) return;
    std::string path = win.drawing;
    if (std::size_t dot = path.rfind('.'); dot != std::string::npos && path.rfind('/') < dot)
        path.erase(dot);
    path += "-r12.dxf";
    // Letters are saved by their first line: "OPEN.dxf".
    if (letters_shown) {
        path = win.drawing.substr(0, win.drawing.rfind(" ("));
        if (path.ends_with(" ...")) path.resize(path.size() - 4);
        std::replace(path.begin(), path.end(), '/', '-');
        path += ".dxf";
    }
    long error = 0;
    if (!ws().get_save_file_name(path, error)) {
        if (error != 0) notice(strprintf("The save dialog failed (error %ld)", error));
        return;
    }
    if (std::string why = export_r12(path); !why.empty()) {
        notice(path + " was not written: " + why);
        return;
    }
    status_line.work = "Saved as R12 DXF: " + path;
    show_status();
}

// A loaded drawing is read again when the unit it is read in or the join
// tolerance changes.
void drawing_units_command() {
    double join = unit_setting.join_tolerance;
    if (ws().dialog_box(DLG_UNITS, Units) != 1) return;
    const DrawingNotes& n = drawing_notes;
    bool changed = unit_in_use(n.declared) != n.in_use || unit_setting.join_tolerance != join;
    if (drawing_loaded() && !n.path.empty() && changed) {
        std::string path = n.path;
        if (!open_drawing(path)) notice(path + " cannot be opened: " + std::strerror(errno));
        ws().invalidate();
    }
    show_drawing_status();
}

void move_command(bool calibrated) {
    if (calibrated && win.cover == 0) {
        show_message("Must reset tool");
        ws().invalidate();
        return;
    }
    if (!machine_ready()) return;
    std::optional<float> distance = move_dialog(calibrated);
    if (!distance) return;
    // The distance stays in inches; the controller gets it in its own units.
    float inches = *distance;
    std::string why = strip_move_refusal();
    if (!why.empty()) {
        notice(why);
        return;
    }
    // A reverse move and a long one are made only when the operator confirms them.
    std::string question;
    if (inches < 0)
        question = strprintf("Move the strip back %.3f in. (%.3f ft), in reverse?", -inches,
                             -inches / 12.0);
    else if (inches > kLongMove)
        question = strprintf("Move the strip %.3f in. (%.3f ft)?", inches, inches / 12.0);
    if (!question.empty() &&
        !ws().ask_yes_no(question, calibrated ? "Move" : "Uncalibrated move"))
        return;
    abandon_stopped_work(calibrated ? "a Move" : "an Uncalibrated move");
    machine_work(calibrated ? "Move" : "Uncalibrated move",
                 [calibrated, inches] { (calibrated ? run_move : feed_move)(controller_units(inches)); });
}

void run_command() {
    if (win.cover != 1 || !machine_ready()) return;
    if (ws().dialog_box(DLG_RUN, Run) != 1) return;
    abandon_stopped_work("a notching run");
    machine_work("Notching run", [] { notching_ended(notching_run()); });
    show_offers();
}

// The settings take effect at once; a new model, port or steps per inch
// through a fresh start-up of the controller, which the status line follows.
void setup_command() {
    const Settings before = settings;
    if (ws().dialog_box(DLG_SETUP, Setup) != 1) return;
    status_line.work = "Set up data saved";
    show_status();
    if (!work_running() && (settings.model != before.model || settings.port != before.port ||
                            settings.steps != before.steps)) {
        create_buttons();
        connect_command();
    }
    ws().invalidate();
}

// A command to the machine that needs no dialog, `what` for the status line.
void machine_command(const char* what, void (*work)()) {
    if (machine_ready()) machine_work(what, work);
}

// A stroke of a tool: `what` for the status line, `made` for the stopped job
// it leaves behind ("a 30-degree notch").
void tool_command(const char* what, const char* made, void (*stroke)()) {
    if (!win.cover || !machine_ready()) return;
    abandon_stopped_work(made);
    machine_work(what, stroke);
    show_offers();
}

void command(int id) {
    begin_log_period();
    switch (id) {
    case IDM_OPEN: open_command(); break;
    case IDM_SAVE_R12: save_r12_command(); break;
    case IDM_NEW_TEXT: new_from_text(); break;
    case IDM_EXIT: ws().post_close(); break;
    case IDM_RUN_TOOL: run_tool(); break;
    case IDM_RUN: run_command(); break;
    case IDM_MOVE: move_command(true); break;
    case IDM_UNCALIBRATED: move_command(false); break;
    case IDM_SETUP: setup_command(); break;
    case IDM_SERIAL_PORT: serial_port_command(); break;
    case IDM_START_NEG: start_point(-1); break;
    case IDM_START_PLUS: start_point(1); break;
    case IDM_NEXT:
        select_next();
        ws().invalidate();
        break;
    case IDM_ABOUT: ws().dialog_box(DLG_ABOUT, About); break;
    case IDM_DIVIDE:
        // Chosen again, back to the start point.
        job.toggle = job.toggle == 0 ? 1 : 0;
        ws().invalidate();
        break;
    case IDM_REPEAT:
        job.toggle = 1;
        ws().dialog_box(DLG_IMAGE_COUNT, Icount);
        break;
    case IDM_CONTINUOUS: job.whole_job = job.whole_job == 1 ? 0 : 1; break;
    case IDM_IMAGE_LENGTH: image_length(); break;
    case IDM_JOB_LENGTH: job_length(); break;
    case IDM_CHANGE_TAB:
        ws().dialog_box(DLG_TABS, Tabs);
        save_setup(SetupFields::all);
        ws().invalidate();
        break;
    case IDM_LOAD_TOOL:
        if (machine_ready()) abandon_stopped_work("Load Tool (the feed calibration)");
        machine_command("Load Tool", [] {
            if (calibrate_steps()) save_setup(SetupFields::without_operate);
        });
        break;
    case IDM_SHEER: tool_command("Sheer", "a shear", sheer); break;
    case IDM_NOTCH100:
        tool_command("100 degree notch", "a 100-degree notch", [] { send(commands.V); });
        break;
    case IDM_NOTCH30: tool_command("30 degree notch", "a 30-degree notch", notch); break;
    case IDM_INDICATE: tool_command("Indicate", "an indicate mark", indicate); break;
    case IDM_FLANGER: tool_command("Flanger", "a flange bend", bend); break;
    case IDM_VIEW_LOG: ws().dialog_box(DLG_LOG, Log); break;
    case IDM_JOB_HISTORY: show_job_history(); break;
    case IDM_STOP: request_stop(); break;
    case IDM_CP_ON:
    case IDM_CP_OFF:
        win.cp = id == IDM_CP_ON ? 1 : 0;
        ws().invalidate();
        break;
    case IDM_ZOOM_OUT: zoom_button(-1); break;
    case IDM_ZOOM_IN: zoom_button(1); break;
    case IDM_FIT: fit_to_window(); break;
    case IDM_COVER_OPEN:
        machine_command("Cover open", [] {
            send(commands.o);
            win.cover = 0;
        });
        break;
    case IDM_RESET_TOOL:
        machine_command("Reset tool", [] {
            send(commands.c);
            win.cover = 1;
            message_line.err = 0;
        });
        ws().invalidate();
        break;
    case IDM_SEGMENTS_ON: win.segment_file = 1; break;
    case IDM_SEGMENTS_OFF: win.segment_file = 0; break;
    case IDM_DRAWING_UNITS: drawing_units_command(); break;
    // Carrying on after a stop, and reconnecting.
    case IDM_RESUME: resume_command(); break;
    case IDM_CONNECT: connect_command(); break;
    // The shop floor.
    case IDM_PREVIOUS:
        select_previous();
        ws().invalidate();
        break;
    case IDM_HELP: help_command(); break;
    case IDM_LARGE_DISPLAY: toggle_look(&Preferences::large); break;
    case IDM_DARK_THEME: toggle_look(&Preferences::dark); break;
    default:
        if (id >= IDM_RECENT_FIRST && id <= IDM_RECENT_LAST) open_recent(id - IDM_RECENT_FIRST);
        break;
    }
    show_offers();
    show_modes();
}

// A click on a figure's outline selects it; a click elsewhere does nothing.
// While a message is showing, the click only clears it: nothing ends the
// program but Exit.
void left_button_up(int x, int y) {
    if (message_line.err) {
        clear_message();
        pan_ended_by_left_button();
        ws().invalidate();
        return;
    }
    if (!pan_ended_by_left_button() && pick_figure(x, y)) ws().invalidate();
}

}  // namespace

void show_notices() {
    for (const Notice& n : take_pending_notices()) show_notice(n);
}

int zelWndProc(const Message& m) {
    // Stop comes while machine work waits for the controller: it only asks.
    if ((m.message == WindowMessage::command && m.id == IDM_STOP) ||
        (m.message == WindowMessage::key_down && m.id == kKeyEscape)) {
        request_stop();
        return 0;
    }
    switch (m.message) {
    case WindowMessage::create: on_create(); break;
    case WindowMessage::shown: on_shown(); break;
    case WindowMessage::command: command(m.id); break;
    case WindowMessage::left_button_up: left_button_up(m.x, m.y); break;
    case WindowMessage::paint:
        if (m.canvas) zelPaint(*m.canvas);
        return 0;
    case WindowMessage::close:
        // During machine work the work stops first; the window closes after it.
        if (work_running())
            close_after_work();
        else
            ws().destroy_window();
        return 0;
    case WindowMessage::destroy:
        preferences.placement = ws().window_placement();
        save_window_preferences();
        // The last chance to save the counts while the operator can still be told.
        flush_log();
        if (std::string unsaved = unsaved_log_text(); !unsaved.empty())
            ws().message_box(unsaved, "The production log is not saved", MessageIcon::error);
        ws().post_quit(0);
        return 0;
    case WindowMessage::query_end_session: return 1;
    case WindowMessage::left_button_down:
    case WindowMessage::middle_button_down:
    case WindowMessage::middle_button_up:
    case WindowMessage::mouse_move:
    case WindowMessage::mouse_wheel:
    case WindowMessage::key_down:
        // The keys the menus show give their commands; F is the view's own.
        if (int id = shortcut_command(m.id, m.keys); id != 0 && id != IDM_FIT) {
            command(id);
            break;
        }
        [[fallthrough]];
    case WindowMessage::scroll:
    case WindowMessage::size: view_message(m); break;
    }
    show_notices();
    // What a run of the figure now selected will take (the notices are shown
    // first: planning it tells the operator nothing until it is run).
    if (m.message == WindowMessage::create || m.message == WindowMessage::command ||
        m.message == WindowMessage::left_button_up || m.message == WindowMessage::key_down) {
        status_line.plan = figure_plan();
        show_status();
    }
    return 0;
}
