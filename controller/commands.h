#pragma once

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
// When none comes within 20 seconds the program ends with status -1.
int wait_for_Slo_Syn();

// The start-up handshakes. 0: the controller is ready. 1: no "D" within the
// deadline (4 seconds for the Slo-Syn, 10 for the Galil). Init_Galil also
// downloads setup2.dat from the program directory, a line at a time, and
// gives 2 when that file cannot be read: the message is then showing
// (`win.record`, `win.err`) and nothing was sent.
int Init_Slo_Syn();
int Init_Galil();

// Strip moves. The Galil takes inches, the Slo-Syn motor steps; the
// controller receives the distance negated. A move by 0 sends nothing.
void Run_Galil(float st);
void Feed_Galil(float st);
void Run_Slo_Syn(float st);
void Feed_Slo_Syn(float st);
