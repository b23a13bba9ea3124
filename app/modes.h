#pragma once
#include <initializer_list>

#include "app/cli.h"
#include "records/settings.h"

// The program's modes, each after the program directory has been set up.
// Each returns the process exit status.
int run_window(const CommandLine& cl);
// The window cannot start (the machine folder is in use): `why` on stderr and,
// with a display, in a message box. Returns the exit status.
int refuse_window(const std::string& why);
int run_measure(const CommandLine& cl);
int run_export(const CommandLine& cl);
int run_check(const CommandLine& cl);
int run_ports(const CommandLine& cl);
int run_use_port(const CommandLine& cl);
int run_fonts(const CommandLine& cl);

// The letters of --text made the drawing, with the font and height last
// used where the command line names none; 0, or the exit status after
// saying why not.
int make_text_drawing(const CommandLine& cl);

// Reads the drawing the command line names with the machine folder's
// settings, as --measure and --export-dxf do; 0, or the exit status after
// saying why not (`nothing_done`: "measured", "exported"). Only a wrong
// setting among `used` stops it; the others are named in a warning.
int read_drawing(const CommandLine& cl, const char* nothing_done,
                 std::initializer_list<SettingRef> used);

// The serial devices of this computer, one line each, for the operator.
std::string serial_ports_text();
