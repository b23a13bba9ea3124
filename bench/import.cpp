// Import time of large drawings against the floor of reading the same file
// with fgets in 128-byte reads, measured side by side.
//   bench_import [FOLDER] [MEGABYTES]
#include <algorithm>
#include <chrono>
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
    void handle() { std::fprintf(f_, "  5\n%X\n", next_handle_++); }
    long size() { return std::ftell(f_); }

    // Entities a drawing program writes around the outlines.
    void other_entities(int n) {
        for (int i = 0; i < n; ++i) {
            double x = (i * 37) % 500 * 0.25, y = (i * 11) % 300 * 0.25;
            entity("LINE");
            code(10, x), code(20, y), code(30, 0.0), code(11, x + 1.5), code(21, y + 0.5);
            code(31, 0.0);
            entity("CIRCLE");
            code(10, x), code(20, y), code(30, 0.0), code(40, 0.375);
            entity("ARC");
            code(10, x), code(20, y), code(30, 0.0), code(40, 2.0), code(50, 15.0), code(51, 75.0);
            entity("TEXT");
            code(10, x), code(20, y), code(30, 0.0), code(40, 0.2), code(1, "SIGN 4417-B REV C");
            entity("LWPOLYLINE");
            code(90, "     4"), code(70, "     1"), code(43, 0.0);
            for (int k = 0; k < 4; ++k) code(10, x + k), code(20, y + (k & 1)), code(42, 0.0);
        }
    }
    // An outline of `vertices` vertices, every third one with a bulge.
    void polyline(int vertices, int n) {
        entity("POLYLINE");
        code(66, "     1"), code(10, 0.0), code(20, 0.0), code(30, 0.0), code(70, "     1");
        for (int v = 0; v < vertices; ++v) {
            entity("VERTEX");
            code(10, n % 40 * 12.0 + v * 0.125), code(20, n / 40 * 12.0 + (v & 3) * 0.5);
            code(30, 0.0);
            if (v % 3 == 2) code(42, 0.414214);
        }
        entity("SEQEND");
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
};

// About `mb` MB of other entities with 4000 vertices of outlines spread
// through them: a drawing that loads.
void write_sparse(const std::string& path, long mb) {
    Writer w(path);
    w.begin();
    for (int n = 0; w.size() < mb << 20; ++n) {
        w.other_entities(200);
        if (n < 160) w.polyline(25, n);
    }
    w.end();
}

// About `mb` MB of outlines, two in three entities VERTEX, with other
// entities between them: far more than the shape tables hold, so the reader
// reads and counts every vertex and refuses the drawing.
void write_dense(const std::string& path, long mb) {
    Writer w(path);
    w.begin();
    for (int n = 0; w.size() < mb << 20; ++n) {
        w.polyline(60, n);
        w.other_entities(4);
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
    std::printf("%-8s %7.1f MB  fgets %7.1f ms  reader %7.1f ms  ratio %.2f  (%s, %d figures)\n",
                name, mb, fl * 1e3, rd * 1e3, rd / fl,
                result == DrawingLoad::loaded ? "loaded" : "refused", shapes.objects);
}

}  // namespace

int main(int argc, char** argv) {
    std::freopen("/dev/null", "w", stderr);  // the refusal notice, once per run
    std::string folder = argc > 1 ? argv[1] : "/tmp";
    long mb = argc > 2 ? std::atol(argv[2]) : 40;
    std::string sparse = folder + "/zel-bench-sparse.dxf", dense = folder + "/zel-bench-dense.dxf";
    write_sparse(sparse, mb);
    write_dense(dense, mb);
    std::printf("median of 9 runs each, alternating; the file in the page cache\n");
    measure("sparse", sparse);
    measure("dense", dense);
    if (!std::getenv("ZEL_BENCH_KEEP")) {
        std::remove(sparse.c_str());
        std::remove(dense.c_str());
    }
}
