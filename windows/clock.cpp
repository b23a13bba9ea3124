// platform/clock.h on Windows: the performance counter, and pauses on a
// high-resolution waitable timer (Windows 10 1803 and later; older systems
// get an ordinary one with the timer resolution raised to 1 ms).
#include "platform/clock.h"

#include "windows/win32.h"
// After windows.h.
#include <timeapi.h>

#ifndef CREATE_WAITABLE_TIMER_HIGH_RESOLUTION
#define CREATE_WAITABLE_TIMER_HIGH_RESOLUTION 0x00000002
#endif

namespace {

long long counter_frequency() {
    LARGE_INTEGER f{};
    ::QueryPerformanceFrequency(&f);
    return f.QuadPart;
}

long long monotonic_micros() {
    static const long long frequency = counter_frequency();
    LARGE_INTEGER now{};
    ::QueryPerformanceCounter(&now);
    return now.QuadPart / frequency * 1000000 + now.QuadPart % frequency * 1000000 / frequency;
}

HANDLE make_timer() {
    HANDLE t = ::CreateWaitableTimerExW(nullptr, nullptr, CREATE_WAITABLE_TIMER_HIGH_RESOLUTION,
                                        TIMER_ALL_ACCESS);
    if (t) return t;
    ::timeBeginPeriod(1);
    return ::CreateWaitableTimerW(nullptr, TRUE, nullptr);
}

void sleep_until(long long micros) {
    static HANDLE timer = make_timer();
    for (;;) {
        long long left = micros - monotonic_micros();
        if (left <= 0) return;
        LARGE_INTEGER due{};
        due.QuadPart = -left * 10;  // relative, in 100 ns
        if (!timer || !::SetWaitableTimer(timer, &due, 0, nullptr, nullptr, FALSE)) {
            ::Sleep(static_cast<DWORD>((left + 999) / 1000));
            continue;
        }
        ::WaitForSingleObject(timer, INFINITE);
    }
}

class RealClock : public Clock {
public:
    long seconds() override { return static_cast<long>(monotonic_micros() / 1000000); }
    // Each later byte counts from the end of the one before (see the Linux clock).
    void short_pause(bool first_of_text) override {
        if (first_of_text) byte_left_ = monotonic_micros();
        byte_left_ += kShortPauseMicros;
        sleep_until(byte_left_);
    }
    void long_pause() override { sleep_until(monotonic_micros() + kLongPauseMicros); }
    int ms_to_next_second() override {
        return static_cast<int>((1000000 - monotonic_micros() % 1000000) / 1000) + 1;
    }

private:
    long long byte_left_ = 0;
};

RealClock real_clock;
Clock* installed = nullptr;

}  // namespace

long long monotonic_ms() { return monotonic_micros() / 1000; }

Clock& the_clock() { return installed ? *installed : real_clock; }

void set_clock(Clock* clock) { installed = clock; }
