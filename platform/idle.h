#pragma once

// While the program waits for the controller it calls idle() after every look
// at the port, so that the window system can keep the window painted and
// answering the desktop, and the window can show how far the work has come.
// Nothing happens unless a handler is installed.
using IdleHandler = void (*)();

// The window system's own handler (keeps the window alive).
void set_idle_handler(IdleHandler handler);
// The window's report of the work in progress, called at most every
// kReportIntervalMs from idle().
void set_progress_reporter(IdleHandler reporter);
void idle();

// No handler, no reporter: what a program without a window has.
void reset_idle();

// How long a wait may sleep before the window needs attention again; -1 when
// no window is attached and a wait may sleep until its own deadline.
int idle_interval_ms();

inline constexpr int kIdleIntervalMs = 100;
inline constexpr int kReportIntervalMs = 250;
