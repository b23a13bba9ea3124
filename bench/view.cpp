// One repaint of the fullest drawing the shape tables hold, through the
// real window and its Qt painter, at the largest zoom and fitted whole.
//   bench_view [REPAINTS]
#include <QApplication>
#include <QElapsedTimer>
#include <QImage>
#include <algorithm>
#include <clocale>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/reset.h"
#include "import/dxf.h"
#include "import/shapes.h"
#include "qt/main_window.h"
#include "qt/qt_window_system.h"
#include "records/settings.h"
#include "shell/view.h"
#include "shell/window.h"
#include "shell/window_state.h"

namespace {

// 48 closed outlines round ellipses on a grid, every vertex with a bulge so
// that every element is an arc of two screen points: 47 of 99 vertices and
// one of 98 fill the 4800 entries exactly.
std::string write_drawing() {
    std::string path = "/tmp/zel-bench-view.dxf";
    FILE* f = std::fopen(path.c_str(), "w");
    if (!f) {
        std::perror(path.c_str());
        std::exit(1);
    }
    std::fprintf(f, "  0\nSECTION\n  2\nENTITIES\n");
    for (int n = 0; n < 48; ++n) {
        int vertices = n < 47 ? 99 : 98;
        double cx = n % 8 * 12.0, cy = n / 8 * 18.0;
        std::fprintf(f, "  0\nPOLYLINE\n  8\n0\n 66\n1\n 70\n1\n");
        for (int v = 0; v < vertices; ++v) {
            double a = 2 * M_PI * v / vertices;
            std::fprintf(f, "  0\nVERTEX\n  8\n0\n 10\n%.4f\n 20\n%.4f\n", cx + 5 * std::cos(a),
                         cy + 8 * std::sin(a));
            std::fprintf(f, " 42\n0.2\n");
        }
        std::fprintf(f, "  0\nSEQEND\n");
    }
    std::fprintf(f, "  0\nENDSEC\n  0\nEOF\n");
    std::fclose(f);
    return path;
}

void send(MainWindow& w, Message m) { w.send(m); }

// How much the paint drew: the dark pixels of the client area.
long dark_pixels(MainWindow& window) {
    QImage image = window.client()->grab().toImage();
    long dark = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) dark += qGray(image.pixel(x, y)) < 128;
    return dark;
}

// Median and 90th percentile of `n` repaints, in milliseconds.
void measure(const char* name, MainWindow& window, int n) {
    std::vector<double> ms;
    for (int i = 0; i < n; ++i) {
        QElapsedTimer t;
        t.start();
        window.client()->repaint();
        ms.push_back(t.nsecsElapsed() / 1e6);
    }
    std::sort(ms.begin(), ms.end());
    std::printf("%-28s zoom %7.3f  median %6.3f ms  p90 %6.3f ms  max %6.3f ms  %ld dark pixels\n",
                name, win.zoom, ms[n / 2], ms[n * 9 / 10], ms.back(), dark_pixels(window));
}

}  // namespace

int main(int argc, char** argv) {
    int repaints = argc > 1 ? std::atoi(argv[1]) : 200;
    if (repaints < 1) repaints = 1;
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    int qargc = 1;
    char name[] = "bench_view";
    char* qargv[] = {name, nullptr};
    QApplication app(qargc, qargv);
    std::setlocale(LC_NUMERIC, "C");

    reset_all_state();
    settings.XOFFSET = 60;
    settings.YOFFSET = 420;
    settings.direction = 1;
    settings.closed_figure = 1;
    if (load_drawing(write_drawing()) != DrawingLoad::loaded) return 1;
    int end = 0;
    while (end < kShapeEntries && shapes.tp[end] != kTableEnd) ++end;
    int points = 0;
    while (shapes.points[points].y != kPointMarker) ++points;
    std::printf("drawing: %d figures, end of table at entry %d, %d screen points\n",
                shapes.objects, end, points);

    MainWindow window(zelWndProc);
    QtWindowSystem ws(window);
    window.resize(1024, 768);
    window.show();
    QCoreApplication::processEvents();
    QWidget* client = window.client();
    std::printf("client area %d x %d, %s platform\n", client->width(), client->height(),
                qPrintable(QGuiApplication::platformName()));

    send(window, {WindowMessage::key_down, 'F'});
    measure("fitted whole", window, repaints);
    // The wheel, far past the largest zoom, about the first figure's start:
    // its outline runs through the window.
    WinPoint start = to_window(current_view(), shapes.points[1]);
    Message zoom_in{WindowMessage::mouse_wheel, 0, start.x, start.y};
    zoom_in.delta = 120 * 100;
    send(window, zoom_in);
    measure("largest zoom, on an outline", window, repaints);
    win.cp = 1;
    measure("the same, control points on", window, repaints);

    return 0;
}
