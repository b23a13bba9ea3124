#pragma once
#include "platform/window_system.h"

// Paints the main window: every figure of the drawing, the selected one in
// colour with its start point mark, the control point and divide point marks,
// the tab setting, and a pending message.
void zelPaint(Canvas& canvas);

inline constexpr const char* kClickToQuit = "Left mouse click to clear screen and quit program";
