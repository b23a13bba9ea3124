#pragma once

// Puts every process-wide record back to its start-of-program state, the idle
// handler and the work's reporter off, and the serial device, clock and exit
// back to the real ones. The program calls it as it starts, the tests before
// and after each test, the fuzz target before each input.
void reset_all_state();
