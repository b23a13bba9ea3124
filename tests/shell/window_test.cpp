// The main window's procedure: start-up, commands, clicks and the end, with
// scripted dialogs and the simulated controller.
#include <algorithm>
#include <cstring>

#include "controller/commands.h"
#include "import/shapes.h"
#include "planning/walls.h"
#include "records/job.h"
#include "records/notice.h"
#include "records/prodlog.h"
#include "records/settings.h"
#include "records/units.h"
#include "resources/resources.h"
#include "shell/preferences.h"
#include "shell/status.h"
#include "shell/window.h"
#include "shell/window_state.h"
#include "tests/import/drawing.h"
#include "tests/support/machine.h"
#include "tests/support/ui.h"

namespace {

// The status line without the plan of the selected figure (tests/shell/plan_test.cpp's).
std::string without_plan(std::string status) {
    std::size_t at = status.find("   |   Plan: ");
    if (at == std::string::npos) return status;
    std::size_t next = status.find("   |   ", at + 7);
    return status.erase(at, next == std::string::npos ? std::string::npos : next - at);
}

using Lines = std::vector<std::string>;

class MainWindow : public MachineTest {
protected:
    void SetUp() override {
        MachineTest::SetUp();
        settings.model = 3;
        settings.port = 1;
        settings.XOFFSET = 60;
        settings.YOFFSET = 420;
        settings.closed_figure = 1;
        write("setup2.dat", "SH\nAC 256000\n");
        Drawing d;  // three 10 in. squares side by side, the third clockwise
        d.polyline().vertex(0, 0).vertex(10, 0).vertex(10, 10).vertex(0, 10).seqend();
        d.polyline().vertex(20, 0).vertex(30, 0).vertex(30, 10).vertex(20, 10).seqend();
        d.polyline().vertex(40, 0).vertex(40, 10).vertex(50, 10).vertex(50, 0).seqend();
        write("squares.dxf", d.text());
    }
    // Saves the settings as they stand and creates the window, as the program starts.
    void start(const std::string& drawing = "") {
        save_setup(SetupFields::all);
        sim().set_family(configured_family());
        if (!drawing.empty()) {
            win.carg = 1;
            win.argument = dir.file(drawing);
        }
        zelWndProc({WindowMessage::create});
        zelWndProc({WindowMessage::shown});
    }
    void command(int id) { zelWndProc({WindowMessage::command, id}); }
    void click(int x, int y) { zelWndProc({WindowMessage::left_button_up, 0, x, y}); }
    void mouse(WindowMessage kind, int x, int y, int keys = 0) {
        Message m{kind, 0, x, y};
        m.keys = keys;
        zelWndProc(m);
    }
    void wheel(int x, int y, int delta) {
        Message m{WindowMessage::mouse_wheel, 0, x, y};
        m.delta = delta;
        zelWndProc(m);
    }
    void key(int code, int keys = 0) {
        Message m{WindowMessage::key_down, code};
        m.keys = keys;
        zelWndProc(m);
    }
    void size(int w, int h) { zelWndProc({WindowMessage::size, 0, w, h}); }
    Lines paint() {
        RecordingCanvas c;
        zelWndProc({WindowMessage::paint, 0, 0, 0, &c});
        return c.calls;
    }
    bool painted(const std::string& call) {
        Lines calls = paint();
        return std::find(calls.begin(), calls.end(), call) != calls.end();
    }
    int count_in_machine(const std::string& c) {
        Lines m = machine();
        return static_cast<int>(std::count(m.begin(), m.end(), c));
    }
    FakeWindowSystem ws;
};

TEST_F(MainWindow, StartsUpConnectedWithTheDrawingAndTheButtons) {
    write("log.dat", "5 0 0 0 0 0 0 0.000000");
    start("squares.dxf");
    EXPECT_EQ(message_line.err, 0) << message_line.record;
    EXPECT_EQ(win.cover, 1);
    EXPECT_EQ(counters.images, 5);
    EXPECT_EQ(shapes.objects, 3);
    EXPECT_EQ(read("ctrace.txt").substr(0, 21), "Communications trace\n");
    EXPECT_EQ(machine(), (Lines{"T,0"}));
    ASSERT_EQ(ws.buttons.size(), 7u);
    std::vector<int> xs;
    for (auto& b : ws.buttons) xs.push_back(b.x);
    EXPECT_EQ(xs, (std::vector<int>{5, 70, 185, 300, 385, 460, 535}));
    EXPECT_EQ(ws.buttons[3].label, "Run Tool");
    EXPECT_EQ(ws.buttons[3].h, 40);
    EXPECT_EQ(ws.buttons[6].label, "Previous");  // after the row it always had
    EXPECT_EQ(win.button_x, 535);
    EXPECT_TRUE(ws.boxes.empty());
    EXPECT_EQ(without_plan(ws.status), "Controller ready on /dev/ttyS0   |   Drawing in inches");
}

TEST_F(MainWindow, ButtonRowsOfTheOtherModels) {
    settings.model = 2;
    start();
    EXPECT_EQ(ws.buttons[3].label, "Load Tool");
    EXPECT_EQ(ws.buttons[4].x, 385);
    EXPECT_EQ(ws.buttons[6].x, 545);
    EXPECT_EQ(win.button_x, 620);

    ws.buttons.clear();
    win.cover = 0;
    settings.model = 4;
    start();
    ASSERT_EQ(ws.buttons.size(), 9u);
    EXPECT_EQ(ws.buttons[7].label, "Reset tool");
    EXPECT_EQ(ws.buttons[7].x, 200);
    EXPECT_EQ(ws.buttons[7].y, 60);
    EXPECT_EQ(ws.buttons[8].x, 350);
    EXPECT_EQ(win.button_x, 610);
    EXPECT_EQ(win.cover, 0);  // a Galil machine must be reset first
}

// A start without a controller says why and offers Connect, Close (the
// window without the machine) or Exit; no click ends the program.
TEST_F(MainWindow, AStartUpFailureOffersConnectCloseOrExit) {
    settings.port = 0;  // no setup.dat: the settings stay as they are
    ws.choices = {"&Connect", "C&lose"};  // the port is still wrong at the second try
    zelWndProc({WindowMessage::create});
    EXPECT_TRUE(ws.asked.empty());  // asked once the window shows
    zelWndProc({WindowMessage::shown});
    EXPECT_EQ(message_line.err, 0);
    EXPECT_EQ(ws.status, "No controller: Communications Port 0 cannot be used   |   Drawings in inches");
    ASSERT_EQ(ws.asked.size(), 2u);
    EXPECT_NE(ws.asked[0].text.find("1, 2, 3 or 4"), std::string::npos);
    EXPECT_NE(ws.asked[0].text.find("Tools, Serial port..."), std::string::npos);
    EXPECT_EQ(ws.asked[0].default_button, 0);  // Enter connects
    EXPECT_TRUE(ws.command_buttons[IDM_CONNECT]);
    click(300, 300);
    EXPECT_FALSE(ws.ended_status);

    settings.port = 1;
    command(IDM_CONNECT);
    EXPECT_EQ(ws.status.rfind("Controller ready on /dev/ttyS0", 0), 0u) << ws.status;
    EXPECT_FALSE(ws.command_buttons[IDM_CONNECT]);

    settings.port = 0;
    ws.choices = {"E&xit"};
    zelWndProc({WindowMessage::create});
    zelWndProc({WindowMessage::shown});
    EXPECT_EQ(ws.ended_status, 0);
}

// A port setup.dat holds out of range is named as the file holds it, not as
// the 0 the setting kept.
TEST_F(MainWindow, APortRefusedInSetupDatIsNamedAsTheFileHoldsIt) {
    reset_settings();  // as the program starts
    write("setup.dat", "1000 0.125 0.5 30 1 7 0.25 6 60 420 0 2.5 24 1 1 3 6 0");
    ws.choices = {"C&lose"};
    zelWndProc({WindowMessage::create});
    zelWndProc({WindowMessage::shown});
    EXPECT_EQ(settings.port, 0);  // the file's 7 is not taken
    EXPECT_EQ(ws.status.rfind("No controller: Communications Port 7 cannot be used", 0), 0u)
        << ws.status;
    ASSERT_EQ(ws.boxes.size(), 1u);  // the settings file
    ASSERT_EQ(ws.asked.size(), 1u);  // the reason for the technician, and Connect or Close
    EXPECT_NE(ws.asked[0].text.find("Communications Port is 7 in setup.dat; it must be 1, 2, 3 "
                                    "or 4."),
              std::string::npos)
        << ws.asked[0].text;
}

TEST_F(MainWindow, ControllerThatNeverGetsReady) {
    SimOptions o;
    o.handshake = '?';
    o.restart_helps = false;
    sim().set_options(o);
    ws.choices = {"C&lose"};
    start();
    ASSERT_EQ(ws.asked.size(), 1u);
    EXPECT_EQ(ws.asked[0].text.rfind("*** Error communicating with controller\n\nThe Slo-Syn "
                                     "controller on /dev/ttyS0 never answered",
                                     0),
              0u);
    EXPECT_EQ(message_line.err, 0);
}

// A painted message stays until a click clears it; the click selects
// nothing and nothing ends the program but Exit.
TEST_F(MainWindow, APaintedMessageIsClearedByAClick) {
    start("missing.dxf");
    EXPECT_EQ(message_line.err, 1);
    EXPECT_EQ(message_line.record, dir.file("missing.dxf") + " Failed to open");
    settings.model = 4;
    win.cover = 0;
    ws.open_file_choice = dir.file("squares.dxf");
    command(IDM_OPEN);
    for (int id : {IDM_RUN_TOOL, IDM_MOVE}) {
        command(id);
        EXPECT_EQ(message_line.record, "Must reset tool");
        int selected = shapes.selected;
        click(180, 390);  // on the third square
        EXPECT_EQ(message_line.err, 0);
        EXPECT_EQ(shapes.selected, selected);
        click(180, 390);
        EXPECT_EQ(shapes.selected, 3);
        shapes.selected = 1;
    }
    EXPECT_FALSE(ws.ended_status);
}

TEST_F(MainWindow, MissingSettingsAreANotice) {
    start();
    std::remove(dir.file("setup.dat").c_str());
    reset_settings();
    ws.choices = {"C&lose"};  // nor a port
    zelWndProc({WindowMessage::create});
    ASSERT_FALSE(ws.boxes.empty());
    EXPECT_NE(ws.boxes[0].text.find("setup.dat"), std::string::npos);
}

TEST_F(MainWindow, DrawingCommandsWaitForADrawing) {
    start();
    size(800, 540);
    for (int id : {IDM_RUN_TOOL, IDM_NEXT, IDM_START_PLUS, IDM_START_NEG, IDM_ZOOM_IN,
                   IDM_ZOOM_OUT, IDM_IMAGE_LENGTH, IDM_JOB_LENGTH, IDM_FIT})
        command(id);
    click(100, 100);
    key('F');
    wheel(100, 100, 120);
    mouse(WindowMessage::middle_button_down, 100, 100);
    mouse(WindowMessage::mouse_move, 150, 150);
    zelWndProc({WindowMessage::scroll, kHorizontalBar, 40});
    EXPECT_EQ(machine(), (Lines{"T,0"}));
    EXPECT_TRUE(ws.dialogs.empty());
    EXPECT_EQ(win.zoom, 1);
    EXPECT_EQ(win.pan_x, 0);
    EXPECT_EQ(win.pan_y, 0);
    EXPECT_EQ(ws.horizontal, ScrollRange{});  // scrolling nothing
    EXPECT_EQ(shapes.selected, 0);
}

TEST_F(MainWindow, ZoomAndSelection) {
    start("squares.dxf");
    command(IDM_ZOOM_OUT);
    EXPECT_EQ(win.zoom, 1);
    command(IDM_ZOOM_IN);
    command(IDM_ZOOM_IN);
    EXPECT_EQ(win.zoom, 3);
    command(IDM_ZOOM_OUT);
    EXPECT_EQ(win.zoom, 2);
    command(IDM_NEXT);
    command(IDM_NEXT);
    EXPECT_EQ(shapes.selected, 3);
    command(IDM_NEXT);
    EXPECT_EQ(shapes.selected, 1);
    // A click near the second square's corner (20, 10) at zoom 2: window (60 + 120, 420 - 60).
    job.toggle = 0;
    job.pause = 2;
    click(183, 357);
    EXPECT_EQ(shapes.selected, 2);
    EXPECT_EQ(job.toggle, 1);
    EXPECT_EQ(job.pause, 0);
    settings.XOFFSET = INT32_MIN;  // the view frame cannot overflow
    click(INT32_MAX, 0);
    EXPECT_EQ(shapes.selected, 2);
}

// A click anywhere on an outline picks the figure as Next would; a click on
// empty space changes nothing at all.
TEST_F(MainWindow, PickingByTheOutline) {
    start("squares.dxf");  // at zoom 1 the second square spans x 120-150, y 390-420
    job.toggle = 0;
    job.pause = 2;
    job.whole_job = 1;
    job.repeat_count = 3;
    int repaints = ws.invalidations;
    click(135, 427);  // 7 below the middle of its bottom line, 15 from either corner
    EXPECT_EQ(shapes.selected, 1);
    EXPECT_EQ(job.toggle, 0);
    EXPECT_EQ(job.pause, 2);
    EXPECT_EQ(job.repeat_count, 3);
    EXPECT_EQ(ws.invalidations, repaints);

    click(135, 426);  // 6 below it
    EXPECT_EQ(shapes.selected, 2);
    EXPECT_EQ(job.toggle, 1);
    EXPECT_EQ(job.pause, 0);
    EXPECT_EQ(job.whole_job, 0);
    EXPECT_EQ(job.repeat_count, 1);
    EXPECT_EQ(ws.invalidations, repaints + 1);
}

// A drawing that would not show at the X and Y Offset settings is fitted as
// soon as the window knows its size; one that shows keeps the view it has
// always had.
TEST_F(MainWindow, ADrawingOutsideTheViewIsFittedOnLoad) {
    Drawing far;
    far.polyline().vertex(500, 500).vertex(520, 500).vertex(520, 510).seqend();
    write("far.dxf", far.text());
    start("squares.dxf");
    size(640, 540);
    EXPECT_EQ(win.zoom, 1);
    EXPECT_EQ(win.pan_x, 0);
    EXPECT_EQ(paint()[2], "move 60 420");
    EXPECT_EQ(without_plan(ws.status), "Controller ready on /dev/ttyS0   |   Drawing in inches");

    ws.open_file_choice = dir.file("far.dxf");
    command(IDM_OPEN);  // 60 x 30 units into the area (20, 65)-(620, 520): zoom 10
    EXPECT_EQ(win.zoom, 10);
    EXPECT_TRUE(painted("move 20 443"));  // (1500, 1500) at the area's left, centred up and down
    // The note follows what else the drawing part says, and goes at the next load.
    EXPECT_EQ(without_plan(ws.status),
              "Controller ready on /dev/ttyS0   |   Drawing in inches; Fitted to the window: at "
              "the X and Y Offset settings the drawing would not show");
    ws.open_file_choice = dir.file("squares.dxf");
    command(IDM_OPEN);  // back at the offsets and the zoom of the start
    EXPECT_EQ(win.zoom, 1);
    EXPECT_EQ(win.pan_x, 0);
    EXPECT_EQ(win.pan_y, 0);
    EXPECT_EQ(without_plan(ws.status), "Controller ready on /dev/ttyS0   |   Drawing in inches");
}

// The key F fits, the wheel zooms about the pointer, a middle or Shift+left
// drag and the scroll bars move the drawing, and Zoom + keeps its origin
// where they left it. The release of a drag picks nothing.
TEST_F(MainWindow, TheOperatorMovesTheView) {
    start("squares.dxf");
    size(790, 400);  // the area (20, 65)-(770, 380): 150 x 30 units fit at zoom 5
    EXPECT_EQ(ws.horizontal, (ScrollRange{-620, -20, 750, -60}));
    key('F', kControlHeld);
    EXPECT_EQ(win.zoom, 1);
    key('F');
    EXPECT_EQ(win.zoom, 5);
    EXPECT_TRUE(painted("move 20 298"));  // (395 - 75 * 5, 222.5 + 15 * 5)

    wheel(20, 300, 480);  // four notches, 2.5 pixels below the first square's start
    EXPECT_EQ(win.zoom, 10);
    EXPECT_TRUE(painted("move 20 295"));

    win.zoom = 1;
    win.pan_x = win.pan_y = 0;
    mouse(WindowMessage::mouse_move, 300, 300);  // no button held: nothing
    mouse(WindowMessage::middle_button_down, 100, 100);
    mouse(WindowMessage::mouse_move, 130, 90);
    mouse(WindowMessage::mouse_move, 150, 80);
    mouse(WindowMessage::middle_button_up, 150, 80);
    EXPECT_EQ(win.pan_x, 50);
    EXPECT_EQ(win.pan_y, -20);
    // From the second square's outline, now at y 370-400.
    mouse(WindowMessage::left_button_down, 185, 400, kShiftHeld);
    mouse(WindowMessage::mouse_move, 185, 410);
    mouse(WindowMessage::left_button_up, 185, 410);
    EXPECT_EQ(win.pan_y, -10);
    EXPECT_EQ(shapes.selected, 1);

    zelWndProc({WindowMessage::scroll, kHorizontalBar, -80});  // 30 on from -110
    EXPECT_EQ(win.pan_x, 20);
    command(IDM_ZOOM_IN);
    EXPECT_TRUE(painted("move 80 410"));
}

TEST_F(MainWindow, StartPointAndDividePoint) {
    start("squares.dxf");
    command(IDM_START_PLUS);
    EXPECT_EQ(shapes.p1[0], 10.0f);
    command(IDM_START_NEG);
    EXPECT_EQ(shapes.p1[0], 0.0f);
    command(IDM_DIVIDE);
    command(IDM_START_NEG);
    EXPECT_EQ(job.pause, 5);
    EXPECT_EQ(shapes.p1[0], 0.0f);
}

TEST_F(MainWindow, RunToolRepeatsAndCountsImages) {
    start("squares.dxf");
    ws.scripts.push_back({type(223, "4"), press(IDOK)});
    command(IDM_REPEAT);
    EXPECT_EQ(job.repeat_count, 4);
    command(IDM_RUN_TOOL);
    EXPECT_EQ(count_in_machine("S,0"), 4);
    EXPECT_EQ(counters.images, 4);
    EXPECT_EQ(job.repeat_count, 1);
    EXPECT_EQ(read("log.dat").substr(0, 2), "4 ");
}

TEST_F(MainWindow, ContinuousJobMakesEveryFigureOnce) {
    start("squares.dxf");
    command(IDM_NEXT);
    command(IDM_CONTINUOUS);
    command(IDM_RUN_TOOL);
    EXPECT_EQ(count_in_machine("S,0"), 3);
    EXPECT_EQ(count_in_machine("V,0"), 3);  // the clockwise square's corners
    EXPECT_EQ(counters.images, 3);
    EXPECT_EQ(shapes.selected, 2);
    EXPECT_EQ(job.whole_job, 0);
}

TEST_F(MainWindow, RefusedJobIsNotCounted) {
    settings.direction = 2;
    start("squares.dxf");
    command(IDM_RUN_TOOL);
    EXPECT_EQ(counters.images, 0);
    EXPECT_EQ(machine(), (Lines{"T,0"}));
    ASSERT_EQ(ws.boxes.size(), 1u);
    EXPECT_NE(ws.boxes[0].text.find("forming direction"), std::string::npos);
}

TEST_F(MainWindow, GalilMustBeResetBeforeTheTools) {
    settings.model = 4;
    start("squares.dxf");
    command(IDM_SHEER);
    command(IDM_NOTCH30);
    command(IDM_RUN);
    EXPECT_EQ(machine().size(), 4u);  // the start-up only
    command(IDM_RUN_TOOL);
    EXPECT_EQ(message_line.record, "Must reset tool");
    EXPECT_EQ(message_line.err, 1);
    command(IDM_RESET_TOOL);
    EXPECT_EQ(message_line.err, 0);
    EXPECT_EQ(win.cover, 1);
    EXPECT_EQ(machine().back(), "7");
    command(IDM_SHEER);
    EXPECT_EQ(machine().back(), "4");
    command(IDM_NOTCH100);
    EXPECT_EQ(machine().back(), "2");
    EXPECT_EQ(counters.notch100, 0);  // the menu's 100-degree notch is not counted
    command(IDM_COVER_OPEN);
    EXPECT_EQ(machine().back(), "12");
    EXPECT_EQ(win.cover, 0);
    command(IDM_MOVE);
    EXPECT_EQ(message_line.record, "Must reset tool");
}

TEST_F(MainWindow, MovesByTheDistanceEntered) {
    start();
    ws.scripts.push_back({type(208, "2.5"), press(IDOK)});
    command(IDM_MOVE);
    ws.scripts.push_back({type(208, "1"), press(IDOK)});
    command(IDM_UNCALIBRATED);
    ws.scripts.push_back({press(IDCANCEL)});
    command(IDM_MOVE);
    EXPECT_EQ(machine(), (Lines{"T,0", "M,-2500.000000", "F,-1000.000000"}));
}

TEST_F(MainWindow, NotchingRunFromTheRunDialog) {
    start();
    ws.scripts.push_back({type(212, "5"), type(213, "10"), press(IDOK)});
    command(IDM_RUN);
    Lines m = machine();
    EXPECT_EQ(Lines(m.begin(), m.begin() + 5),
              (Lines{"T,0", "H,0", "M,-2500.000000", "M,-5000.000000", "N,0"}));
    EXPECT_EQ(job_trace()[3], "Fire 30 degree notcher");

    ws.scripts.push_back({type(212, "0"), press(IDOK)});
    sim().clear_log();
    command(IDM_RUN);
    EXPECT_TRUE(machine().empty());
    EXPECT_NE(ws.boxes.back().text.find("must be more than 0"), std::string::npos);
}

// Setup's OK takes effect at once: a new model, port or steps per inch
// through a fresh start-up of the controller.
TEST_F(MainWindow, SetupAppliesAtOnce) {
    start();
    ws.scripts.push_back({type(247, "7"), press(IDOK)});
    sim().clear_log();
    command(IDM_SETUP);
    EXPECT_EQ(settings.rw, 7.0f);
    EXPECT_EQ(message_line.err, 0);
    EXPECT_NE(ws.status.find("Set up data saved"), std::string::npos);
    EXPECT_TRUE(machine().empty());  // nothing the controller needs to know

    ws.scripts.push_back({type(206, "2000"), press(IDOK)});
    command(IDM_SETUP);
    EXPECT_EQ(machine(), (Lines{"T,0"}));  // started again with the new steps per inch
    EXPECT_EQ(ws.status.rfind("Controller ready on /dev/ttyS0", 0), 0u) << ws.status;

    sim().clear_log();
    sim().set_family(ControllerFamily::galil);  // the machine changed too
    ws.scripts.push_back({type(246, "4"), press(IDOK)});
    command(IDM_SETUP);
    EXPECT_EQ(machine().front(), "75");  // now a Galil, which must be reset
    EXPECT_EQ(machine().back(), "8");
    EXPECT_EQ(win.cover, 0);
    EXPECT_EQ(ws.buttons.back().label, "Cover open");

    ws.scripts.push_back({press(IDCANCEL)});
    sim().clear_log();
    command(IDM_SETUP);
    EXPECT_TRUE(machine().empty());
}

TEST_F(MainWindow, LengthsOfOneFigureAndOfTheJob) {
    start("squares.dxf");
    command(IDM_SEGMENTS_ON);
    command(IDM_IMAGE_LENGTH);
    ASSERT_EQ(ws.dialogs.size(), 1u);
    EXPECT_EQ(ws.dialogs[0].after_init.at(222), "39.839");
    EXPECT_EQ(ws.viewed, (Lines{dir.file("segments.txt")}));
    command(IDM_NEXT);
    command(IDM_JOB_LENGTH);
    EXPECT_EQ(ws.dialogs[1].after_init.at(222), "119.678");
    EXPECT_EQ(shapes.selected, 2);
    command(IDM_SEGMENTS_OFF);
    command(IDM_IMAGE_LENGTH);
    EXPECT_EQ(ws.viewed.size(), 1u);
}

TEST_F(MainWindow, ChangeTabSavesTheSettings) {
    start();
    ws.scripts.push_back({press(230)});
    command(IDM_CHANGE_TAB);
    EXPECT_EQ(settings.tab, 3);
    EXPECT_NE(read("setup.dat").find(" 60 420 3 2.500000 "), std::string::npos);
}

TEST_F(MainWindow, OpenCommand) {
    start();
    command(IDM_OPEN);  // cancelled
    EXPECT_EQ(shapes.PointsLoaded, 0);
    wall_list.walls = 1;
    wall_list.l_a_dimensions[0] = 12.0f;
    wall_list.angles[4799] = 90.0f;
    ws.open_file_choice = dir.file("squares.dxf");
    command(IDM_OPEN);
    EXPECT_EQ(shapes.objects, 3);
    // The walls of the drawing before are gone; a job end now reads a last wall of 0.
    EXPECT_EQ(wall_list.l_a_dimensions[0], 0.0f);
    EXPECT_EQ(wall_list.angles[4799], 0.0f);
    EXPECT_EQ(wall_list.walls, 1);
    ws.open_file_choice = dir.file("gone.dxf");
    command(IDM_OPEN);
    EXPECT_EQ(ws.title, "trm");
    EXPECT_EQ(shapes.objects, 3);
    write("lw.dxf", "  0\nLWPOLYLINE\n 10\n1\n 20\n1\n  0\nEOF\n");
    ws.open_file_choice = dir.file("lw.dxf");
    command(IDM_OPEN);
    EXPECT_NE(ws.boxes.back().text.find("LWPOLYLINE"), std::string::npos);
    show_message("Must reset tool");
    ws.open_file_choice = dir.file("squares.dxf");
    command(IDM_OPEN);  // opens, whatever is painted
    EXPECT_FALSE(ws.ended_status);
    EXPECT_EQ(shapes.objects, 3);
}

// Not opened, refused for its size, or failing as it is read: the drawing
// before stays as it was, and a click still picks its figures.
TEST_F(MainWindow, AFailedOpenLeavesTheDrawingBeforeOnScreenAndSelectable) {
    if (FILE* f = std::fopen("/proc/self/mem", "r+b")) std::fclose(f);
    else GTEST_SKIP() << "no file here that opens and then fails to read";
    start("squares.dxf");
    command(IDM_NEXT);
    ShapeTables before = shapes;
    Drawing big;
    for (int k = 0; k < 1700; ++k) big.circle(k * 3, 50, 1);
    write("big.dxf", big.text());
    for (const std::string& path :
         {dir.file("gone.dxf"), dir.file("big.dxf"), std::string("/proc/self/mem")}) {
        ws.open_file_choice = path;
        command(IDM_OPEN);
        EXPECT_EQ(std::memcmp(&before, &shapes, sizeof before), 0) << path;
    }
    ASSERT_EQ(ws.boxes.size(), 3u);
    EXPECT_EQ(ws.boxes[0].text,
              dir.file("gone.dxf") + " cannot be opened: No such file or directory");
    EXPECT_NE(ws.boxes[1].text.find("it needs 5101 shape table entries"), std::string::npos);
    EXPECT_EQ(ws.boxes[2].text, "/proc/self/mem could not be read: Input/output error");
    EXPECT_EQ(message_line.err, 0);
    EXPECT_EQ(without_plan(ws.status), "Controller ready on /dev/ttyS0   |   Drawing in inches");
    click(180, 390);  // the third square's corner (40, 10)
    EXPECT_EQ(shapes.selected, 3);
}

TEST_F(MainWindow, DrawingUnitsAreKeptAndTheDrawingIsReadAgainInThem) {
    Drawing d;
    d.header_variable("$INSUNITS", 4);
    d.lwpolyline({{0, 0, 0}, {254, 0, 0}, {254, 254, 0}, {0, 254, 0}});
    write("mm.dxf", d.text());
    start("mm.dxf");
    EXPECT_EQ(shapes.p3[0], 254.0f);
    ASSERT_EQ(ws.boxes.size(), 1u);
    EXPECT_EQ(ws.boxes[0].text,
              dir.file("mm.dxf") +
                  ": The drawing declares millimetres but is read in inches, one drawing unit to "
                  "the inch; Options, Drawing units can read it in millimetres.");
    EXPECT_EQ(without_plan(ws.status),
              "Controller ready on /dev/ttyS0   |   Drawing in inches (it declares millimetres)");

    ws.scripts.push_back({press(IDC_UNITS_DECLARED)});
    command(IDM_DRAWING_UNITS);
    EXPECT_EQ(ws.dialogs.back().after_init.at(IDC_UNITS_INCH), "In inches (in use)");
    EXPECT_EQ(read("units.dat"), "declared");
    EXPECT_EQ(shapes.p3[0], 10.0f);
    EXPECT_EQ(ws.boxes.size(), 1u);
    EXPECT_EQ(without_plan(ws.status),
              "Controller ready on /dev/ttyS0   |   Drawing in millimetres, scaled to inches");

    command(IDM_DRAWING_UNITS);  // cancelled
    EXPECT_EQ(ws.dialogs.back().after_init.at(IDC_UNITS_DECLARED), "As declared (in use)");
    EXPECT_EQ(read("units.dat"), "declared");
    // The join tolerance beside them: refused out of its range, kept within it.
    ws.scripts.push_back({type(IDC_UNITS_JOIN, "0.06"), press(IDC_UNITS_DECLARED),
                          type(IDC_UNITS_JOIN, "0.002"), press(IDC_UNITS_DECLARED)});
    command(IDM_DRAWING_UNITS);
    EXPECT_EQ(ws.dialogs.back().after_init.at(IDC_UNITS_JOIN), "0.0005");
    EXPECT_EQ(ws.boxes.back().text, "Join ends within \"0.06\" is not a number of inches from "
                                    "0.000001 to 0.05.\nNothing was saved.");
    EXPECT_EQ(read("units.dat"), "declared 0.002");
    EXPECT_EQ(unit_setting.join_tolerance, 0.002);
    reset_unit_setting();
    zelWndProc({WindowMessage::create});
    EXPECT_EQ(unit_setting.choice, UnitChoice::declared);
}

TEST_F(MainWindow, LoadToolFindsTheTrueStepsPerInch) {
    settings.model = 2;
    settings.unload = 24.0f;
    settings.steps = 1900.0f;
    settings.operate = 1;
    SimOptions o;
    o.steps_per_inch = 2000.0f;
    o.cell_distance = 24.0f;
    sim().set_options(o);
    start();
    command(IDM_LOAD_TOOL);
    EXPECT_NEAR(settings.steps, 2000.0f, 0.5f);
    std::string saved = read("setup.dat");
    EXPECT_EQ(std::count(saved.begin(), saved.end(), ' '), 16);  // seventeen fields
    EXPECT_EQ(machine().back(), strprintf("M,%f", -2.5f * settings.steps));
}

TEST_F(MainWindow, LoadToolWithABlindPhotoCellGivesUp) {
    settings.model = 2;
    settings.unload = 2.0f;
    settings.steps = 1000.0f;
    SimOptions o;
    o.cell_distance = 1000.0f;
    sim().set_options(o);
    start();
    std::string before = read("setup.dat");
    command(IDM_LOAD_TOOL);
    EXPECT_EQ(settings.steps, 1000.0f);
    EXPECT_EQ(read("setup.dat"), before);
    EXPECT_NE(ws.boxes.back().text.find("never saw the strip"), std::string::npos);
}

TEST_F(MainWindow, ClosingAndTheEndOfTheSession) {
    start();
    command(IDM_EXIT);
    EXPECT_EQ(ws.close_requests, 1);
    zelWndProc({WindowMessage::close});
    EXPECT_TRUE(ws.destroyed);
    zelWndProc({WindowMessage::destroy});
    EXPECT_EQ(ws.quit_status, 0);
    EXPECT_EQ(zelWndProc({WindowMessage::query_end_session}), 1);
}

// Continuous Job and Divide are modes: checked in the menu, named on the
// status line, and chosen again to leave them.
TEST_F(MainWindow, ModesAreCheckedAndNamed) {
    start("squares.dxf");
    EXPECT_FALSE(ws.checks[IDM_CONTINUOUS]);
    EXPECT_TRUE(ws.checks[IDM_CP_OFF]);
    const std::string plain = "Controller ready on /dev/ttyS0   |   Drawing in inches";
    const struct {
        int id;
        bool whole, divide;
        const char* named;
    } steps[] = {
        {IDM_CONTINUOUS, true, false, "   |   Continuous job"},
        {IDM_DIVIDE, true, true, "   |   Continuous job, divide"},
        {IDM_CONTINUOUS, false, true, "   |   Divide"},
        {IDM_DIVIDE, false, false, ""},
    };
    for (const auto& s : steps) {
        command(s.id);
        EXPECT_EQ(ws.checks[IDM_CONTINUOUS], s.whole);
        EXPECT_EQ(ws.checks[IDM_DIVIDE], s.divide);
        EXPECT_EQ(without_plan(ws.status), plain + s.named);
    }
    command(IDM_CP_ON);
    EXPECT_TRUE(ws.checks[IDM_CP_ON]);
    EXPECT_FALSE(ws.checks[IDM_CP_OFF]);
}

// Image Count: Cancel keeps the count there was, whatever Up and Down did.
TEST_F(MainWindow, ImageCountCancelKeepsTheCount) {
    start("squares.dxf");
    ws.scripts.push_back({type(223, "3"), press(IDOK)});
    command(IDM_REPEAT);
    ws.scripts.push_back({press(225), press(225), press(IDCANCEL)});
    command(IDM_REPEAT);
    EXPECT_EQ(job.repeat_count, 3);
}

// Every key a menu shows gives the menu's command, and every shortcut is shown.
TEST_F(MainWindow, ShortcutsGiveTheCommandsOfTheMenus) {
    for (const Shortcut& s : shortcuts()) {
        bool shown = false;
        for (const PopupMenu& p : menu_bar())
            for (const MenuItem& item : p.items) shown |= item.id == s.id && item.keys;
        EXPECT_TRUE(shown) << s.id;
    }
    start("squares.dxf");
    const struct {
        int key, held, selected, start_x;
    } steps[] = {
        {kKeyPageDown, 0, 2, 20}, {kKeyPageUp, 0, 1, 0},  {kKeyPageUp, 0, 3, 40},
        {kKeyRight, 0, 3, 40},    {kKeyPageDown, 0, 1, 0}, {kKeyRight, 0, 1, 10},
        {kKeyLeft, 0, 1, 0},
    };
    for (const auto& s : steps) {
        key(s.key, s.held);
        EXPECT_EQ(shapes.selected, s.selected);
        int first = 0, terminator = 0;
        ASSERT_TRUE(find_figure(shapes.selected, first, terminator));
        EXPECT_EQ(shapes.p1[first], s.start_x) << s.key;
    }
    key(kKeyPlus);
    EXPECT_GT(win.zoom, 1);
    ws.open_file_choice = dir.file("squares.dxf");
    key('O', kControlHeld);
    EXPECT_EQ(win.zoom, 1);  // opened anew
    key('R', kControlHeld);
    EXPECT_EQ(counters.images, 1);
}

// The window's place, and the drawings opened last, are kept in the machine
// folder from one start to the next; the Open dialog starts in the last one's folder.
TEST_F(MainWindow, PlaceAndRecentDrawingsAreKept) {
    start("squares.dxf");
    ws.placement = {40, 30, 1100, 800, false};
    zelWndProc({WindowMessage::destroy});
    EXPECT_EQ(ws.menu_labels[IDM_RECENT_FIRST],
              "&1 squares.dxf  (" + dir.file("squares.dxf") + ")");
    EXPECT_EQ(ws.menu_labels[IDM_RECENT_FIRST + 1], "");

    reset_preferences();
    ws.placement = {};
    ws.menu_labels.clear();
    win.carg = 0;
    win.drawing.clear();
    start();
    EXPECT_EQ(ws.placement, (WindowPlacement{40, 30, 1100, 800, false}));
    EXPECT_EQ(ws.menu_labels[IDM_RECENT_FIRST],
              "&1 squares.dxf  (" + dir.file("squares.dxf") + ")");
    command(IDM_RECENT_FIRST);
    EXPECT_EQ(win.drawing, dir.file("squares.dxf"));
    ws.open_file_choice.reset();
    win.open_dialog_path.clear();
    command(IDM_OPEN);  // cancelled
    EXPECT_EQ(ws.open_file_offered, dir.path() + "/");
}

// Large display and the dark theme: checked, kept in window.dat, the buttons
// and the painted texts half as large again; a window system without them
// says so and stays as it was.
TEST_F(MainWindow, LargeDisplayAndDarkThemeAreKeptAndAWindowWithoutThemSaysSo) {
    start("squares.dxf");
    Lines plain = paint();
    command(IDM_LARGE_DISPLAY);
    command(IDM_DARK_THEME);
    EXPECT_EQ(ws.look, (Look{true, true}));
    EXPECT_TRUE(ws.checks[IDM_LARGE_DISPLAY]);
    EXPECT_TRUE(ws.checks[IDM_DARK_THEME]);
    ASSERT_EQ(ws.buttons.size(), 7u);  // placed again, none made twice
    EXPECT_EQ(ws.buttons[3].label, "Run Tool");
    EXPECT_EQ(ws.buttons[3].x, 448);
    EXPECT_EQ(ws.buttons[3].h, 60);
    EXPECT_EQ(win.buttons_bottom, 67);
    EXPECT_NE(paint(), plain);
    EXPECT_NE(read("window.dat").find("large 1\ndark 1\n"), std::string::npos);

    command(IDM_LARGE_DISPLAY);
    command(IDM_DARK_THEME);
    EXPECT_EQ(ws.look, Look{});
    EXPECT_EQ(ws.buttons[3].x, 300);
    EXPECT_EQ(paint(), plain);

    ws.looks_shown = false;
    command(IDM_LARGE_DISPLAY);
    ASSERT_FALSE(ws.boxes.empty());
    EXPECT_EQ(ws.boxes.back().text, "Large display is not available in this build");
    EXPECT_FALSE(preferences.large);
    EXPECT_FALSE(ws.checks[IDM_LARGE_DISPLAY]);
    EXPECT_NE(read("window.dat").find("large 0\n"), std::string::npos);
}

TEST(StatusLine, PartsThatAreSetJoinedByABar) {
    reset_status_line();
    EXPECT_EQ(status_text(), "");
    status_line.drawing = "Units: inches";
    EXPECT_EQ(status_text(), "Units: inches");
    status_line.machine = "Simulated machine";
    status_line.work = "Job done";
    EXPECT_EQ(status_text(), "Simulated machine   |   Job done   |   Units: inches");
    reset_status_line();
}

}  // namespace
