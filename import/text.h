#pragma once
#include <string>
#include <vector>

#include "fonts/fonts.h"

// Letters made from text in an installed font, as the drawing: each outline
// followed with lines and arcs within the fit tolerance, one closed figure
// per outline in the outlines' order, read into the shape tables exactly as
// a drawing of closed POLYLINEs would be.

struct TextRequest {
    std::string text;      // UTF-8, lines apart at line breaks
    FontFace font;
    TextStyle style;       // in inches
    bool millimetres = false;  // the height was given in millimetres (for its name)
};

// "OPEN (DejaVu Sans Bold, 12 in.)": the first line of the text, the font
// and the height as it was given.
std::string text_drawing_name(const TextRequest& request);

// The letters as an R12 DXF drawing of closed POLYLINEs with bulges, in
// inches. Empty with the reason in `why` when the text is refused or the
// letters need more entries than the shape tables hold.
std::string text_dxf(const TextRequest& request, std::string& why);

// The figures fitted to the outlines, as pairs of points for a preview:
// every outline a closed polygon of the fitted pieces (arcs in a few chords).
// Empty with the reason in `why` when the text is refused.
struct PreviewOutline {
    std::vector<double> xy;  // x0, y0, x1, y1, ... in inches, y up
};
std::vector<PreviewOutline> text_preview(const TextRequest& request, std::string& why);

// Reads the letters into the shape tables as load_array reads a drawing;
// refused with a notice for the operator that says why, and the tables left
// as they were. True when loaded.
bool load_letters(const TextRequest& request);
