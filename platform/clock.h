#pragma once

// Time as the controller link needs it: whole seconds for its deadlines, and
// the two pauses it makes on the line.
class Clock {
public:
    virtual ~Clock() = default;
    // A count of whole seconds that only moves forward.
    virtual long seconds() = 0;
    // How long until seconds() moves on: how long a wait may sleep before it
    // looks at its deadline again.
    virtual int ms_to_next_second() { return 1; }
    // After each byte written to the port: until the byte has left it. The
    // bytes of one text follow each other on the line, so the first byte's
    // time counts from now and each later one's from the end of the one before.
    virtual void short_pause(bool first_of_text) = 0;
    // Between restarting the controller and asking it again whether it is ready,
    // and before the last command of the Galil start-up.
    virtual void long_pause() = 0;
};

// Milliseconds of the monotonic clock, for how long work has taken (always
// the real clock).
long long monotonic_ms();

// The clock the link uses: the real one unless another was installed.
// set_clock(nullptr) puts the real clock back.
Clock& the_clock();
void set_clock(Clock* clock);

// The real pauses, in microseconds.
inline constexpr long kShortPauseMicros = 1042;   // 10 bits at 9600 baud
inline constexpr long kLongPauseMicros = 500000;
