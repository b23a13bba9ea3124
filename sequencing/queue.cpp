#include "sequencing/queue.h"

#include "platform/text.h"
#include "records/notice.h"
#include "sequencing/trace.h"

void queue_reset() { seq.qc = seq.qn = 0; }

void countdown_start() {
    seq.foot = 12.0f;
    seq.distance_to_bend = 24.0f;
}

void push(float d) {
    if (seq.qn == kQueueSlots && seq.qc > 0) {
        for (int k = seq.qc; k < seq.qn; ++k) seq.queue[k - seq.qc] = seq.queue[k];
        seq.qn -= seq.qc;
        seq.qc = 0;
    }
    if (seq.qn == kQueueSlots)
        throw JobStopped{strprintf("The job was stopped: more than %d notches were waiting "
                                   "for the 100 degree notcher",
                                   kQueueSlots)};
    seq.queue[seq.qn++] = d;
}

void pop(float h) {
    for (int k = seq.qc + 1; k < seq.qn; ++k) seq.queue[k] -= h;
    if (++seq.qc == seq.qn) seq.qc = seq.qn = 0;
}

void shift(float d) {
    for (int k = seq.qc; k < seq.qn; ++k) seq.queue[k] -= d;
}

bool queue_empty() { return seq.qc == seq.qn; }

float queue_head() { return seq.queue[seq.qc]; }

void report(const JobStopped& stopped) {
    trace_end(stopped.why);
    notice(stopped.why);
}
