#pragma once
#include <string>

#include "records/prodlog.h"

// A job or notching run that has not ended, kept as job-interrupted in the
// machine folder: what the work is, and how many of its machine commands the
// controller answered. Since the same drawing, figure, start point, divide
// point and settings make the same commands, that is enough to make the work
// again up to there without sending anything, and to carry on. The file is
// replaced atomically after every answered command, on the writer thread
// (platform/latest_file.h), so it is always whole and never ahead of the
// controller's answers; it goes when the work ends normally.
struct Interrupted {
    enum class Work { none, job, notching };
    Work work = Work::none;

    // What the work is.
    std::string drawing;         // path
    std::string drawing_digest;  // of its content as it was loaded
    std::string units;           // the drawing units it was read in ("inch", "declared")
    int figure = 0;
    std::string figure_digest;   // the figure's elements, from its start point
    std::string start_point;     // "(x, y)", for the operator
    int divide_point = 0;        // 0: none
    int image = 1, images = 1;   // image k of m (a repeat count, or every figure)
    int whole_job = 0;           // 1: every figure once, from `figure` on
    std::string settings;        // the setup.dat line
    float notch_length = 0, total_length = 0;  // a notching run

    // How far it came.
    long answered = 0;        // machine commands the controller answered
    bool stopped = false;     // it stopped between commands: none is left unanswered
    int wall = 0, walls = 0;  // walls made (notches, for a notching run), of those planned
    int element = -2;         // elements of the figure whose walls are all made
                              // (-1: all; -2: not known, as after a kill)
    float planned = 0, fed = 0;  // inches
    float counted = 0;        // inches log.dat counts for it so far
    bool letter_counted = false;  // its letter was sheared off and counted as an image
    Counters counts;          // the counters as they stood with `answered`

    // Why the stopped work can no longer be carried on (a Move, a stroke, ...);
    // empty while it can. Not kept in the file: such a record is retired.
    std::string void_reason;
    // Commands answered after the record's last write (a kill came before the
    // writer wrote it): from job-interrupted.answered, not in `counts`.
    long answered_after = 0;
};

extern Interrupted interrupted;

void reset_interrupted();

// The file's content, and reading it back: empty when taken, else what is wrong.
std::string format_interrupted(const Interrupted& r);
std::string scan_interrupted(const std::string& text, Interrupted& r);

// The file's name in the machine folder, and the one a declined record keeps.
inline constexpr const char* kInterruptedFile = "job-interrupted";
inline constexpr const char* kDeclinedFile = "job-interrupted.1";
// Beside it, one byte for every command of the work answered, appended with
// one write as each is answered (as ctrace.txt's entries are): after a kill
// it says how far the record's last write is behind.
inline constexpr const char* kAnsweredFile = "job-interrupted.answered";

// Hands `interrupted` to the writer. With `now`, returns once it is on the
// disk (a stop, the end of the work); else it is written when the program
// next waits for the controller.
void save_interrupted(bool now);

// The work begins, or carries on after `answered` commands: the answered
// file holds that many bytes.
void begin_answered_file(long answered);

// Wakes the writer when something was handed over since (the waits call it).
void nudge_interrupted_writer();

// After an answered command of the running work: `answered` and the counts
// as they stand now go to the record.
void interrupted_answered(long answered);

// The work ended normally: no record any more.
void remove_interrupted();

// The operator declined it, or the machine was changed since: the record is
// kept as job-interrupted.1 and no longer offered, and none is in memory.
void retire_interrupted();

// At start: the record the machine folder holds, with `answered_after`.
// False when there is none,
// or it cannot be read (`why` then says so; a damaged one is moved aside to
// job-interrupted.damaged).
bool read_interrupted(Interrupted& r, std::string& why);

// The work and its place for the operator: "figure 3 of letters.dxf from
// wall 71 of 202", "the notching run of 120.000 in. after 12 notches".
std::string interrupted_text(const Interrupted& r);
