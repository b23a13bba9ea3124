#include "records/notice.h"

#include <cstdio>

MessageLine message_line;

namespace {
std::vector<Notice> pending;
std::string last;
}

void reset_message_line() {
    message_line = MessageLine{};
    pending.clear();
    last.clear();
}

void show_message(const std::string& text) {
    message_line.record = text;
    message_line.err = 1;
    std::fprintf(stderr, "zel: %s\n", text.c_str());
}

void clear_message() {
    message_line.err = 0;
    message_line.record.clear();
}

void notice(const std::string& text) {
    pending.push_back({text, "", false});
    last = text;
    std::fprintf(stderr, "zel: %s\n", text.c_str());
}

void final_notice(const std::string& text, const std::string& caption) {
    notice(text);
    pending.back().caption = caption;
    pending.back().final = true;
}

const std::string& last_notice() { return last; }

std::vector<Notice> take_pending_notices() {
    std::vector<Notice> out;
    out.swap(pending);
    return out;
}

std::vector<std::string> take_notices() {
    std::vector<std::string> texts;
    for (Notice& n : take_pending_notices()) texts.push_back(std::move(n.text));
    return texts;
}
