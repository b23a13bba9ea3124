#pragma once
#include <ctime>
#include <string>

#include "records/prodlog.h"

// How far the machine's work has come. The job run and the notching run keep
// it; the window shows it while the work runs and says what was done when it
// ends; the job history and the lost-controller message tell it afterwards.
struct Progress {
    enum class Work { none, job, notching, other };
    Work work = Work::none;
    bool running = false;          // machine work is under way
    bool stop_requested = false;   // the operator asked it to stop
    std::string stopped_by;        // who stopped it, as told when it stopped
    int figure = 0;
    int wall = 0, walls = 0;       // walls fed so far, of those planned
    float planned = 0.0f;          // inches of the job (walls) or of the notching run
    float fed = 0.0f;              // inches fed so far
    float fed_before = 0.0f;       // of those, fed before a stop this work carries on from
    float counted = 0.0f;          // inches the work added to the footage of log.dat
    bool letter_cut = false;       // the job's last shear is made: the letter is whole
    int image = 0, images = 0;     // image k of m, with a repeat count or a whole job
    long long started_ms = 0;      // monotonic
    long long ended_ms = 0;
    std::time_t started_at = 0, ended_at = 0;  // wall clock, for the job history
    Counters at_start;             // the counters when the work began
    long waited_s = 0;             // seconds the controller's answer has been awaited; 0 none
};

extern Progress progress;

void reset_progress();

// A job or notching run begins: figure (0 for a notching run), walls and
// inches planned; the counters are noted so that its strokes can be told.
void begin_work(Progress::Work work, int figure, int walls, float planned);

// The work has ended, however it ended.
void end_work();

// A job that ends before its letter is whole keeps counted, as material used,
// only the inches it fed (since `fed_before`): the rest of what it counted
// comes off the footage.
// log.dat is written when that changes the footage.
void count_only_material_fed();

// Who asked the work to stop: "the operator" (Stop, Esc, the close box), or
// what ends the program from outside ("SIGHUP", "the loss of the display").
// The first answer during a work is kept: a signal that comes after the stop
// does not change who stopped it.
std::string stopped_by();

// Thrown at the next command to the machine once the operator has asked the
// work to stop: the command in flight has been answered and counted, and
// nothing more is sent.
struct OperatorStop {};

// The strokes counted since the work began, e.g. "12 30-degree notches, 3
// 100-degree notches, 2 dimples"; "no strokes" when there are none.
std::string strokes_text();

// The same for the strokes `now` counts beyond `was`.
std::string strokes_text(const Counters& now, const Counters& was = Counters{});

// How long the work took or has taken, e.g. "2 min 15 s" or "40 s".
std::string duration_text(long long ms);
