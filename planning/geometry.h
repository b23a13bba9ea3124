#pragma once

// Bend geometry. Lengths in inches, angles in degrees.

// The direction of line two minus the direction of line one, folded into
// -180..180; positive when line two points counter-clockwise of line one.
float joint(double startx_line_one, double starty_line_one, double endx_line_one,
            double endy_line_one, double startx_line_two, double starty_line_two,
            double endx_line_two, double endy_line_two);

// The material lost on each side of a corner of `angle` degrees notched with a
// cutter of diameter `bit`.
double curfing(float bit, float angle);

// The length of the arc through start, middle and end, given the chord from
// start to middle (equal to middle to end) and the chord from start to end.
// Sets `cur_notch` to a fifth of the arc's radius when that is below `arc_notch`.
float arc_distance(float chord_A3, float chord_ARC);
