// Text to figures, the whole way the New from text dialog and --text take:
// outlines from the font, each fitted with lines and arcs, written as a
// drawing and read into the shape tables; and the preview's share of it
// (the same without the tables). The first time in a fresh process, then
// warm with the last letter changed at each call, as when typing.
//   bench_letters [FONT-PATTERN] [TEXT] [HEIGHT]   defaults: DejaVu Sans Bold, 20 letters, 12 in.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <functional>
#include <string>
#include <vector>

#include "import/shapes.h"
#include "import/text.h"

namespace {

using Clock = std::chrono::steady_clock;

double ms_since(Clock::time_point t0) {
    return std::chrono::duration<double, std::milli>(Clock::now() - t0).count();
}

double cpu_ms() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
}

void warm(const char* label, TextRequest r, const std::function<bool(const TextRequest&)>& run,
          int runs) {
    std::vector<double> clock, cpu;
    for (int i = 0; i < runs; ++i) {
        if (static_cast<unsigned char>(r.text.back()) < 0x80)
            r.text.back() = static_cast<char>('a' + i % 26);
        double c0 = cpu_ms();
        Clock::time_point t0 = Clock::now();
        if (!run(r)) std::exit(1);
        clock.push_back(ms_since(t0));
        cpu.push_back(cpu_ms() - c0);
    }
    std::sort(clock.begin(), clock.end());
    std::sort(cpu.begin(), cpu.end());
    std::printf("%-36s median %6.2f ms  p90 %6.2f ms  max %6.2f ms  processor median %6.2f ms\n",
                label, clock[runs / 2], clock[runs * 9 / 10], clock.back(), cpu[runs / 2]);
}

}  // namespace

int main(int argc, char** argv) {
    std::string pattern = argc > 1 ? argv[1] : "DejaVu Sans:style=Bold";
    TextRequest r;
    r.text = argc > 2 ? argv[2] : "Fresh Bagels and Coffee";  // 20 letters
    r.style.height = argc > 3 ? std::atof(argv[3]) : 12;
    FontMatch m = match_font(pattern);
    if (!m.error.empty()) {
        std::printf("%s\n", m.error.c_str());
        return 1;
    }
    r.font = m.font;
    auto to_tables = [](const TextRequest& q) { return load_letters(q); };
    auto preview = [](const TextRequest& q) {
        std::string why;
        bool made = !text_preview(q, why).empty();
        if (!made) std::printf("%s\n", why.c_str());
        return made;
    };
    Clock::time_point t0 = Clock::now();
    if (!to_tables(r)) return 1;
    std::printf("%s, %g in., \"%s\": %d figures\n", font_name(r.font).c_str(), r.style.height,
                r.text.c_str(), shapes.objects);
    std::printf("%-36s %6.2f ms\n", "text to figures, first in the process", ms_since(t0));
    warm("text to figures, warm", r, to_tables, 100);
    warm("preview, warm", r, preview, 100);
    return 0;
}
