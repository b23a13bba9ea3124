// Exchange overhead: a command and its one-character answer against the
// simulator on a pseudo-terminal that takes no time per byte, beside the time
// the same five bytes take on a 9600-baud line.
#include <algorithm>
#include <chrono>
#include <vector>

#include "bench/bench_machine.h"
#include "platform/clock.h"

namespace {

using Clock_ = std::chrono::steady_clock;
constexpr int kRounds = 1000;
constexpr double kWireMs = 5 * 10 / 9600.0 * 1000;   // 4 bytes out, 1 back, 10 bits each

// The real clock, with the short pause left out.
class NoPauses : public Clock {
public:
    long seconds() override { return real.seconds(); }
    void short_pause(bool) override {}
    void long_pause() override {}
    Clock& real = the_clock();
};

struct Figures {
    double median, p10, p90;
};

Figures exchanges() {
    std::vector<double> ms;
    for (int i = 0; i < kRounds; ++i) {
        auto start = Clock_::now();
        put_data(commands.N);
        wait_for_Slo_Syn();
        ms.push_back(std::chrono::duration<double, std::milli>(Clock_::now() - start).count());
    }
    std::sort(ms.begin(), ms.end());
    return {ms[ms.size() / 2], ms[ms.size() / 10], ms[ms.size() * 9 / 10]};
}

double median_short_pause() {
    std::vector<double> ms;
    for (int i = 0; i < kRounds; ++i) {
        auto start = Clock_::now();
        the_clock().short_pause(true);
        ms.push_back(std::chrono::duration<double, std::milli>(Clock_::now() - start).count());
    }
    std::sort(ms.begin(), ms.end());
    return ms[ms.size() / 2];
}

}  // namespace

int main() {
    BenchMachine machine;
    double pause = median_short_pause();
    Figures real = exchanges();
    NoPauses no_pauses;
    set_clock(&no_pauses);
    Figures bare = exchanges();
    set_clock(nullptr);

    double paused = 4 * kShortPauseMicros / 1000.0;
    double overhead = real.median - paused;
    std::printf("%d exchanges of \"N,0\\r\" and \"D\" on a pseudo-terminal\n", kRounds);
    std::printf("wire time at 9600 baud:          %.3f ms\n", kWireMs);
    std::printf("short pause, median:             %.3f ms (set: %.3f ms, the time of a byte)\n",
                pause, kShortPauseMicros / 1000.0);
    std::printf("exchange with the real pauses:   median %.3f ms (p10 %.3f, p90 %.3f)\n",
                real.median, real.p10, real.p90);
    std::printf("  less the 4 pauses (%.3f ms):   %.3f ms = %.2f%% of the wire time\n", paused,
                overhead, 100 * overhead / kWireMs);
    std::printf("exchange without pauses:         median %.3f ms (p10 %.3f, p90 %.3f) = %.2f%% "
                "of the wire time\n",
                bare.median, bare.p10, bare.p90, 100 * bare.median / kWireMs);
    return 0;
}
