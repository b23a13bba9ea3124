#pragma once
#include <string>

// Linking a serial device as the port COMn of the machine folder, which is
// what the program opens for the Communications Port n (see port_device).
struct PortLink {
    int port = 0;
    std::string link;        // the machine folder's COMn
    std::string target;      // what it is to lead to: the device's stable name when it has one
    std::string old_target;  // what it leads to now; empty when there is no link yet
    std::string error;       // why it cannot be made; empty when it can

    bool replaces() const { return !old_target.empty() && old_target != target; }
    bool unchanged() const { return old_target == target; }
};

// Checks `device` (a path, or a bare name under /dev such as "ttyUSB0") and
// the machine folder's COMn, and says what linking would do. Nothing changes.
// Refused: a port other than 1 to 4, a device that is not a character
// device, and a COMn that is there but is not a link.
PortLink plan_port_link(const std::string& device, int port);

// What the machine folder's COMn leads to; empty when it is not a link.
std::string port_link_now(int port);

// Makes or replaces the link at once (a new link renamed over the old one).
// False with the reason in `why`; the old link is then untouched.
bool make_port_link(const PortLink& plan, std::string& why);

// What linking did, for the operator: "COM1 in DIR now leads to X", or
// "COM1 in DIR led to OLD; it now leads to X".
std::string port_link_done(const PortLink& plan);

// "" when the Communications Port in Setup is `port`; otherwise a sentence
// saying that the program opens another port until Setup is changed.
std::string port_setting_note(int port);
