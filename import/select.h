#pragma once

// The selected figure and its start point. The start point of a figure is
// the start of its first element, so moving it turns the figure's elements
// round by one.

// Moves the start point of figure `selected` one vertex forward (`direction`
// 1) or back (-1), then rebuilds the screen point list. Any other direction
// only rebuilds the list. A figure that is not in the tables is left alone.
void rotate(int direction, int selected);

// The figure with a drawn point less than 10 pixels from (x, y) in both
// directions, (x, y) in the view's frame before offset and `zoom`; the
// current selection when no point is that close. The first such point in
// list order wins.
int get_selected(int x, int y, int zoom);

// The "Next" command: the figure after the selected one, figure 1 after the
// last; back to start point mode with no divide point and one repetition.
// Nothing happens before a drawing has been loaded.
void select_next();
