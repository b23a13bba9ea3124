// The main window on Qt: its menu bar, push buttons, mouse, wheel, keys,
// scroll bars, size, close box and paints reach the window procedure as
// messages, and the waits for the machine keep it painting while they
// swallow the operator's input.
#include <QAction>
#include <QCloseEvent>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <algorithm>

#include "controller/serial_link.h"
#include "import/dxf.h"
#include "platform/idle.h"
#include "qt/main_window.h"
#include "qt/qt_window_system.h"
#include "platform/text.h"
#include "records/settings.h"
#include "resources/resources.h"
#include "shell/window.h"
#include "shell/window_state.h"
#include "tests/qt/qt_app.h"
#include "tests/support/controller_support.h"

namespace {

std::vector<std::string> received;

// Records commands, clicks, paints and the end; the close box destroys the
// window, as the real window procedure does.
int recording_proc(const Message& m) {
    switch (m.message) {
    case WindowMessage::command: received.push_back("command " + std::to_string(m.id)); break;
    case WindowMessage::left_button_up:
        received.push_back(strprintf("click %d %d", m.x, m.y));
        break;
    case WindowMessage::left_button_down:
        received.push_back(strprintf("left down %d %d keys %d", m.x, m.y, m.keys));
        break;
    case WindowMessage::middle_button_down:
        received.push_back(strprintf("middle down %d %d", m.x, m.y));
        break;
    case WindowMessage::middle_button_up:
        received.push_back(strprintf("middle up %d %d", m.x, m.y));
        break;
    case WindowMessage::mouse_move: received.push_back(strprintf("move %d %d", m.x, m.y)); break;
    case WindowMessage::mouse_wheel:
        received.push_back(strprintf("wheel %d %d delta %d", m.x, m.y, m.delta));
        break;
    case WindowMessage::key_down:
        received.push_back(strprintf("key %d keys %d", m.id, m.keys));
        break;
    case WindowMessage::scroll: received.push_back(strprintf("scroll %d %d", m.id, m.x)); break;
    case WindowMessage::size: received.push_back(strprintf("size %d %d", m.x, m.y)); break;
    case WindowMessage::paint: received.push_back("paint"); break;
    case WindowMessage::close:
        received.push_back("close");
        window_system().destroy_window();
        break;
    case WindowMessage::destroy:
        received.push_back("destroy");
        window_system().post_quit(3);
        break;
    default: break;
    }
    return 0;
}

class Window : public ::testing::Test {
protected:
    Window() : window((qt_app(), recording_proc)), ws(window) { received.clear(); }
    // What arrived apart from paints and sizes.
    std::vector<std::string> messages() const {
        std::vector<std::string> out;
        for (const auto& m : received)
            if (m != "paint" && m.rfind("size", 0) != 0) out.push_back(m);
        return out;
    }
    MainWindow window;
    QtWindowSystem ws;
};

using Strings = std::vector<std::string>;

TEST_F(Window, TheMenuBarHasEveryItemOfTheResourcesWithItsMnemonicAndId) {
    QList<QAction*> menus = window.menuBar()->actions();
    auto popups = menu_bar();
    ASSERT_EQ(menus.size(), static_cast<qsizetype>(popups.size()));
    for (std::size_t i = 0; i < popups.size(); ++i) {
        EXPECT_EQ(menus[i]->text().toStdString(), popups[i].label);
        QList<QAction*> items = menus[i]->menu()->actions();
        ASSERT_EQ(items.size(), static_cast<qsizetype>(popups[i].items.size()));
        for (std::size_t j = 0; j < popups[i].items.size(); ++j) {
            const MenuItem& item = popups[i].items[j];
            SCOPED_TRACE(popups[i].label + std::string(" ") + std::to_string(j));
            EXPECT_EQ(items[j]->isSeparator(), item.label == nullptr);
            if (!item.label) continue;
            EXPECT_EQ(items[j]->text().toStdString(),
                      item.label + (item.keys ? "\t" + std::string(item.keys) : ""));
            EXPECT_EQ(items[j]->data().toInt(), item.id);
        }
    }
    // Tools: "&Run", -, "&Uncalibrated move", -, "&Setup"
    menus[1]->menu()->actions()[4]->trigger();
    menus[0]->menu()->actions()[13]->trigger();  // E&xit, after the recent drawings
    EXPECT_EQ(messages(), (Strings{"command 17", "command 13"}));
}

TEST_F(Window, LeftButtonReleasesInTheClientAreaComeInClientPixels) {
    window.show();
    QTest::mouseClick(window.client(), Qt::LeftButton, {}, QPoint(130, 340));
    QTest::mouseClick(window.client(), Qt::RightButton, {}, QPoint(10, 10));
    EXPECT_EQ(messages(), (Strings{"left down 130 340 keys 0", "click 130 340"}));
}

TEST_F(Window, MouseButtonsMovesAndTheWheelComeInClientPixels) {
    window.show();
    QWidget* client = window.client();
    QTest::mousePress(client, Qt::MiddleButton, {}, QPoint(100, 100));
    QMouseEvent move(QEvent::MouseMove, QPointF(130, 90), client->mapToGlobal(QPointF(130, 90)),
                     Qt::NoButton, Qt::MiddleButton, {});
    QCoreApplication::sendEvent(client, &move);
    QTest::mouseRelease(client, Qt::MiddleButton, {}, QPoint(130, 90));
    QTest::mousePress(client, Qt::LeftButton, Qt::ShiftModifier, QPoint(5, 6));
    QWheelEvent wheel(QPointF(40, 50), client->mapToGlobal(QPointF(40, 50)), {}, QPoint(0, -120),
                      Qt::NoButton, Qt::ControlModifier, Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(client, &wheel);
    EXPECT_EQ(messages(), (Strings{"middle down 100 100", "move 130 90", "middle up 130 90",
                                   "left down 5 6 keys 1", "wheel 40 50 delta -120"}));
}

TEST_F(Window, KeysTheFocusedWidgetLeavesAloneReachTheWindowProcedure) {
    window.show();
    QPushButton* next = window.add_button("Next", IDM_NEXT, 5, 5, 50, 40);
    next->setFocus();
    QTest::keyClick(next, Qt::Key_F);
    QTest::keyClick(next, Qt::Key_F, Qt::ControlModifier);
    QTest::keyClick(next, Qt::Key_Escape);
    QTest::keyClick(next, Qt::Key_F5);
    QTest::keyClick(next, Qt::Key_F6);  // not one of the program's keys
    EXPECT_EQ(messages(),
              (Strings{"key 70 keys 0", "key 70 keys 2", "key 27 keys 0", "key 116 keys 0"}));
}

// The keys the menus show reach the window procedure as keys, also where a
// button or the scroll area would have used them.
TEST_F(Window, TheMenusKeysReachTheWindowProcedure) {
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    QPushButton* next = window.add_button("Next", IDM_NEXT, 5, 5, 50, 40);
    next->setFocus();
    for (Qt::Key k : {Qt::Key_PageDown, Qt::Key_PageUp, Qt::Key_Right, Qt::Key_Left, Qt::Key_F1,
                      Qt::Key_Minus})
        QTest::keyClick(next, k);
    QTest::keyClick(next, Qt::Key_O, Qt::ControlModifier);
    QTest::keyClick(next, Qt::Key_R, Qt::ControlModifier);
    EXPECT_EQ(messages(), (Strings{"key 34 keys 0", "key 33 keys 0", "key 39 keys 0",
                                   "key 37 keys 0", "key 112 keys 0", "key 109 keys 0",
                                   "key 79 keys 2", "key 82 keys 2"}));
}

// The window procedure sets the scroll bars without being told; the
// operator's moves of them come as scroll messages.
TEST_F(Window, ScrollBarsAndTheClientAreasSize) {
    window.show();
    QCoreApplication::processEvents();
    QWidget* client = window.client();
    std::string size = strprintf("size %d %d", client->width(), client->height());
    EXPECT_NE(std::find(received.begin(), received.end(), size), received.end());
    ws.set_scroll_bars({-100, 400, 300, -20}, {0, 50, 200, 10});
    QScrollBar* h = window.client_area()->horizontalScrollBar();
    QScrollBar* v = window.client_area()->verticalScrollBar();
    EXPECT_EQ(h->minimum(), -100);
    EXPECT_EQ(h->maximum(), 400);
    EXPECT_EQ(h->pageStep(), 300);
    EXPECT_EQ(h->value(), -20);
    EXPECT_EQ(v->value(), 10);
    EXPECT_TRUE(messages().empty());
    h->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    v->setValue(35);
    EXPECT_EQ(messages(), (Strings{"scroll 0 0", "scroll 1 35"}));
}

// A long status line wraps at 800 x 600 and takes the lines it needs, no more
// once the machine's work is over.
TEST_F(Window, TheStatusLineIsAsTallAsItsTextAtTheWidthItHas) {
    window.resize(800, 600);
    window.show();
    std::string text = "Simulated machine | Job: figure 1, wall 69 of 104, 59.8 of 135.5 in., "
                       "2 s, about 2 s left | Drawing in inches | Continuous job, divide";
    ws.set_status_text(text);
    QCoreApplication::processEvents();
    StatusText* status = window.status_text();
    int line = status->fontMetrics().lineSpacing();
    EXPECT_GE(status->height(), 2 * line);
    EXPECT_LE(status->height(), 3 * line + 4);
    // While the machine works it keeps the lines it had: the window is not laid out anew.
    int tall = status->height();
    window.set_busy(true);
    ws.set_status_text("Simulated machine");
    QCoreApplication::processEvents();
    EXPECT_EQ(status->height(), tall);
    window.set_busy(false);
    QCoreApplication::processEvents();
    EXPECT_LE(status->height(), line + 4);
}

TEST_F(Window, TheCloseBoxAsksTheWindowProcedureWhichEndsTheLoopWithItsStatus) {
    window.show();
    ws.post_close();  // File Exit
    EXPECT_EQ(ws.run(), 3);
    EXPECT_EQ(messages(), (Strings{"close", "destroy"}));
    EXPECT_FALSE(window.isVisible());
    // A quit posted before the loop runs ends it at once.
    EXPECT_EQ(ws.run(), 3);
}

TEST_F(Window, WhileTheMachineWorksItRepaintsAndTakesOnlyStopEscAndTheCloseBox) {
    window.show();
    QPushButton* run = window.add_button("Run Tool", IDM_RUN_TOOL, 300, 5, 70, 40);
    QCoreApplication::processEvents();
    received.clear();

    // Input that arrives during a wait is handled by the next idle call: the
    // paint is done, the rest dropped for good.
    QTest::mouseClick(run, Qt::LeftButton);  // taken: no wait running yet
    QCoreApplication::processEvents();
    EXPECT_EQ(messages(), (Strings{"command 14"}));
    received.clear();
    ws.invalidate();
    QPoint at(100, 100);
    for (auto type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease})
        QCoreApplication::postEvent(window.client(),
                                    new QMouseEvent(type, at, window.client()->mapToGlobal(at),
                                                    Qt::LeftButton, Qt::LeftButton, {}));
    QCoreApplication::postEvent(run, new QKeyEvent(QEvent::KeyPress, Qt::Key_Space, {}));
    QCoreApplication::postEvent(run, new QKeyEvent(QEvent::KeyRelease, Qt::Key_Space, {}));
    QCoreApplication::postEvent(window.client(), new QKeyEvent(QEvent::KeyPress, Qt::Key_Escape, {}));
    QTest::qSleep(kIdleIntervalMs + 10);  // since any earlier idle call
    idle();
    // Esc reaches the window procedure as Stop.
    EXPECT_EQ(received, (Strings{"command 63", "paint"}));

    // Calls in quick succession leave Qt alone: the waits look at the port more often.
    received.clear();
    ws.invalidate();
    idle();
    EXPECT_EQ(received.size(), 0u);
    QTest::qSleep(kIdleIntervalMs + 10);
    idle();
    EXPECT_EQ(received, (Strings{"paint"}));
    EXPECT_TRUE(window.isVisible());

    // Afterwards the window takes input again.
    QTest::mouseClick(window.client(), Qt::LeftButton, {}, at);
    EXPECT_EQ(messages().back(), "click 100 100");

    // The close box reaches the window procedure during a wait too: it stops the work.
    QCloseEvent close;
    set_waiting_for_machine(true);
    QCoreApplication::sendEvent(&window, &close);
    set_waiting_for_machine(false);
    EXPECT_EQ(messages().back(), "destroy");
}

// The real view through the Qt paint: the test drawing's square, selected
// and in blue, with its start point mark, beside the tab text.
TEST_F(Window, PaintsTheDrawingThroughTheShellsViewPixelForPixel) {
    MainWindow real(zelWndProc);  // the shell's own window procedure
    reset_all_state();
    settings.XOFFSET = 60;
    settings.YOFFSET = 420;
    settings.direction = 1;
    settings.closed_figure = 1;
    win.button_x = 460;
    ASSERT_EQ(load_drawing(ZEL_SOURCE_DIR "/examples/drawings/letters.dxf"), DrawingLoad::loaded);
    real.show();
    QImage image = real.client()->grab().toImage();
    reset_all_state();
    auto at = [&](int x, int y) { return image.pixel(x, y) & 0xFFFFFF; };
    // The D's outline starts at the drawing's origin, window pixel (60, 420):
    // its mark covers 58..61 x 418..421, white inside.
    EXPECT_EQ(at(58, 418), 0x0000FFu);
    EXPECT_EQ(at(61, 421), 0x0000FFu);
    EXPECT_EQ(at(59, 419), 0xFFFFFFu);
    EXPECT_EQ(at(62, 420), 0x0000FFu);  // the bottom line leaves to the right
    // The E (figure 6) is black: its bottom left corner (114.667, 0) is at (404, 420).
    EXPECT_EQ(at(406, 420), 0x000000u);
    EXPECT_EQ(at(404, 410), 0x000000u);
    EXPECT_EQ(at(406, 410), 0xFFFFFFu);
    // "No tabs" at (565, 20): black within its cells, white around them.
    int dark = 0;
    for (int y = 20; y < 34; ++y)
        for (int x = 565; x < 565 + 7 * 9; ++x) dark += qGray(image.pixel(x, y)) < 128 ? 1 : 0;
    EXPECT_GT(dark, 40);
    EXPECT_EQ(at(564, 19), 0xFFFFFFu);
}

// The shell's own start-up makes the real buttons, with the in-process
// simulator as the port.
class Buttons : public ControllerTest {
protected:
    void SetUp() override {
        ControllerTest::SetUp();
        qt_app();
        write("log.dat", "0 0 0 0 0 0 0 0.000000");
        write("setup2.dat", "SH\n");
        // A message box would wait for the operator: none may come.
        QObject::connect(&no_boxes, &QTimer::timeout, [] {
            if (QWidget* w = QApplication::activeModalWidget()) {
                ADD_FAILURE() << w->windowTitle().toStdString();
                w->close();
            }
        });
        no_boxes.start(100);
    }
    std::vector<std::string> made(int model) {
        settings.model = model;
        settings.port = 1;
        settings.steps = 1000.0f;
        save_setup(SetupFields::all);
        sim().set_family(configured_family());
        MainWindow window(zelWndProc);
        QtWindowSystem ws(window);
        window.create();
        std::vector<std::string> out;
        for (QPushButton* b : window.client()->findChildren<QPushButton*>()) {
            QRect r = b->geometry();
            out.push_back(b->text().toStdString() + " " + std::to_string(r.x()) + "," +
                          std::to_string(r.y()) + " " + std::to_string(r.width()) + "x" +
                          std::to_string(r.height()));
        }
        reset_com();
        return out;
    }
    QTimer no_boxes;
};

TEST_F(Buttons, StandInTheirRowAndTheGalilsTwoBelowIt) {
    EXPECT_EQ(made(2), (Strings{"Next 5,5 50x40", "Rotate Point + 70,5 100x40",
                                "Rotate Point - 185,5 100x40", "Load Tool 300,5 70x40",
                                "Run Tool 385,5 70x40", "Zoom + 470,5 60x40",
                                "Zoom - 545,5 60x40", "Previous 620,5 60x40"}));
    EXPECT_EQ(made(4), (Strings{"Next 5,5 50x40", "Rotate Point + 70,5 100x40",
                                "Rotate Point - 185,5 100x40", "Run Tool 300,5 70x40",
                                "Zoom + 385,5 60x40", "Zoom - 460,5 60x40",
                                "Previous 535,5 60x40", "Reset tool 200,60 100x40", "Cover open 350,60 100x40"}));
}

}  // namespace
