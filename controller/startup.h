#pragma once
#include <string>

// The start-up of the machine, as the window and `zel --check` both make it:
// a fresh ctrace.txt, the production log and the settings, the command
// strings of the configured family, the serial port, and the controller's
// handshake (with the program download on the Galil).
enum class Startup {
    ready,         // the controller answered and is ready
    port_failed,   // init_com failed: com.failure and com.error say why
    no_answer,     // no "D" within the handshake's deadline
    no_program,    // the Galil's setup2.dat cannot be read: com.failure says why
};

struct StartupResult {
    Startup outcome = Startup::ready;
    long answers = 0;  // bytes the controller sent during the handshake
};

// `settings_read`: setup.dat has been read already (--check reads it first,
// to refuse settings it cannot use before anything is written or sent).
StartupResult start_machine(bool settings_read = false);

// Connect, and Setup's new model, port or steps per inch: the port closed
// and opened again as the settings in memory name it, and the handshake of
// their family, without a new ctrace.txt or reading the files again.
StartupResult reconnect_machine();

// Why the start-up failed, for the technician: the failing step with the
// device and the system's reason, and what to check. Empty when it did not fail.
std::string startup_failure_reason(const StartupResult& r);
std::string startup_failure_advice(const StartupResult& r);
// The reason in the operator's words, for the window (the port's own failure
// named without the system call that failed).
std::string startup_failure_words(const StartupResult& r);
