// A whole job at wire speed: every figure of the sample drawing made against
// the simulated controller on a pseudo-terminal, which answers no faster than
// a 9600-baud line. Reports the job's time against the wire time of the bytes
// it exchanged, the time from an answer to the next command's first byte
// (after a counted tool stroke and after any other answer), and the
// processor time the program used. Then, figure by figure, the time the plan
// before a run would have told from the other figures' jobs, against the
// time the figure took.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <string>
#include <vector>

#include "bench/bench_machine.h"
#include "import/dxf.h"
#include "platform/files.h"
#include "import/shapes.h"
#include "records/prodlog.h"
#include "planning/walls.h"
#include "sequencing/jobrun.h"
#include "shell/plan.h"

namespace {

constexpr double kByteMs = 10 / 9600.0 * 1000;

double process_cpu_seconds() {
    timespec t{};
    ::clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) / 1e9;
}

bool counted_stroke(const std::string& command) {
    for (const char* c : {"N,0\r", "V,0\r", "J,0\r", "I,0\r", "S,0\r", "B,0\r"})
        if (command == c) return true;
    return false;
}

double median(std::vector<double> v) {
    if (v.empty()) return 0;
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

// One figure's job as its line in jobs.csv would have it, but with its time in
// milliseconds where the file has seconds: a figure takes a few seconds on
// the simulated line, too few for whole seconds to tell.
struct FigureJob {
    double ms = 0, inches = 0;
    int walls = 0;
    Counters strokes;
};

CsvRow row_of(const FigureJob& j, bool with_strokes) {
    auto iso = [](long long s) {
        std::time_t t = s;
        std::tm tm{};
        gmtime_r(&t, &tm);
        char text[32];
        std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%S+00:00", &tm);
        return std::string(text);
    };
    CsvRow row(kJobColumns, "0");
    row[kJobStart] = iso(0);
    row[kJobEnd] = iso(std::llround(j.ms));
    row[kJobDrawing] = "letters.dxf";
    row[kJobPlanned] = std::to_string(j.inches);
    row[kJobResult] = "done";
    if (with_strokes)
        for (std::size_t k = 0; k < kStrokeCounters.size(); ++k)
            row[kJobFirstStroke + k] = std::to_string(j.strokes.*kStrokeCounters[k]);
    return row;
}

// What the plan would have said of figure k, from every other figure's job.
void estimates(const std::vector<FigureJob>& jobs) {
    std::printf("figure (walls, inches, strokes): made in; estimated from the other figures by "
                "the inch and the stroke, by the inch alone; before any job\n");
    for (std::size_t k = 0; k < jobs.size(); ++k) {
        std::vector<CsvRow> both, inch;
        for (std::size_t o = 0; o < jobs.size(); ++o)
            if (o != k) both.push_back(row_of(jobs[o], true)), inch.push_back(row_of(jobs[o], false));
        const FigureJob& j = jobs[k];
        Pace p = measured_pace(both), q = measured_pace(inch);
        double made = j.ms / 1000;
        long strokes = total_strokes(j.strokes);
        double by_both = (p.per_inch * j.inches + p.per_stroke * strokes) / 1000;
        double by_inch = q.per_inch * j.inches / 1000;
        std::printf("%zu (%d, %.1f, %ld): %.2f s; %.2f s (%+.0f%%), %.2f s (%+.0f%%); %s\n", k + 1,
                    j.walls, j.inches, strokes, made, by_both,
                    100 * (by_both / made - 1), by_inch, 100 * (by_inch / made - 1),
                    time_estimate(j.walls, j.inches, strokes, Pace{}).c_str());
    }
}

double mean(const std::vector<double>& v) {
    double sum = 0;
    for (double x : v) sum += x;
    return v.empty() ? 0 : sum / static_cast<double>(v.size());
}

}  // namespace

int main(int argc, char** argv) {
    std::string drawing = argc > 1 ? argv[1] : ZEL_SOURCE_DIR "/examples/drawings/letters.dxf";
    SimOptions paced;
    paced.pace = true;
    BenchMachine machine(paced);
    std::string line, why;
    if (!read_first_line(ZEL_SOURCE_DIR "/examples/machine/setup.dat", 127, line, why))
        BenchMachine::fail(why);
    scan_setup(line.c_str());
    if (load_drawing(drawing) != DrawingLoad::loaded) BenchMachine::fail("cannot load " + drawing);

    write_log_in_background(true);
    machine.sim.keep_times(true);
    double cpu = process_cpu_seconds();
    auto start = std::chrono::steady_clock::now();
    std::vector<FigureJob> figures;
    for (shapes.selected = 1; shapes.selected <= shapes.objects; ++shapes.selected) {
        FigureJob f;
        const Counters before = counters;
        auto figure_start = std::chrono::steady_clock::now();
        if (make_job() != JobResult::made) BenchMachine::fail("the job was not made");
        f.ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() -
                                                         figure_start).count();
        f.walls = planned_walls();
        for (int w = 0; w < f.walls; ++w) f.inches += wall_list.l_a_dimensions[w];
        for (int32_t Counters::*stroke : kStrokeCounters)
            f.strokes.*stroke = counters.*stroke - before.*stroke;
        figures.push_back(f);
    }
    double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    cpu = process_cpu_seconds() - cpu;
    flush_log();

    // Walk the line: each command's bytes, its answer, the gap to the next command.
    // Where an exchange loses time against the wire: a command byte handed
    // over after its turn (each is due one byte time after the command's
    // first), the answer leaving the controller after the command's last byte
    // has crossed and the answer's own byte time (the simulator's lateness),
    // and the program's time from the answer to its next command.
    auto events = machine.sim.timeline();
    long sent = 0, received = 0;
    std::vector<double> after_stroke, after_other, byte_late, answer_late;
    std::string command, last_command;
    long long answered_at = -1, first_byte_at = -1, last_byte_at = -1;
    for (const auto& e : events) {
        if (e.to_program) {
            ++received;
            if (e.byte != '\r') {
                answered_at = e.micros;
                if (last_byte_at >= 0)
                    answer_late.push_back((e.micros - last_byte_at) / 1000.0 - 2 * kByteMs);
                last_byte_at = -1;
            }
            continue;
        }
        ++sent;
        if (command.empty()) {
            if (answered_at >= 0) {
                double gap = (e.micros - answered_at) / 1000.0;
                (counted_stroke(last_command) ? after_stroke : after_other).push_back(gap);
                answered_at = -1;
            }
            first_byte_at = e.micros;
        } else {
            byte_late.push_back((e.micros - first_byte_at) / 1000.0 - command.size() * kByteMs);
        }
        command += e.byte;
        if (e.byte == '\r') {
            last_command = command;
            last_byte_at = e.micros;
            command.clear();
        }
    }
    double wire_all = (sent + received) * kByteMs / 1000;
    std::printf("%d figures of %s\n", shapes.objects, drawing.c_str());
    std::printf("bytes sent %ld, received %ld\n", sent, received);
    std::printf("job time %.3f s; wire time of all its bytes %.3f s; ratio %.4f\n", seconds,
                wire_all, seconds / wire_all);
    std::vector<double> gaps = after_stroke;
    gaps.insert(gaps.end(), after_other.begin(), after_other.end());
    std::printf("per exchange (%zu), median / mean: a command byte after its turn %.3f / %.3f "
                "ms; the simulator's answer after its turn %.3f / %.3f ms; answer to the next "
                "command %.3f / %.3f ms; all of the exchange over its wire time, mean %.3f ms\n",
                answer_late.size(), median(byte_late), mean(byte_late), median(answer_late),
                mean(answer_late), median(gaps), mean(gaps),
                (seconds - wire_all) * 1000 / static_cast<double>(answer_late.size()));
    // The simulator's own lateness is no part of the program's time: a
    // controller on a real line answers when it answers.
    double own = seconds - mean(answer_late) * static_cast<double>(answer_late.size()) / 1000;
    std::printf("the job less the simulator's lateness %.3f s: ratio %.4f\n", own, own / wire_all);
    std::printf("answer to the next command's first byte, median: after a counted stroke %.3f ms "
                "(%zu), after other answers %.3f ms (%zu)\n",
                median(after_stroke), after_stroke.size(), median(after_other), after_other.size());
    std::printf("processor time of the program: %.3f s = %.2f%% of one core\n", cpu,
                100 * cpu / seconds);
    estimates(figures);
    return 0;
}
