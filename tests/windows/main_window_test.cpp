// The Win32 main window's status line (wrapped, as tall as its text, kept
// from shrinking while the machine works) and its looks for the shop floor.
#include <gtest/gtest.h>

#include <string>

#include "windows/canvas.h"
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
    window.set_look({true, false});  // half as large again
    EXPECT_GE(height_of(window.status_bar()), line * 5 / 4);
}

// The large dark look: a ground near black, lines light and three pixels wide.
TEST(Win32MainWindow, TheLargeDarkLookDrawsThickLightLinesOnADarkGround) {
    HDC screen = ::GetDC(nullptr);
    HDC dc = ::CreateCompatibleDC(screen);
    HBITMAP bitmap = ::CreateCompatibleBitmap(screen, 40, 40);
    HGDIOBJ old = ::SelectObject(dc, bitmap);
    {
        GdiCanvas canvas(dc, {true, true});
        canvas.rectangle(0, 0, 40, 40);
        canvas.select_pen(kBlack);
        canvas.move_to(5, 20);
        canvas.line_to(35, 20);
    }
    const COLORREF light = RGB(235, 235, 235), ground = RGB(24, 26, 30);
    for (int y : {19, 20, 21}) EXPECT_EQ(::GetPixel(dc, 20, y), light) << y;
    for (int y : {17, 23}) EXPECT_EQ(::GetPixel(dc, 20, y), ground) << y;
    EXPECT_EQ(::GetPixel(dc, 36, 20), ground);  // the line ends at its end point
    ::SelectObject(dc, old);
    ::DeleteObject(bitmap);
    ::DeleteDC(dc);
    ::ReleaseDC(nullptr, screen);
}

}  // namespace
