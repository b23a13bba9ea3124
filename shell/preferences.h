#pragma once
#include <string>
#include <vector>

#include "platform/window_system.h"

// What the operator chose about the window itself, kept in window.dat in the
// machine folder: its place and size, the shop-floor view, and the drawings
// opened last. Nothing in it changes what is sent to the machine.
struct Preferences {
    WindowPlacement placement;
    bool large = false;                // Large display: thick outlines, large read-out
    bool dark = false;                 // the dark, high-contrast theme
    std::vector<std::string> recent;   // the drawings opened last, newest first
};

inline constexpr std::size_t kRecentDrawings = 8;
inline constexpr const char* kPreferencesFile = "window.dat";

extern Preferences preferences;

// A size in the window's pixels as the Large display shows it: half as large again.
inline int scaled(int pixels) { return preferences.large ? pixels * 3 / 2 : pixels; }

void reset_preferences();

// Reads window.dat; a file that is missing or damaged leaves the defaults
// (it is only about the window, so nothing is said).
void read_preferences();

// Writes window.dat whole; false, with `why`, when it could not be written.
bool save_preferences(std::string& why);

// The drawing at `path` was opened: it heads the recent drawings.
void note_recent(const std::string& path);

// The folder the Open dialog starts in: that of the last drawing opened.
std::string last_drawing_folder();
