#pragma once

// While the program waits for the controller it calls idle() on every poll of
// the port (about every millisecond), so that the window system can keep the
// window painted and answering the desktop. Nothing happens unless a handler
// is installed.
using IdleHandler = void (*)();
void set_idle_handler(IdleHandler handler);
void idle();
