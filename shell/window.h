#pragma once
#include "platform/window_system.h"

// The main window's procedure: every message the window receives, from its
// creation to its end, and every command of its menu and buttons.

enum class WindowMessage {
    create,             // the window is being created: connect, load, make the buttons
    command,            // a menu item or push button, by its command id
    left_button_up,     // the left mouse button released at (x, y) in window pixels
    paint,              // paint the client area on `canvas`
    close,              // the close box, or File Exit
    destroy,            // the window has gone: end the message loop
    query_end_session,  // the desktop session is ending
};

struct Message {
    WindowMessage message;
    int id = 0;                 // command
    int x = 0, y = 0;           // left_button_up
    Canvas* canvas = nullptr;   // paint
};

// Handles one message; 0 when handled, 1 for the end-session query.
int zelWndProc(const Message& m);

// Shows the notices that have piled up, one message box each.
void show_notices();

// The window title, and the font the window paints with: fixed pitch, 14
// pixels high and 9 wide.
inline constexpr const char* kFontFace = "System";
inline constexpr int kFontHeight = 14;
inline constexpr int kFontWidth = 9;
