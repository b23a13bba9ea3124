// The window: the program's message loop on Qt, after the command line and
// the program directory have been handled.
#include <QApplication>
#include <QIcon>
#include <QMessageBox>
#include <QPixmap>
#include <clocale>
#include <cstdio>

#include "app/modes.h"
#include "qt/main_window.h"
#include "qt/qt_window_system.h"
#include "resources/resources.h"
#include "resources/strings.h"
#include "shell/window.h"

namespace {

bool no_display() {
    return qEnvironmentVariableIsEmpty("DISPLAY") &&
           qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") &&
           qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM");
}

}  // namespace

int refuse_window(const std::string& why) {
    std::fprintf(stderr, "zel: %s\n", why.c_str());
    if (no_display() || qgetenv("QT_QPA_PLATFORM") == "offscreen") return 1;
    int argc = 1;
    char name[] = "zel";
    char* argv[] = {name, nullptr};
    QApplication app(argc, argv);
    QMessageBox::critical(nullptr, kProductName, QString::fromLocal8Bit(why));
    return 1;
}

int run_window(const CommandLine&) {
    if (no_display()) {
        std::fprintf(stderr,
                     "zel: there is no display to open the window on (DISPLAY is not set).\n"
                     "Start zel from the desktop, or without one under a virtual display:\n"
                     "    xvfb-run -a zel ...\n");
        return 1;
    }
    int argc = 1;
    char name[] = "zel";
    char* argv[] = {name, nullptr};
    QApplication app(argc, argv);
    // Qt takes the C library's locale from the environment; settings,
    // drawings and reports are read and written with a decimal point.
    std::setlocale(LC_NUMERIC, "C");
    QApplication::setApplicationName(kAppName);
    QGuiApplication::setDesktopFileName(kAppName);
    QApplication::setWindowIcon(QIcon(QPixmap(kIconXpm)));
    QApplication::setQuitOnLastWindowClosed(false);

    MainWindow window(zelWndProc);
    QtWindowSystem ws(window);
    window.create();
    window.show();
    window.send(Message{WindowMessage::shown});
    return ws.run();
}
