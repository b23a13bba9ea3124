// Text to outlines for a line of 20 letters: the first time in a fresh
// process (the font library started and the font opened), then warm, as the
// preview follows typing; and the font matched through fontconfig.
//   bench_fonts [FONT-PATTERN] [TEXT]     defaults: "DejaVu Sans:style=Bold", 20 letters
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "fonts/fonts.h"

namespace {

using Clock = std::chrono::steady_clock;

double ms_since(Clock::time_point t0) {
    return std::chrono::duration<double, std::milli>(Clock::now() - t0).count();
}

// Median and 90th percentile of `runs` calls of `text`, the last letter
// (when a plain ASCII one) changed each time as when typing.
void warm(const std::string& label, const std::string& text, const FontFace& font, double height, int runs) {
    std::vector<double> times;
    std::size_t outlines = 0;
    for (int i = 0; i < runs; ++i) {
        std::string typed = text;
        if (static_cast<unsigned char>(typed.back()) < 0x80) typed.back() = static_cast<char>('a' + i % 26);
        Clock::time_point t0 = Clock::now();
        TextOutlines t = text_outlines(typed, font, {height, 0, 1});
        times.push_back(ms_since(t0));
        if (!t.error.empty()) std::printf("%s\n", t.error.c_str());
        outlines = t.outlines.size();
    }
    std::sort(times.begin(), times.end());
    std::printf("%-40s median %6.3f ms  p90 %6.3f ms  max %6.3f ms  (%zu outlines)\n", label.c_str(),
                times[times.size() / 2], times[times.size() * 9 / 10], times.back(), outlines);
}

}  // namespace

int main(int argc, char** argv) {
    std::string pattern = argc > 1 ? argv[1] : "DejaVu Sans:style=Bold";
    std::string text = argc > 2 ? argv[2] : "Fresh Bagels and Coffee";  // 20 letters

    Clock::time_point t0 = Clock::now();
    FontMatch m = match_font(pattern);
    double matched = ms_since(t0);
    if (!m.error.empty()) {
        std::printf("%s\n", m.error.c_str());
        return 1;
    }
    std::printf("font %s (%s)\n", font_name(m.font).c_str(), m.font.file.c_str());

    t0 = Clock::now();
    TextOutlines first = text_outlines(text, m.font, {12, 0, 1});
    double cold = ms_since(t0);
    if (!first.error.empty()) {
        std::printf("%s\n", first.error.c_str());
        return 1;
    }
    std::printf("%-40s %6.3f ms\n", "fontconfig match, first in the process", matched);
    std::printf("%-40s %6.3f ms  (%zu outlines)\n", "text to outlines, first in the process", cold,
                first.outlines.size());
    warm("text to outlines, warm, 12 in.", text, m.font, 12, 200);
    warm("text to outlines, warm, 200 in.", text, m.font, 200, 200);
    // Letters with overlapping parts, all merged.
    warm("20 merged letters, warm, 12 in.",
         "\u00c7\u00e7\u0104\u0105\u0118\u0119\u012e\u012f\u0172\u0173\u00c7\u00e7\u0104\u0105\u0118\u0119"
         "\u012e\u012f\u0172\u0173",
         m.font, 12, 100);
    return 0;
}
