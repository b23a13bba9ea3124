#include "shell/preferences.h"

#include <algorithm>
#include <cstdio>
#include <sstream>

#include "platform/files.h"
#include "platform/text.h"
#include "records/progdir.h"

Preferences preferences;

void reset_preferences() { preferences = Preferences{}; }

// One setting a line: its name, a space, its value; "recent" once a drawing.
void read_preferences() {
    reset_preferences();
    std::string content, why;
    if (!read_small_file(program_file(kPreferencesFile), kRecordLimit, content, why)) return;
    std::istringstream in(content);
    std::string line;
    Preferences& p = preferences;
    while (std::getline(in, line)) {
        std::size_t space = line.find(' ');
        if (space == std::string::npos) continue;
        std::string name = line.substr(0, space), value = line.substr(space + 1);
        if (name == "placement") {
            WindowPlacement w;
            int maximized = 0;
            if (std::sscanf(value.c_str(), "%d %d %d %d %d", &w.x, &w.y, &w.w, &w.h, &maximized) == 5 &&
                w.w > 0 && w.h > 0 && w.w < 100000 && w.h < 100000) {
                w.maximized = maximized != 0;
                p.placement = w;
            }
        } else if (name == "large") {
            p.large = value == "1";
        } else if (name == "dark") {
            p.dark = value == "1";
        } else if (name == "recent" && !value.empty() && p.recent.size() < kRecentDrawings) {
            p.recent.push_back(value);
        }
    }
}

bool save_preferences(std::string& why) {
    const Preferences& p = preferences;
    const WindowPlacement& w = p.placement;
    std::string text = strprintf("placement %d %d %d %d %d\nlarge %d\ndark %d\n", w.x, w.y, w.w,
                                 w.h, w.maximized ? 1 : 0, p.large ? 1 : 0, p.dark ? 1 : 0);
    for (const std::string& r : p.recent) text += "recent " + r + "\n";
    return replace_file(program_file(kPreferencesFile), text, why);
}

void note_recent(const std::string& path) {
    auto& r = preferences.recent;
    r.erase(std::remove(r.begin(), r.end(), path), r.end());
    r.insert(r.begin(), path);
    if (r.size() > kRecentDrawings) r.resize(kRecentDrawings);
}

std::string last_drawing_folder() {
    if (preferences.recent.empty()) return "";
    const std::string& last = preferences.recent.front();
    std::size_t slash = last.find_last_of("/\\");
    return slash == std::string::npos ? "" : last.substr(0, slash + 1);
}
