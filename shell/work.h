#pragma once
#include <functional>
#include <string>

#include "sequencing/jobrun.h"

// Machine work started from the window: while it runs the window shows what
// runs and how far it has come, offers Stop and takes no other command;
// afterwards the status line says how it ended.

// False, with the operator told the start-up's reason, when no controller
// answered at start-up: then nothing may be sent.
bool machine_ready();

// Runs `work` as machine work named `what` (for the status line). A Stop of
// the operator ends it at the next command to the machine.
void machine_work(const std::string& what, const std::function<void()>& work);

// Stop, Esc, or the close box during the work.
void request_stop();
bool work_running();

// The close box was pressed during the work: the window closes once it ends.
void close_after_work();
bool close_pending();

// After each job and notching run: the status line says how it ended, a stop
// of the operator is also told in a message, and the job history gets its line.
void job_ended(JobResult result);
void notching_ended(JobResult result);

// The status line's text for the work in progress (shown every quarter second).
std::string work_text();

// Installs the report of the work in progress that the waits make.
void report_work_progress();

// Shows jobs.csv as a table the operator sorts, filters and exports.
void show_job_history();

// No machine work under way, nothing pending.
void reset_work();
