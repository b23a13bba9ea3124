#pragma once

// Load Tool: measures the strip feed against the two photo cells, `unload`
// inches apart, and sets `steps` (steps per inch) from it. False, with `steps`
// unchanged and the operator told why, when the cells never answer as they
// must; the machine is then homed.
bool calibrate_steps();
