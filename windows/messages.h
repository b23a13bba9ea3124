#pragma once
#include "platform/window_system.h"
#include "windows/win32.h"

// Win32 input as the window procedure's messages: the pure part of the
// window layer, tested on its own.

// kShiftHeld and kControlHeld from a mouse message's wParam (MK_SHIFT, MK_CONTROL).
int mouse_modifiers(WPARAM wp);
// The same for a key, from the keyboard's state now.
int key_modifiers();

// A mouse message of the client area as the window procedure's message:
// false for one it does not take (a move with no button held, other buttons).
// The wheel's position comes in screen coordinates; `client_origin` is where
// the client area's (0, 0) is on the screen.
bool mouse_message(UINT message, WPARAM wp, LPARAM lp, POINT client_origin, Message& out);

// The key code of key_down for a virtual key: letters and digits as their
// upper-case character, Esc as kKeyEscape; 0 for keys the window leaves to
// the control that has the focus.
int key_code(WPARAM virtual_key);

// Where a scroll bar's thumb goes for a WM_HSCROLL or WM_VSCROLL request,
// within min to max - page + 1 as Windows keeps it; `line` is one step.
int scroll_target(int request, const SCROLLINFO& now, int line);

// True for the input a waiting window drops (mouse and keyboard), false for
// what it still handles (paint, timers, the frame, the close box).
bool is_input(UINT message);
