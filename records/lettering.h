#pragma once
#include <string>

// The font and letter height last used for letters from text, kept in
// text.dat in the program directory: three lines, the font's family, its
// style (empty for the regular face) and the height with its unit ("12 in"
// or "300 mm").

struct Lettering {
    std::string family = "DejaVu Sans";
    std::string style = "Bold";
    double height = 12;        // in the unit below
    bool millimetres = false;  // else inches
};

extern Lettering lettering;

void reset_lettering();

// Reads text.dat. A missing file keeps the defaults; one that cannot be read
// or says something else is told to the operator and keeps them too.
void get_lettering();

// Writes text.dat, replacing it whole; on failure the old file stays and the
// operator is told.
bool save_lettering();
