#pragma once
#include <string>

#include "controller/commands.h"
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

// Tells the operator, and the trace, why the job stopped.
void report(const JobStopped& stopped);
