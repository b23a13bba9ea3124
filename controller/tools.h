#pragma once
#include <cstdint>

#include "records/prodlog.h"

// The machine's tools. Each stroke sends its command, waits for the
// controller's answer, and only then counts it and rewrites log.dat.

// Sends `command`, waits for the answer, adds one to the log's `counter`,
// saves the log. On paper (CommandLedger::on_paper) it only counts the stroke there.
void fire(const char* command, int32_t Counters::*counter);

void notch();     // the 30-degree notcher (not while the notchers are off)
void indicate();  // the indicate marker
void sheer();     // the shear
void bend();      // a flange bend cycle (not while the bender is off)
void Home();      // homes the machine; one retry when the controller answers "E"

// Before a job or notching run: on a machine that homes, home and move the
// strip to the 30-degree notcher (`settings.home`).
void home_to_notcher();
