#pragma once

// SIGTERM and SIGINT end the program the way closing its window does: the
// handler only notes the request, and the program ends in its own time
// (the window through its close, the command-line modes at their next look).

// Installs the handlers.
void catch_termination();

// True once SIGTERM or SIGINT has come.
bool termination_requested();

// A descriptor that becomes readable when the request comes, for an event
// loop to watch; -1 before catch_termination.
int termination_fd();
