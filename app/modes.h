#pragma once
#include "app/cli.h"

// The program's modes, each after the program directory has been set up.
// Each returns the process exit status.
int run_window(const CommandLine& cl);
int run_measure(const CommandLine& cl);
int run_check(const CommandLine& cl);
