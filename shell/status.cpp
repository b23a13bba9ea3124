#include "shell/status.h"

#include "platform/window_system.h"
#include "records/progress.h"

StatusLine status_line;

namespace {
std::string shown;  // what the window shows now
}

void reset_status_line() {
    status_line = StatusLine{};
    shown.clear();
}

std::string status_text() {
    std::string out;
    for (const std::string* part : {&status_line.machine, &status_line.work, &status_line.drawing,
                                    &status_line.plan, &status_line.mode}) {
        // While the machine works, the plan gives way to the work's progress.
        if (part->empty() || (part == &status_line.plan && progress.running)) continue;
        if (!out.empty()) out += "   |   ";
        out += *part;
    }
    return out;
}

// The window repaints the line only when it says something new.
void show_status() {
    std::string text = status_text();
    if (text == shown) return;
    shown = text;
    window_system().set_status_text(text);
}
