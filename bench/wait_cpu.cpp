// Processor time used while wait_for_Slo_Syn waits 5 seconds for a late answer.
#include <chrono>
#include <ctime>
#include <sys/resource.h>

#include "bench/bench_machine.h"

namespace {

double thread_cpu_seconds() {
    timespec t{};
    ::clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) / 1e9;
}

double process_cpu_seconds() {
    rusage u{};
    ::getrusage(RUSAGE_SELF, &u);
    return static_cast<double>(u.ru_utime.tv_sec + u.ru_stime.tv_sec) +
           static_cast<double>(u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6;
}

}  // namespace

int main() {
    SimOptions late;
    late.delay_ms = 5000;
    BenchMachine machine(late);
    put_data(commands.N);
    auto start = std::chrono::steady_clock::now();
    double cpu = thread_cpu_seconds(), all = process_cpu_seconds();
    wait_for_Slo_Syn();
    double waited = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    cpu = thread_cpu_seconds() - cpu;
    all = process_cpu_seconds() - all;
    std::printf("waited %.3f s for the answer\n", waited);
    std::printf("processor time of the waiting program: %.1f ms = %.2f%% of one core\n",
                cpu * 1000, 100 * cpu / waited);
    std::printf("  with the simulator's thread:          %.1f ms = %.2f%% of one core\n",
                all * 1000, 100 * all / waited);
    return 0;
}
