#pragma once
#include <memory>
#include <string>

#include "sim/controller.h"

// --simulate: the simulated controller, of the family the machine folder's
// model setting selects, standing in for the configured port: on Linux it
// answers on a pseudo-terminal, on Windows in-process behind the serial
// device. Nothing is linked into the machine folder. Null with the reason in
// `why` when it cannot start.
std::unique_ptr<SimController> start_simulated_machine(std::string& why);

// The family the machine folder's setup.dat selects (its model), read
// without touching the settings the program goes on with.
ControllerFamily simulated_family();
