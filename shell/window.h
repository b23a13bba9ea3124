#pragma once
#include <string>

#include "import/text.h"
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

// Makes letters from text the drawing, as open_drawing opens one: the title
// names the text, its font and height. Letters that cannot be made are
// refused with a notice, leaving the drawing before as it was (false).
bool open_letters(const TextRequest& request);
