#pragma once
#include "platform/window_system.h"

// The main window's procedure: every message the window receives, from its
// creation to its end, and every command of its menu and buttons.
int zelWndProc(const Message& m);

// Shows the notices that have piled up, one message box each.
void show_notices();
