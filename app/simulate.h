#pragma once
#include <memory>
#include <string>

#include "sim/pty.h"

// --simulate: the simulated controller, of the family the machine folder's
// model setting selects, answering on a pseudo-terminal that stands in for
// the configured port. Nothing is linked into the machine folder. Null with
// the reason in `why` when the terminal cannot be made.
std::unique_ptr<PtySim> start_simulated_machine(std::string& why);
