#include "shell/status.h"

#include "platform/window_system.h"

StatusLine status_line;

void reset_status_line() { status_line = StatusLine{}; }

std::string status_text() {
    std::string out;
    for (const std::string* part : {&status_line.machine, &status_line.work, &status_line.drawing}) {
        if (part->empty()) continue;
        if (!out.empty()) out += "   |   ";
        out += *part;
    }
    return out;
}

void show_status() { window_system().set_status_text(status_text()); }
