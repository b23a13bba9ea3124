#pragma once

// Feeds the strip forward by `length` inches (backwards when negative),
// stopping on the way for every queued 100-degree notch, bend notch and bend
// cycle that falls due, and tracing every step.
void feed(float length);

// The feed case: how the length relates to the two bend countdowns.
int feed_case(float length, float foot, float distance_to_bend);
