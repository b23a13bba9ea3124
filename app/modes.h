#pragma once
#include "app/cli.h"

// The program's modes, each after the program directory has been set up.
// Each returns the process exit status.
int run_window(const CommandLine& cl);
// The window cannot start (the machine folder is in use): `why` on stderr and,
// with a display, in a message box. Returns the exit status.
int refuse_window(const std::string& why);
int run_measure(const CommandLine& cl);
int run_check(const CommandLine& cl);
int run_ports(const CommandLine& cl);
int run_use_port(const CommandLine& cl);

// The serial devices of this computer, one line each, for the operator.
std::string serial_ports_text();
