// Win32 input as the window procedure's messages.
#include <gtest/gtest.h>

#include <utility>

#include "windows/messages.h"
#include "windows/win32_window_system.h"

namespace {

LPARAM at(int x, int y) { return MAKELPARAM(x, y); }

TEST(Win32Messages, MouseMessagesOfTheClientArea) {
    struct Case {
        UINT message;
        WPARAM wp;
        LPARAM lp;
        bool taken;
        WindowMessage kind;
        int x, y, keys, delta;
    } cases[] = {
        {WM_LBUTTONDOWN, MK_LBUTTON, at(10, 20), true, WindowMessage::left_button_down, 10, 20, 0, 0},
        {WM_LBUTTONUP, MK_SHIFT, at(3, 4), true, WindowMessage::left_button_up, 3, 4, kShiftHeld, 0},
        {WM_MBUTTONDOWN, MK_MBUTTON | MK_CONTROL, at(5, 6), true,
         WindowMessage::middle_button_down, 5, 6, kControlHeld, 0},
        {WM_MBUTTONUP, 0, at(7, 8), true, WindowMessage::middle_button_up, 7, 8, 0, 0},
        {WM_MOUSEMOVE, MK_LBUTTON | MK_SHIFT, at(9, 10), true, WindowMessage::mouse_move, 9, 10,
         kShiftHeld, 0},
        {WM_MOUSEMOVE, MK_MBUTTON, at(-1, -2), true, WindowMessage::mouse_move, -1, -2, 0, 0},
        // A move with no button held, the right button and a wheel that did not turn: nothing.
        {WM_MOUSEMOVE, 0, at(1, 1), false, WindowMessage::mouse_move, 0, 0, 0, 0},
        {WM_RBUTTONDOWN, MK_RBUTTON, at(1, 1), false, WindowMessage::mouse_move, 0, 0, 0, 0},
        {WM_MOUSEWHEEL, MAKEWPARAM(0, 0), at(1, 1), false, WindowMessage::mouse_move, 0, 0, 0, 0},
        // The wheel's point comes on the screen: the client area starts at (100, 50).
        {WM_MOUSEWHEEL, MAKEWPARAM(MK_CONTROL, 120), at(130, 70), true,
         WindowMessage::mouse_wheel, 30, 20, kControlHeld, 120},
        {WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-240)), at(100, 50), true,
         WindowMessage::mouse_wheel, 0, 0, 0, -240},
    };
    for (const Case& c : cases) {
        Message m{WindowMessage::paint};
        SCOPED_TRACE(c.message);
        ASSERT_EQ(mouse_message(c.message, c.wp, c.lp, POINT{100, 50}, m), c.taken);
        if (!c.taken) continue;
        EXPECT_EQ(m.message, c.kind);
        EXPECT_EQ(m.x, c.x);
        EXPECT_EQ(m.y, c.y);
        EXPECT_EQ(m.keys, c.keys);
        EXPECT_EQ(m.delta, c.delta);
    }
}

TEST(Win32Messages, LettersDigitsAndTheShortcutKeysReachTheWindowOtherKeysStayWithTheControl) {
    const std::pair<WPARAM, int> keys[] = {
        {'F', 'F'}, {'0', '0'}, {'9', '9'}, {VK_ESCAPE, kKeyEscape},
        {VK_F1, kKeyF1}, {VK_F5, kKeyF5}, {VK_PRIOR, kKeyPageUp}, {VK_NEXT, kKeyPageDown},
        {VK_LEFT, kKeyLeft}, {VK_RIGHT, kKeyRight}, {VK_ADD, kKeyPlus}, {VK_OEM_MINUS, kKeyMinus},
        {VK_RETURN, 0}, {VK_TAB, 0}, {VK_SPACE, 0}, {VK_UP, 0}, {VK_F2, 0}, {VK_NUMPAD1, 0},
    };
    for (auto [vk, code] : keys) EXPECT_EQ(key_code(vk), code) << vk;
}

TEST(Win32Messages, ScrollRequestsStayWithinTheRange) {
    // Positions 0 to 100 with a page of 20: Windows keeps the end at 119.
    SCROLLINFO now{sizeof now, SIF_ALL, 0, 119, 20, 50, 77};
    struct Case {
        int request, to;
    } cases[] = {
        {SB_LINELEFT, 30},  {SB_LINERIGHT, 70}, {SB_PAGELEFT, 30}, {SB_PAGERIGHT, 70},
        {SB_THUMBTRACK, 77}, {SB_THUMBPOSITION, 77}, {SB_LEFT, 0}, {SB_RIGHT, 100},
        {SB_ENDSCROLL, 50},
    };
    for (const Case& c : cases) EXPECT_EQ(scroll_target(c.request, now, 20), c.to) << c.request;
    now.nPos = 95;
    EXPECT_EQ(scroll_target(SB_PAGERIGHT, now, 20), 100);
    now.nPos = 5;
    EXPECT_EQ(scroll_target(SB_LINELEFT, now, 20), 0);
}

TEST(Win32Messages, WhileTheMachineWorksOnlyStopEscAndTheWindowsOwnMessagesGetThrough) {
    HWND stop = reinterpret_cast<HWND>(0x1234), other = reinterpret_cast<HWND>(0x5678);
    struct Case {
        UINT message;
        HWND to;
        WPARAM wp;
        WhileWaiting what;
    } cases[] = {
        {WM_PAINT, other, 0, WhileWaiting::dispatch},
        {WM_TIMER, other, 0, WhileWaiting::dispatch},
        {WM_NCLBUTTONDOWN, other, HTCLOSE, WhileWaiting::dispatch},  // the close box
        {WM_LBUTTONDOWN, stop, 0, WhileWaiting::dispatch},
        {WM_LBUTTONUP, stop, 0, WhileWaiting::dispatch},
        {WM_KEYDOWN, other, VK_ESCAPE, WhileWaiting::stop},
        {WM_SYSKEYDOWN, other, VK_ESCAPE, WhileWaiting::stop},  // no window has the focus
        {WM_KEYDOWN, other, 'F', WhileWaiting::drop},
        {WM_CHAR, other, 'f', WhileWaiting::drop},
        {WM_LBUTTONDOWN, other, 0, WhileWaiting::drop},
        {WM_MOUSEWHEEL, other, 0, WhileWaiting::drop},
    };
    for (const Case& c : cases) {
        MSG msg{c.to, c.message, c.wp, 0, 0, {0, 0}};
        EXPECT_EQ(while_waiting(msg, stop), c.what) << c.message;
    }
}

}  // namespace
