#pragma once

// Puts every process-wide record back to its start-of-program state, and the
// serial device, clock and exit back to the real ones. The tests call it
// before and after each test, the fuzz target before each input.
void reset_all_state();
