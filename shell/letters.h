#pragma once
#include <string>

#include "import/text.h"
#include "platform/window_system.h"

// File, New from text...: the operator types the text, picks a font and a
// height, sees the letters and takes them as the drawing. The font and
// height are kept for the next time.
void new_from_text();

// The letters the dialog's fields ask for; false with the reason in `why`
// when a number cannot be read or the font is not installed.
bool letters_request(const TextFields& fields, TextRequest& request, std::string& why);
