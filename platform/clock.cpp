#include "platform/clock.h"

#include <cerrno>
#include <ctime>
#include <sys/prctl.h>

namespace {

long long monotonic_micros() {
    timespec now{};
    ::clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<long long>(now.tv_sec) * 1000000 + now.tv_nsec / 1000;
}

void sleep_until(long long micros) {
    timespec until{static_cast<time_t>(micros / 1000000),
                   static_cast<long>(micros % 1000000) * 1000};
    while (::clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &until, nullptr) == EINTR) {
    }
}

class RealClock : public Clock {
public:
    RealClock() {
        // The default 50 us of timer slack would add 5% to every short pause.
        ::prctl(PR_SET_TIMERSLACK, 1000UL, 0, 0, 0);
    }
    // Monotonic, not the time of day: setting the system clock must neither
    // end a wait at once nor stretch it.
    long seconds() override {
        timespec now{};
        ::clock_gettime(CLOCK_MONOTONIC, &now);
        return static_cast<long>(now.tv_sec);
    }
    // Counting each later byte from the end of the one before, not from when
    // the pause began, keeps a pause that woke a little late from delaying
    // all the bytes after it.
    void short_pause(bool first_of_text) override {
        if (first_of_text) byte_left_ = monotonic_micros();
        byte_left_ += kShortPauseMicros;
        sleep_until(byte_left_);
    }
    void long_pause() override { sleep_until(monotonic_micros() + kLongPauseMicros); }
    // One millisecond past the tick, so that the next look sees it.
    int ms_to_next_second() override {
        return static_cast<int>((1000000 - monotonic_micros() % 1000000) / 1000) + 1;
    }

private:
    long long byte_left_ = 0;   // when the last byte handed to the port has left it
};

RealClock real_clock;
Clock* installed = nullptr;

}  // namespace

long long monotonic_ms() { return monotonic_micros() / 1000; }

Clock& the_clock() { return installed ? *installed : real_clock; }

void set_clock(Clock* clock) { installed = clock; }
