#pragma once
#include <string>
#include <vector>

// The one way anything reaches the operator. Every text also goes to stderr.

// The message the main window shows while the program cannot go on.
struct MessageLine {
    int err = 0;         // 1 while the message is showing; the next click clears it
    std::string record;  // its text
};

extern MessageLine message_line;

void reset_message_line();

// The painted message goes.
void clear_message();

// A message the operator must act on before going on (reset the tool, start
// again for a new port): it is painted in the main window (`message_line`)
// until the next left click clears it.
void show_message(const std::string& text);

// A notice: the operator is told, and the program goes on. The window shows
// pending notices in a message box; the command-line modes print them.
void notice(const std::string& text);

// What the program ends on (the controller lost), with the caption of its
// box: told as a notice, and shown by the window as an error among the steps
// of the program's end.
void final_notice(const std::string& text, const std::string& caption);

// The text of the last notice, shown or not.
const std::string& last_notice();

struct Notice {
    std::string text;
    std::string caption;  // empty: the program's name, "ZEL"
    bool final = false;   // final_notice: the program ends on it
};

// Hands over the notices not yet shown, oldest first.
std::vector<Notice> take_pending_notices();
// The same, their texts only.
std::vector<std::string> take_notices();
