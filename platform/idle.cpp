#include "platform/idle.h"

#include <ctime>

namespace {
IdleHandler handler = nullptr;
IdleHandler reporter = nullptr;
long long reported_ms = 0;

long long now_ms() {
    timespec t{};
    ::clock_gettime(CLOCK_MONOTONIC, &t);
    return static_cast<long long>(t.tv_sec) * 1000 + t.tv_nsec / 1000000;
}
}  // namespace

void set_idle_handler(IdleHandler h) { handler = h; }

void set_progress_reporter(IdleHandler r) { reporter = r; }

void reset_idle() {
    handler = nullptr;
    reporter = nullptr;
    reported_ms = 0;
}

void idle() {
    if (reporter) {
        long long now = now_ms();
        if (now - reported_ms >= kReportIntervalMs) {
            reported_ms = now;
            reporter();
        }
    }
    if (handler) handler();
}

int idle_interval_ms() { return handler ? kIdleIntervalMs : -1; }
