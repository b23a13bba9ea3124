// The first load of a large drawing in a fresh process, as an operator meets
// it, against the floor of reading the same file with fgets in 128-byte
// reads in a fresh process of its own; and the peak memory of that process.
//   bench_import [FOLDER] [MEGABYTES] [RUNS]
#include <sys/resource.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "import/dxf.h"
#include "import/shapes.h"
#include "records/notice.h"

namespace {

class Writer {
public:
    explicit Writer(const std::string& path) : f_(std::fopen(path.c_str(), "wb")) {
        if (!f_) {
            std::perror(path.c_str());
            std::exit(1);
        }
    }
    ~Writer() { std::fclose(f_); }
    void code(int c, const char* value) { std::fprintf(f_, "%3d\n%s\n", c, value); }
    void code(int c, double value) { std::fprintf(f_, "%3d\n%.6f\n", c, value); }
    void code(int c, int value) { std::fprintf(f_, "%3d\n%6d\n", c, value); }
    long size() { return std::ftell(f_); }

    // Vertex v of outline n; every third one carries a bulge.
    static double vx(int v, int n) { return n % 40 * 12.0 + v * 0.125; }
    static double vy(int v, int n) { return n / 40 * 12.0 + (v & 3) * 0.5; }
    static double bulge(int v) { return v % 3 == 2 ? 0.414214 : 0.0; }

    // The outline as an R12 POLYLINE with its VERTEX entities, marked closed.
    void polyline(int vertices, int n) {
        entity("POLYLINE");
        code(66, "     1"), code(10, 0.0), code(20, 0.0), code(30, 0.0), code(70, "     1");
        for (int v = 0; v < vertices; ++v) {
            entity("VERTEX");
            code(10, vx(v, n)), code(20, vy(v, n));
            code(30, 0.0);
            if (bulge(v) != 0) code(42, bulge(v));
        }
        entity("SEQEND");
    }
    // The same outline as an LWPOLYLINE, as drawing programs save it today.
    void lwpolyline(int vertices, int n) {
        entity("LWPOLYLINE");
        code(100, "AcDbPolyline"), code(90, vertices), code(70, "     1"), code(43, 0.0);
        for (int v = 0; v < vertices; ++v) {
            code(10, vx(v, n)), code(20, vy(v, n));
            if (bulge(v) != 0) code(42, bulge(v));
        }
    }
    // The same outline as LINE and ARC entities, closed by its last segment.
    void lines_and_arcs(int vertices, int n) {
        for (int v = 0; v < vertices; ++v) {
            int w = (v + 1) % vertices;
            double x0 = vx(v, n), y0 = vy(v, n), x1 = vx(w, n), y1 = vy(w, n);
            if (bulge(v) == 0) {
                entity("LINE");
                code(100, "AcDbLine"), code(10, x0), code(20, y0), code(30, 0.0);
                code(11, x1), code(21, y1), code(31, 0.0);
                continue;
            }
            // The arc's centre lies left of the chord for a positive bulge.
            double theta = 4 * std::atan(bulge(v)), chord = std::hypot(x1 - x0, y1 - y0);
            double away = chord / 2 / std::tan(theta / 2), r = chord / 2 / std::sin(theta / 2);
            double cx = (x0 + x1) / 2 - (y1 - y0) / chord * away;
            double cy = (y0 + y1) / 2 + (x1 - x0) / chord * away;
            entity("ARC");
            code(100, "AcDbCircle"), code(10, cx), code(20, cy), code(30, 0.0), code(40, r);
            code(100, "AcDbArc"), code(50, std::atan2(y0 - cy, x0 - cx) * 180 / M_PI);
            code(51, std::atan2(y1 - cy, x1 - cx) * 180 / M_PI);
        }
    }
    // Circles, the holes and dots of a sign; `vertices` of them.
    void circles(int vertices, int n) {
        for (int v = 0; v < vertices; ++v) {
            entity("CIRCLE");
            code(100, "AcDbCircle"), code(10, vx(v, n)), code(20, vy(v, n)), code(30, 0.0);
            code(40, 0.05 + v % 7 * 0.01);
        }
    }
    // A letter's outline as a closed cubic SPLINE, as design programs save
    // curves: `vertices` control points round a wavy oval, the first three
    // again at the end, and uniform knots.
    void spline(int vertices, int n) {
        entity("SPLINE");
        code(100, "AcDbSpline"), code(210, 0.0), code(220, 0.0), code(230, 1.0);
        code(70, "    11"), code(71, "     3"), code(72, vertices + 7), code(73, vertices + 3);
        code(74, "     0");
        for (int k = 0; k < vertices + 7; ++k) code(40, static_cast<double>(k));
        double cx = n % 40 * 12.0 + 5, cy = n / 40 * 12.0 + 4;
        for (int k = 0; k < vertices + 3; ++k) {
            double t = 2 * M_PI * (k % vertices) / vertices;
            code(10, cx + 5 * std::cos(t) + 0.3 * std::cos(7 * t));
            code(20, cy + 3 * std::sin(t) + 0.3 * std::sin(5 * t));
            code(30, 0.0);
        }
    }
    // Each outline in the next of the other kinds, as drawings put together
    // from several programs hold them.
    void mixed(int vertices, int n) {
        switch (n % 5) {
        case 0: polyline(vertices, n); break;
        case 1: lwpolyline(vertices, n); break;
        case 2: lines_and_arcs(vertices, n); break;
        case 3: spline(vertices, n); break;
        default: circles(vertices / 6, n); break;
        }
    }
    void begin() { code(0, "SECTION"), code(2, "ENTITIES"); }
    void end() { code(0, "ENDSEC"), code(0, "EOF"); }

private:
    // Each entity with its handle and layer, as drawing programs write it.
    void entity(const char* name) {
        code(0, name);
        std::fprintf(f_, "  5\n%X\n", next_handle_++);
        code(100, "AcDbEntity"), code(8, "LETTERS");
    }
    FILE* f_;
    unsigned next_handle_ = 0x100;
};

// About `mb` MB of outlines of 60 vertices written by `outline` and nothing
// else: far more than the shape tables hold, so the reader refuses it.
void write_drawing(const std::string& path, long mb, void (Writer::*outline)(int, int)) {
    Writer w(path);
    w.begin();
    for (int n = 0; w.size() < mb << 20; ++n) (w.*outline)(60, n);
    w.end();
}

double seconds_since(std::chrono::steady_clock::time_point t0) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
}

rusage usage() {
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return u;
}

double cpu_seconds(const rusage& u) {
    auto s = [](const timeval& t) { return t.tv_sec + t.tv_usec * 1e-6; };
    return s(u.ru_utime) + s(u.ru_stime);
}

// In the fresh process: one read of `path`, its time (on the clock and on
// the processor) and the peak memory.
int child(const std::string& how, const std::string& path) {
    std::freopen("/dev/null", "w", stderr);  // the refusal notice
    double cpu0 = cpu_seconds(usage());
    auto t0 = std::chrono::steady_clock::now();
    if (how == "fgets") {
        FILE* f = std::fopen(path.c_str(), "rb");
        char line[128];
        long lines = 0;
        while (std::fgets(line, sizeof line, f)) ++lines;
        std::fclose(f);
        if (lines == 0) return 1;
    } else {
        load_drawing(path);
    }
    double s = seconds_since(t0);
    rusage u = usage();
    take_notices();
    std::printf("%.6f %.6f %ld\n", s, cpu_seconds(u) - cpu0, u.ru_maxrss);
    return 0;
}

struct Run {
    double seconds, cpu;
    long kib;
};

Run in_fresh_process(const char* self, const char* how, const std::string& path) {
    std::string command = std::string(self) + " --child " + how + " '" + path + "'";
    FILE* p = popen(command.c_str(), "r");
    Run r{0, 0, 0};
    if (!p || std::fscanf(p, "%lf %lf %ld", &r.seconds, &r.cpu, &r.kib) != 3) {
        std::fprintf(stdout, "%s failed\n", command.c_str());
        std::exit(1);
    }
    pclose(p);
    return r;
}

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

void measure(const char* self, const char* name, const std::string& path, int runs) {
    std::vector<double> floor_s, reader_s, floor_cpu, reader_cpu;
    long floor_kib = 0, reader_kib = 0;
    in_fresh_process(self, "fgets", path);  // into the page cache
    for (int i = 0; i < runs; ++i) {
        Run f = in_fresh_process(self, "fgets", path);
        Run r = in_fresh_process(self, "reader", path);
        floor_s.push_back(f.seconds);
        reader_s.push_back(r.seconds);
        floor_cpu.push_back(f.cpu);
        reader_cpu.push_back(r.cpu);
        floor_kib = std::max(floor_kib, f.kib);
        reader_kib = std::max(reader_kib, r.kib);
    }
    FILE* f = std::fopen(path.c_str(), "rb");
    std::fseek(f, 0, SEEK_END);
    double mb = std::ftell(f) / 1048576.0;
    std::fclose(f);
    double fl = median(floor_s), rd = median(reader_s);
    double fc = median(floor_cpu), rc = median(reader_cpu);
    std::printf("%-8s %5.1f MB  fgets %6.1f ms  reader %6.1f ms  ratio %.2f  (processor time "
                "%.2f)  peak %5.1f MiB (fgets %4.1f MiB)\n",
                name, mb, fl * 1e3, rd * 1e3, rd / fl, rc / fc, reader_kib / 1024.0,
                floor_kib / 1024.0);
    std::fflush(stdout);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 4 && std::strcmp(argv[1], "--child") == 0) return child(argv[2], argv[3]);
    if (argc == 4 && std::strcmp(argv[1], "--only") == 0) {
        // One drawing already written: bench_import --only NAME PATH
        measure(argv[0], argv[2], argv[3], 9);
        return 0;
    }
    std::string folder = argc > 1 ? argv[1] : "/tmp";
    long mb = argc > 2 ? std::atol(argv[2]) : 50;
    int runs = argc > 3 ? std::atoi(argv[3]) : 9;
    struct Drawing {
        const char* name;
        void (Writer::*outline)(int, int);
        std::string path;
    };
    Drawing drawings[] = {
        {"polyline", &Writer::polyline, ""},     {"lwpoly", &Writer::lwpolyline, ""},
        {"circle", &Writer::circles, ""},        {"linearc", &Writer::lines_and_arcs, ""},
        {"spline", &Writer::spline, ""},         {"mix", &Writer::mixed, ""},
    };
    for (Drawing& d : drawings) {
        d.path = folder + "/zel-bench-" + d.name + ".dxf";
        write_drawing(d.path, mb, d.outline);
    }
    std::printf("the first load in a fresh process, median of %d runs each, alternating with "
                "fgets; the file in the page cache\n",
                runs);
    for (const Drawing& d : drawings) measure(argv[0], d.name, d.path, runs);
    if (!std::getenv("ZEL_BENCH_KEEP"))
        for (const Drawing& d : drawings) std::remove(d.path.c_str());
}
