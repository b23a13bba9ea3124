#include "records/progress.h"

#include "platform/clock.h"
#include "platform/signals.h"
#include "platform/text.h"

Progress progress;

void reset_progress() { progress = Progress{}; }

void begin_work(Progress::Work work, int figure, int walls, float planned) {
    Progress& p = progress;
    p.work = work;
    p.running = true;
    p.figure = figure;
    p.wall = 0;
    p.walls = walls;
    p.planned = planned;
    p.fed = 0.0f;
    p.fed_before = 0.0f;
    p.counted = 0.0f;
    p.stopped_by.clear();
    p.letter_cut = false;
    p.started_ms = p.ended_ms = monotonic_ms();
    p.started_at = p.ended_at = std::time(nullptr);
    p.at_start = counters;
}

std::string stopped_by() {
    Progress& p = progress;
    if (p.stopped_by.empty()) {
        std::string cause = termination_cause();
        p.stopped_by = cause.empty() ? "the operator" : cause;
    }
    return p.stopped_by;
}

void count_only_material_fed() {
    Progress& p = progress;
    float fed = p.fed - p.fed_before;
    if (p.letter_cut || !(fed < p.counted)) return;
    counters.inches -= p.counted - fed;
    p.counted = fed;
    write_log();
}

void end_work() {
    progress.running = false;
    progress.ended_ms = monotonic_ms();
    progress.ended_at = std::time(nullptr);
}

std::string strokes_text() { return strokes_text(counters, progress.at_start); }

std::string strokes_text(const Counters& now, const Counters& was) {
    const struct {
        long long n;
        const char* one;
        const char* many;
    } kinds[] = {
        {0LL + now.notch30 - was.notch30, "30-degree notch", "30-degree notches"},
        {0LL + now.notch100 - was.notch100, "100-degree notch", "100-degree notches"},
        {0LL + now.dimples - was.dimples, "dimple", "dimples"},
        {0LL + now.indicates - was.indicates, "indicate mark", "indicate marks"},
        {0LL + now.flanges - was.flanges, "flange bend", "flange bends"},
        {0LL + now.sheers - was.sheers, "shear", "shears"},
    };
    std::string out;
    for (const auto& k : kinds) {
        if (k.n == 0) continue;
        if (!out.empty()) out += ", ";
        out += strprintf("%lld %s", k.n, k.n == 1 ? k.one : k.many);
    }
    return out.empty() ? "no strokes" : out;
}

std::string duration_text(long long ms) {
    long long s = (ms + 500) / 1000;
    if (s < 60) return strprintf("%lld s", s);
    if (s < 3600) return strprintf("%lld min %lld s", s / 60, s % 60);
    return strprintf("%lld h %lld min", s / 3600, s % 3600 / 60);
}
