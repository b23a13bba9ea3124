#pragma once
#include <string>

// What the machine folder keeps of the device behind Communications Port n
// (1 to 4). On Linux it is the link COMn to the device; on Windows, where
// COM1 to COM9 are names the system keeps for itself, the file portN.dat
// holding the port's name, e.g. "COM7".

// The name of port n's binding in the machine folder: "COM1", "port1.dat".
std::string port_binding_name(int port);

// The device the program opens through the binding at `path`: the link
// itself on Linux, the port the file names on Windows ("\\.\COM7").
std::string bound_device(const std::string& path);

// The computer's own port n when the folder binds none: /dev/ttyS0 ... on
// Linux, \\.\COM1 ... on Windows.
std::string default_port_device(int port);

// What the binding at `path` leads to; empty when there is none.
std::string binding_target(const std::string& path);

// True when something is at `path` that is not a binding (a file, a folder).
bool blocks_binding(const std::string& path);

// Makes `path` lead to `target` at once, replacing an older binding; false
// with the reason in `why`, the old binding then untouched.
bool write_binding(const std::string& path, const std::string& target, std::string& why);

// The full name of a serial device the operator typed: "ttyUSB0" is
// /dev/ttyUSB0 and a path is made absolute on Linux; "com7", "\\.\COM7" are
// COM7 on Windows.
std::string full_device_name(const std::string& device);

// Why `device` cannot be bound as a serial port; empty when it can.
std::string not_a_serial_device(const std::string& device);

// How the operator makes port n lead to the right device, for a message:
// "put a link named COM1 to the right device (for example /dev/ttyUSB0) in
// DIR", "bind the right COM port as port 1 with Tools, Serial port... (zel
// --use-port COM7)".
std::string how_to_bind_port(int port, const std::string& folder);
