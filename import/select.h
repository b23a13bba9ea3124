#pragma once

// The selected figure and its start point. The start point of a figure is
// the start of its first element, so moving it turns the figure's elements
// round by one.

// Moves the start point of figure `selected` one vertex forward (`direction`
// 1) or back (-1), then rebuilds the screen point list. Any other direction
// only rebuilds the list. A figure that is not in the tables is left alone.
void rotate(int direction, int selected);

// The figure whose drawn outline passes nearest to (x, y), when it passes
// within `reach`; 0 when none does. (x, y) and `reach` are in the frame of
// the screen point list, before the view's zoom and offset. The outline is
// what the view draws: lines from point to point of the list, so an arc is
// two chords through its middle point. Of two figures at the same distance
// the first in the list wins.
int get_selected(double x, double y, double reach);

// The "Next" command: the figure after the selected one, figure 1 after the
// last; back to start point mode with no divide point and one repetition.
// Nothing happens before a drawing has been loaded.
// The figure before the selected one, the last before the first.
void select_previous();
void select_next();
