#include "platform/clock.h"

#include <cerrno>
#include <ctime>
#include <sys/prctl.h>

namespace {

timespec later(timespec t, long micros) {
    t.tv_nsec += micros * 1000;
    t.tv_sec += t.tv_nsec / 1000000000;
    t.tv_nsec %= 1000000000;
    return t;
}

void sleep_micros(long micros) {
    timespec now{};
    ::clock_gettime(CLOCK_MONOTONIC, &now);
    timespec until = later(now, micros);
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
    void short_pause() override { sleep_micros(kShortPauseMicros); }
    void long_pause() override { sleep_micros(kLongPauseMicros); }
};

RealClock real_clock;
Clock* installed = nullptr;

}  // namespace

Clock& the_clock() { return installed ? *installed : real_clock; }

void set_clock(Clock* clock) { installed = clock; }
