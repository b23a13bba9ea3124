#include "sequencing/tooling.h"

#include <cmath>

#include "controller/commands.h"
#include "controller/tools.h"
#include "records/prodlog.h"
#include "records/settings.h"
#include "sequencing/state.h"

void f_notch() {
    if (seq.end_sequence != 0) {
        if (settings.bend_output == 0 || seq.end_sequence == 2) return;
        ++seq.end_sequence;
    }
    notch();
}

namespace {
// The spacing from slot k to the next one, less the triple's 0.25 in.; a slot
// past the end of the queue never matches.
float spacing_error(int k) {
    if (k + 1 >= kQueueSlots) return 1.0f;
    float e = static_cast<float>(static_cast<double>(seq.queue[k + 1]) - seq.queue[k] - 0.25);
    return e < 0.0f ? e * -1.0f : e;
}
}  // namespace

bool dimple_due() {
    float one = spacing_error(seq.qc);
    float two = spacing_error(seq.qc + 1);
    if (one < 0.0001 && two < 0.0001) seq.sk100 = 3;
    if (seq.sk100 == 0) return true;
    return --seq.sk100 == 1;
}

void notch_two() {
    if (dimple_due()) fire(commands.J, &Counters::dimples);
    if (settings.operate == 0) fire(commands.V, &Counters::notch100);
}
