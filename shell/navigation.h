#pragma once
#include "platform/window_system.h"

// Moving the view over the drawing (fit, zoom, pan, scroll) and picking a
// figure by its outline. Every command here waits for a drawing.

// Image, Fit to window, and the key F: every figure into the client area
// below the buttons, with a margin.
void fit_to_window();

// "Zoom +" (step 1) and "Zoom -" (step -1): about the drawing's origin, which
// stays where it is in the window.
void zoom_button(int step);

// A drawing has just been loaded: the view goes back to the X and Y Offset
// settings at the same zoom, and is fitted when the drawing would not show
// there at all (the status line says so).
void view_after_load();

// The size, wheel, pan, key and scroll bar messages.
void view_message(const Message& m);

// A left button release: true when it ended a pan (and is no click).
bool pan_ended_by_left_button();

// A click at window pixel (x, y): the figure whose outline passes within six
// pixels becomes the selected one, as Select next would select it. False
// when no outline is that near.
bool pick_figure(int x, int y);
