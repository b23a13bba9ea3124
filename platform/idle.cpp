#include "platform/idle.h"

namespace {
IdleHandler handler = nullptr;
}

void set_idle_handler(IdleHandler h) { handler = h; }

void idle() {
    if (handler) handler();
}
