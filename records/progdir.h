#pragma once
#include <string>

// The program directory: every program file (settings, log, reports, traces)
// lives here. Absolute, without a trailing slash.
extern std::string directory;

// Checks that `dir` is an existing, writable folder, makes it the program
// directory and the working directory. False with the reason in `why`.
bool set_program_directory(const std::string& dir, std::string& why);

// The full name of a program file, e.g. program_file("setup.dat").
std::string program_file(const char* name);

// Writes argument.dat: the start-up record of the two paths.
bool write_argument_dat(const std::string& drawing);

// The folder that holds the running executable (the default program directory).
std::string executable_folder();

// `path` made absolute against the current working directory (no symlinks resolved).
std::string absolute_path(const std::string& path);
