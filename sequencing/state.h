#pragma once
#include <array>

// The sequencing state of a job: the queue of pending 100-degree notches,
// the bend countdowns and the end-of-job flags.

inline constexpr int kQueueSlots = 100;

struct SeqState {
    // Pending entries are the slots from qc up to (not including) qn: the feed
    // still to go, in inches, before each queued notch reaches the 100-degree notcher.
    std::array<float, kQueueSlots> queue{};
    int qc = 0;                    // head: the oldest pending entry
    int qn = 0;                    // tail: the slot the next push writes
    float foot = 0.0f;             // feed still to go before the next bend notch
    float distance_to_bend = 0.0f; // feed still to go before the next bend cycle
    int end_sequence = 0;          // 0 in a job, 1 while the job end runs, 2 after its bend notch
    int sk100 = 0;                 // countdown through a triple of 100-degree notches
};

extern SeqState seq;

void reset_seq_state();
