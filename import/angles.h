#pragma once

// Cosine and sine of an angle in degrees, exact at the quarter turns, so
// that an arc from 0 to 90 degrees ends on its centre's axes and a block
// turned a quarter turn lands on whole coordinates.
struct Turn {
    double cos, sin;
};

Turn turn(double degrees);
