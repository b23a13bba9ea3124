#pragma once
#include "controller/commands.h"
#include "controller/startup.h"

// Run Tool and what carries a stopped job on: Resume (F5), the interrupted
// job offered at start, the lost controller, and Connect.

// Run Tool: the selected figure as often as the repeat count says, or every
// figure once (Contineous Job). A stopped job it replaces is put aside.
void run_tool();

// Resume (F5, Tools, Resume job): carries the stopped job on from its next
// command, after checking that nothing has changed since it stopped.
void resume_command();

// At start, with the window made: a job the machine folder's record says was
// interrupted is offered; Enter continues it, Esc declines it.
void offer_interrupted_job();

// Connect (Tools, Connect): the port opened again and the controller started.
// True when it answered.
bool connect_command();

// The controller was lost during machine work: Connect, Continue after
// connecting (when a job was under way), or Exit.
void after_lost_controller(const ControllerLost& lost);

// What the status line says of the machine after a start-up or a Connect;
// a failed start-up at the window's creation also offers Connect or Exit.
void show_machine(const StartupResult& r);
void offer_connect_at_start(const StartupResult& r);

// Shows Resume and Connect at the foot of the window while they can be used.
void show_offers();

// The stopped job is on screen: its figure, as it was made, is the one
// selected. `elements` is how many of its elements are made (-1: all).
bool stopped_job_shown(int& elements);

void reset_jobs();
