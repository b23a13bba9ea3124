#pragma once
// The Qt application of the widget tests: one for the whole run, on the
// offscreen platform, with the C locale for numbers as the program has it.
#include <QApplication>
#include <clocale>
#include <cstdlib>

inline QApplication& qt_app() {
    static int argc = 1;
    static char name[] = "zel";
    static char* argv[] = {name, nullptr};
    static QApplication* app = [] {
        setenv("QT_QPA_PLATFORM", "offscreen", 0);
        auto* a = new QApplication(argc, argv);
        std::setlocale(LC_NUMERIC, "C");
        QApplication::setQuitOnLastWindowClosed(false);
        return a;
    }();
    return *app;
}
