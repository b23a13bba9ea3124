#pragma once
#include <string>

// The serial link to the motion controller: the port, opened once at start
// and never closed, and the traffic trace ctrace.txt. The port itself is
// serial_device() (platform/serial.h).

struct ComPort {
    std::string device;          // the device init_com opened or tried to open
    std::string failure;         // what failed at start-up, e.g. "Error Function: CreateFile:"
    int error = 0;               // the system's error number when an init_com step failed
    long received = 0;           // bytes received since the start
    long stray_answers = 0;      // answers that came when none was awaited, dropped
    long noise = 0;              // other bytes that came when no answer was awaited, dropped
    bool open = false;           // init_com opened the port
    bool ready = false;          // the controller answered at start-up: commands may be sent
    bool gone = false;           // the device failed or hung up while the program waited
    std::string last_command;    // the last text sent, for the operator when no answer comes
    bool trace_failing = false;  // the last trace entry could not be written; the operator was told
};

extern ComPort com;

// Closes the port and forgets everything, the override included (tests and tools only).
void reset_com();

// How many earlier traces are kept (ctrace.1.txt ..., trace.1.txt ...).
inline constexpr int kKeptTraces = 5;

// Keeps the previous ctrace.txt as ctrace.1.txt (and so on, five in all),
// then creates ctrace.txt afresh with its header line.
void start_ctrace();

// The device for `port` 1 to 4: the link "COM1".."COM4" in the program
// directory when it exists there, else /dev/ttyS0../dev/ttyS3. Empty for any
// other port.
std::string port_device(int port);

// Makes ports 1 to 4 all lead to `device` (the simulated machine's terminal),
// whatever the program directory holds; "" puts the usual devices back.
void set_port_override(const std::string& device);

// Opens the port of `settings.port` at 9600 baud, 8 data bits, no parity, one
// stop bit, raw. 0 on success; 1 on failure with the failing step's text in
// `com.failure` (e.g. "Error Function: CreateFile:") and the system's error
// number in `com.error`.
int init_com();

// Sends `parm` one byte at a time, each followed by the short pause, after
// tracing it. Input that came while no answer was awaited (a controller that
// answers twice, line noise) is dropped first, so that it cannot pass for the
// answer to this command; when there is some, a "dropped->" entry in
// ctrace.txt shows it and `com.stray_answers` and `com.noise` count it.
// 0 when every byte was handed to the port, 1 when a write failed (its text
// is printed on stderr and the rest is not sent).
int put_data(const char* parm);

// The waits' look at the port, into `loc` (2 characters at least): it sleeps
// until a byte arrives, the clock's next whole second (when a deadline may
// have passed) or the window needs attention, whichever comes first.
// 1: a byte arrived and is traced; `loc` holds it as a string, or "" for a
// carriage return. 0: none came. -1: the device failed or hung up (printed on
// stderr); `com.gone` is set, with the system's reason in `com.error`.
// `loc` is "" unless a byte other than a carriage return arrived.
int await_data(char* loc);

// Why the port went away while the program waited, e.g. "the serial device
// /dev/ttyUSB0 went away (Input/output error)".
std::string device_gone_reason();

// After init_com failed: the failing step with the device and the system's
// error text, e.g. "Error Function: CreateFile: /dev/ttyS0: No such file or
// directory", and a sentence for the technician on what to do about it.
std::string com_failure_reason();
std::string com_failure_advice();
// The reason in the operator's words, for the window, which gives the advice
// beside it: "The serial port /dev/ttyS0 could not be used (Inappropriate
// ioctl for device)".
std::string com_failure_words();
