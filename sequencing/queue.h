#pragma once
#include <string>

#include "sequencing/state.h"

// The queue of pending 100-degree notches and the bend countdowns.

void queue_reset();      // drops every pending entry
void countdown_start();  // first bend notch in 12 in., first bend cycle in 24 in.

// Queues a 100-degree notch `d` inches of feed ahead. When the tail has
// reached the last slot the pending entries move down to slot 0 first; with
// all slots pending the job cannot go on and JobStopped is thrown.
void push(float d);

// After the head notch has fired `h` inches on: the later entries come `h`
// closer and the head leaves the queue.
void pop(float h);

// After any other strip move of `d` inches: every pending entry comes closer.
void shift(float d);

bool queue_empty();
float queue_head();

// The strip move of `d` inches, in the units of the configured controller.
void strip_move(float d);

// Models 2, 3 and 4 home before a job and at its end; the others rewind.
bool homes_machine();

// Before a job or notching run: on a machine that homes, home and move the
// strip to the 30-degree notcher.
void home_to_notcher();

// Why strip moves cannot be made with the settings as they are (a Slo-Syn
// needs its steps per inch); empty when they can.
std::string strip_move_refusal();

// Thrown when a job has to stop part way.
struct JobStopped {
    std::string why;
};

// Tells the operator, and the trace, why the job stopped.
void report(const JobStopped& stopped);
