#pragma once
#include <string>

// The conversation with the motion controller: the command strings of the two
// controller families, the start-up of each, the wait for an answer, and the
// strip moves.

// Thirteen commands, at most 6 characters each. Set once at start from
// `settings.model`: 4 is the Galil, any other model the Slo-Syn. A command
// the family does not have is empty.
struct CommandStrings {
    char R[7];   // restart the controller's program (start-up handshake)
    char T[7];   // are you ready? (start-up handshake; last command of the Galil start-up)
    char H[7];   // home
    char B[7];   // flange bend
    char S[7];   // shear
    char N[7];   // 30-degree notch
    char V[7];   // 100-degree notch
    char J[7];   // dimple
    char I[7];   // indicate
    char F[7];   // Galil uncalibrated move, followed by the distance
    char M[7];   // Galil move, followed by the distance
    char o[7];   // Galil cover open
    char c[7];   // Galil reset tool
};

extern CommandStrings commands;

// The one place that says which controller the machine has: model 4 is the
// Galil, every other model the Slo-Syn.
bool galil();

// Models 2, 3 and 4 home before a job and at its end; the others rewind.
bool homes_machine();

// Sets the command strings of the configured family.
void set_command_strings();
void reset_command_strings();

// The other texts the program sends: the opening of the Galil start-up, and
// the photo cell query of the feed calibration ("D" once the strip has
// reached the cell, "E" before).
inline constexpr const char* kGalilHello = "75\r";
inline constexpr const char* kPhotoCellQuery = "C,0\r";

// What an answer means to wait_for_Slo_Syn: 1 for ":", "D" and "L", 0 for
// "E", -1 for anything else (keep waiting). `response` is what rec_data put
// in its buffer.
int answer_class(const char* response);

// Waits for the next answer that means something and returns its class.
// When none comes within 20 seconds, or the serial device goes away, the
// operator is told what got no answer and what the work had done, and the
// program ends with status -1 (or ControllerLost is thrown, see below).
int wait_for_Slo_Syn();

// Thrown by the waits instead of ending the program, once the window has
// said it takes a lost controller itself: `why` names what got no answer,
// `done` what the work had done, `line` is what the end of the program
// would print. The controller is then no longer ready.
struct ControllerLost {
    std::string why, done, line;
};
void recover_from_lost_controller(bool recover);

// Thrown instead of sending a command when there is no open port.
struct NoController {};

// Thrown when the machine's work has to stop part way: nothing more is sent.
struct JobStopped {
    std::string why;
};

// Before each command to the machine (not the second half of a Galil move):
// throws NoController without an open port, and OperatorStop (records/
// progress.h) once the operator has asked the running work to stop.
void before_command();

// What the running work had done, for the operator when the controller is lost.
std::string work_done_text();

// The start-up handshakes. 0: the controller is ready. 1: no "D" within the
// deadline (4 seconds for the Slo-Syn, 10 for the Galil). Init_Galil also
// downloads setup2.dat from the program directory, a line at a time, and
// gives 2 when that file cannot be read: `com.failure` then says why, and
// nothing was sent.
int Init_Slo_Syn();
int Init_Galil();

// Strip moves. The Galil takes inches, the Slo-Syn motor steps; the
// controller receives the distance negated. A move by 0 sends nothing; a
// move that is no number or longer than the travel limit (kTravelLimit,
// records/settings.h) is not sent either, and throws JobStopped.
void Run_Galil(float st);
void Feed_Galil(float st);
void Run_Slo_Syn(float st);
void Feed_Slo_Syn(float st);

// A distance in inches in the units the controller moves by: inches for the
// Galil, motor steps (`settings.steps` per inch) for the Slo-Syn.
float controller_units(float inches);

// A move of `units` (see controller_units), and the uncalibrated move.
void run_move(float units);
void feed_move(float units);

// The strip move of `inches`: run_move(controller_units(inches)).
void strip_move(float inches);

// Why strip moves cannot be made with the settings as they are (a Slo-Syn
// needs its steps per inch); empty when they can.
std::string strip_move_refusal();
