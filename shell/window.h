#pragma once
#include <string>

#include "platform/window_system.h"

// The main window's procedure: every message the window receives, from its
// creation to its end, and every command of its menu and buttons.
int zelWndProc(const Message& m);

// Shows the notices that have piled up, one message box each.
void show_notices();

// Loads a drawing. The operator is told when it cannot be opened (false),
// when it cannot be read, when it shows no figure and why, and when it
// declares a unit it is not read in. A drawing that is not loaded leaves the
// one before as it was.
bool open_drawing(const std::string& path);
