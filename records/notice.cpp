#include "shell/notice.h"

#include <cstdio>

#include "shell/window_state.h"

namespace {
std::vector<std::string> pending;
}

void show_message(const std::string& text) {
    win.record = text;
    win.err = 1;
    std::fprintf(stderr, "zel: %s\n", text.c_str());
}

void notice(const std::string& text) {
    pending.push_back(text);
    std::fprintf(stderr, "zel: %s\n", text.c_str());
}

std::vector<std::string> take_notices() {
    std::vector<std::string> out;
    out.swap(pending);
    return out;
}
