#include "sequencing/state.h"

SeqState seq;

void reset_seq_state() { seq = SeqState{}; }
