#pragma once
#include <string>

// SIGTERM, SIGINT and SIGHUP end the program the way closing its window does:
// the handler only notes the request, and the program ends in its own time
// (the window through its close, the command-line modes at their next look).
// The loss of the display ends it the same way (terminate_for).

// Installs the handlers.
void catch_termination();

// True once SIGTERM, SIGINT or SIGHUP has come, or terminate_for was called.
bool termination_requested();

// A descriptor that becomes readable when the request comes, for an event
// loop to watch; -1 before catch_termination.
int termination_fd();

// What asked the program to end: "SIGTERM", "SIGINT", "SIGHUP" or the cause
// given to terminate_for; empty when nothing has.
std::string termination_cause();

// Something other than a signal ends the program as SIGTERM does, e.g.
// kDisplayLost.
void terminate_for(const char* cause);
inline constexpr const char* kDisplayLost = "the loss of the display";
