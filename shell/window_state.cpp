#include "shell/window_state.h"

WindowState win;

void reset_window_state() { win = WindowState{}; }
