#pragma once
#include <string>

#include "records/interrupted.h"
#include "sequencing/jobrun.h"

// Carrying on a job or notching run that stopped: the interrupted-job record
// of the work that runs (records/interrupted.h), the checks that the work is
// still the same, and the replay of its commands up to the last one the
// controller answered (controller/replay.h).

// The work being made carries on a stopped one: what the earlier parts did.
struct ResumedPart {
    bool active = false;
    long answered = 0;            // commands the earlier parts had answered
    float counted_before = 0.0f;  // inches log.dat counts for them
    bool letter_counted = false;  // the letter was counted as an image in one of them
};

extern ResumedPart resumed;

void reset_resume();

// A fingerprint of figure `figure`'s elements as they stand, from its start
// point: another start point gives another one. Empty when there is no such figure.
std::string figure_digest(int figure);

// The job (or notching run) has been planned and is about to send its first
// command: its record, with what it is and the counts as they stand.
void record_work(Interrupted::Work work);

// How the work ended, for its record. Made: the record goes. Stopped by the
// operator (nothing in flight) or with the controller lost (a command may
// have been made unanswered): the record keeps how far it came. Stopped for
// any other reason: it cannot go on, and the record goes.
void record_work_end(JobResult result);

// The letter of the job just made or stopped was counted as an image.
void record_image_counted();

// The machine was changed by a command of the operator (`what`: "a Move"):
// the stopped work can no longer be carried on. Its record is kept aside.
void abandon_stopped_work(const std::string& what);

// Why the stopped work cannot be carried on with the drawing, figure, start
// point, divide point and settings as they are now, with what to do about
// it; empty when it can.
std::string resume_refusal();

// Before making the stopped work again: the counts as the record holds them
// (`from_file`: it was read at start), the commands to make without sending,
// and whether to ask about the one that may be in flight.
void prepare_resume(bool from_file);
