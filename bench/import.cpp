// Import time of large drawings against the floor of reading the same file
// with fgets in 128-byte reads, measured side by side.
//   bench_import [FOLDER] [MEGABYTES]
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
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
    void handle() { std::fprintf(f_, "  5\n%X\n", next_handle_++); }
    long size() { return std::ftell(f_); }

    // Entities a drawing program writes around the outlines, none of them
    // part of an outline: points, texts and block references, and with
    // `loose` lines and arcs whose ends meet nothing (else dimensions).
    void other_entities(int n, bool loose) {
        for (int i = 0; i < n; ++i, ++other_) {
            double x = other_ % 1000 * 0.37, y = -1.0 - other_ / 1000 * 0.53;
            if (loose) {
                entity("LINE");
                code(10, x), code(20, y), code(30, 0.0), code(11, x + 0.2), code(21, y - 0.1);
                code(31, 0.0);
                entity("ARC");
                code(10, x + 0.1), code(20, y - 0.3), code(30, 0.0), code(40, 0.05);
                code(50, 15.0), code(51, 75.0);
            } else {
                entity("DIMENSION");
                code(2, "*D12"), code(10, x), code(20, y), code(30, 0.0), code(11, x + 0.2);
                code(21, y - 0.1), code(31, 0.0), code(70, "     0");
                entity("DIMENSION");
                code(2, "*D13"), code(10, x + 0.1), code(20, y - 0.3), code(30, 0.0);
                code(13, 0.05), code(14, 15.0), code(70, "     1");
            }
            entity("POINT");
            code(10, x), code(20, y), code(30, 0.0);
            entity("TEXT");
            code(10, x), code(20, y), code(30, 0.0), code(40, 0.2), code(1, "SIGN 4417-B REV C");
            entity("INSERT");
            code(2, "LOGO"), code(10, x), code(20, y), code(30, 0.0), code(41, 1.0);
        }
    }
    // Vertex v of outline n of `vertices` vertices; every third one carries a bulge.
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
                code(10, x0), code(20, y0), code(30, 0.0), code(11, x1), code(21, y1);
                code(31, 0.0);
                continue;
            }
            // The arc's centre lies left of the chord for a positive bulge.
            double theta = 4 * std::atan(bulge(v)), chord = std::hypot(x1 - x0, y1 - y0);
            double away = chord / 2 / std::tan(theta / 2), r = chord / 2 / std::sin(theta / 2);
            double cx = (x0 + x1) / 2 - (y1 - y0) / chord * away;
            double cy = (y0 + y1) / 2 + (x1 - x0) / chord * away;
            entity("ARC");
            code(10, cx), code(20, cy), code(30, 0.0), code(40, r);
            code(50, std::atan2(y0 - cy, x0 - cx) * 180 / M_PI);
            code(51, std::atan2(y1 - cy, x1 - cx) * 180 / M_PI);
        }
    }
    void begin() { code(0, "SECTION"), code(2, "ENTITIES"); }
    void end() { code(0, "ENDSEC"), code(0, "EOF"); }

private:
    void entity(const char* name) {
        code(0, name);
        handle();
        code(8, "LETTERS");
    }
    FILE* f_;
    unsigned next_handle_ = 0x100;
    int other_ = 0;
};

// About `mb` MB of other entities with 4000 vertices of outlines spread
// through them: a drawing that loads.
void write_sparse(const std::string& path, long mb, bool loose) {
    Writer w(path);
    w.begin();
    for (int n = 0; w.size() < mb << 20; ++n) {
        w.other_entities(200, loose);
        if (n < 160) w.polyline(25, n);
    }
    w.end();
}

// About `mb` MB of outlines of 60 vertices written by `outline`, with other
// entities between them: far more than the shape tables hold, so the reader
// reads and counts every outline and refuses the drawing.
void write_dense(const std::string& path, long mb, void (Writer::*outline)(int, int)) {
    Writer w(path);
    w.begin();
    for (int n = 0; w.size() < mb << 20; ++n) {
        (w.*outline)(60, n);
        w.other_entities(4, false);
    }
    w.end();
}

double seconds_since(std::chrono::steady_clock::time_point t0) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
}

double floor_run(const std::string& path) {
    auto t0 = std::chrono::steady_clock::now();
    FILE* f = std::fopen(path.c_str(), "rb");
    char line[128];
    long lines = 0;
    while (std::fgets(line, sizeof line, f)) ++lines;
    std::fclose(f);
    double s = seconds_since(t0);
    if (lines == 0) std::exit(1);
    return s;
}

double reader_run(const std::string& path, DrawingLoad& result) {
    auto t0 = std::chrono::steady_clock::now();
    result = load_drawing(path);
    double s = seconds_since(t0);
    take_notices();
    return s;
}

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

void measure(const char* name, const std::string& path) {
    const int rounds = 9;
    std::vector<double> floor_s, reader_s;
    DrawingLoad result = DrawingLoad::loaded;
    floor_run(path);  // into the page cache
    for (int i = 0; i < rounds; ++i) {
        floor_s.push_back(floor_run(path));
        reader_s.push_back(reader_run(path, result));
    }
    FILE* f = std::fopen(path.c_str(), "rb");
    std::fseek(f, 0, SEEK_END);
    double mb = std::ftell(f) / 1048576.0;
    std::fclose(f);
    double fl = median(floor_s), rd = median(reader_s);
    std::printf("%-8s %7.1f MB  fgets %7.1f ms  reader %7.1f ms  ratio %.2f  (%s, %d figures, "
                "%d entries, %d open chains)\n",
                name, mb, fl * 1e3, rd * 1e3, rd / fl,
                result == DrawingLoad::loaded ? "loaded" : "refused", shapes.objects, dxf.fp + 1,
                groups.passed.open_chains);
}

}  // namespace

int main(int argc, char** argv) {
    std::freopen("/dev/null", "w", stderr);  // the refusal notice, once per run
    std::string folder = argc > 1 ? argv[1] : "/tmp";
    long mb = argc > 2 ? std::atol(argv[2]) : 40;
    struct Drawing {
        const char* name;
        std::string path;
    };
    const Drawing drawings[] = {
        {"sparse", folder + "/zel-bench-sparse.dxf"},
        {"dense", folder + "/zel-bench-dense.dxf"},
        {"loose", folder + "/zel-bench-loose.dxf"},
        {"lwpoly", folder + "/zel-bench-lwpolyline.dxf"},
        {"linearc", folder + "/zel-bench-lines-and-arcs.dxf"},
    };
    write_sparse(drawings[0].path, mb, false);
    write_dense(drawings[1].path, mb, &Writer::polyline);
    write_sparse(drawings[2].path, mb, true);
    write_dense(drawings[3].path, mb, &Writer::lwpolyline);
    write_dense(drawings[4].path, mb, &Writer::lines_and_arcs);
    std::printf("median of 9 runs each, alternating; the file in the page cache\n");
    for (const Drawing& d : drawings) measure(d.name, d.path);
    if (!std::getenv("ZEL_BENCH_KEEP"))
        for (const Drawing& d : drawings) std::remove(d.path.c_str());
}
