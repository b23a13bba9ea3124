// The Win32 main window's status line: wrapped, as tall as its text, and kept
// from shrinking while the machine works.
#include <gtest/gtest.h>

#include <string>

#include "windows/main_window.h"

namespace {

int ignore(const Message&) { return 0; }

int height_of(HWND w) {
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageW(&msg);
    RECT r{};
    ::GetWindowRect(w, &r);
    return r.bottom - r.top;
}

TEST(Win32MainWindow, TheStatusLineWrapsAndKeepsItsHeightWhileTheMachineWorks) {
    MainWindow window(ignore);
    window.create(SW_SHOWNORMAL);
    ::SetWindowPos(window.frame(), nullptr, 0, 0, 800, 600, SWP_NOMOVE | SWP_NOZORDER);
    window.set_status_text("Simulated machine");
    const int line = height_of(window.status_bar());
    std::string text = "Simulated machine   |   Drawing in inches   |   Plan: figure 1 of 6, 104 walls, "
                       "135.5 in. (11.3 ft), 116 30-degree notches, 1 indicate mark, 12 flange "
                       "bends, 1 shear, at least 1.9 s (no job measured yet)";
    window.set_status_text(text);
    const int tall = height_of(window.status_bar());
    EXPECT_GT(tall, line);
    window.set_busy(true);
    window.set_status_text("Simulated machine");
    EXPECT_EQ(height_of(window.status_bar()), tall);
    window.set_busy(false);
    EXPECT_EQ(height_of(window.status_bar()), line);
}

}  // namespace
