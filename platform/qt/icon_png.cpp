// Writes the program icon as DIR/32/zel.png and, each pixel doubled, as
// DIR/64/zel.png.
#include <QDir>
#include <QImage>
#include <cstdio>

#include "resources/resources.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: zel_icon_png DIR\n");
        return 2;
    }
    QImage icon(kIconXpm);
    QDir dir(QString::fromLocal8Bit(argv[1]));
    bool ok = dir.mkpath("32") && dir.mkpath("64") && icon.save(dir.filePath("32/zel.png")) &&
              icon.scaled(64, 64).save(dir.filePath("64/zel.png"));
    if (!ok) std::fprintf(stderr, "zel_icon_png: cannot write the icons in %s\n", argv[1]);
    return ok ? 0 : 1;
}
