#pragma once
#include "platform/window_system.h"
#include "shell/viewport.h"

// Paints the main window: every figure of the drawing, the selected one in
// colour with its start point mark and an arrow the way the strip runs, the
// control point and divide point marks, the tab setting, and a pending message.
void zelPaint(Canvas& canvas);

// The view as it stands: the window state's zoom and pan from the X and Y
// Offset settings.
ViewTransform current_view();

inline constexpr const char* kClickToClear = "Click anywhere to clear this message";
inline constexpr const char* kDivideLabel = "Divide";
// Beside the end of the strip of a stopped job.
inline constexpr const char* kStoppedLabel = "Stopped";
