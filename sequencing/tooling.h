#pragma once

// The two tool strokes that depend on the state of the job.

// The 30-degree bend notch: always during a job; during the job end only the
// first one, and only with the bender output on.
void f_notch();

// The 100-degree notch at the head of the queue, with its dimple: every
// notch gets one except the first and third of a triple 0.25 in. apart.
void notch_two();

// The dimple decision for the head of the queue; updates the triple count.
bool dimple_due();
