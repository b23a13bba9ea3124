// The paint primitives, pixel by pixel, on an image.
#include <QFontMetrics>
#include <QImage>
#include <gtest/gtest.h>

#include "qt/canvas.h"
#include "tests/qt/qt_app.h"

namespace {

class Canvas : public ::testing::Test {
protected:
    Canvas() : image(60, 40, QImage::Format_RGB32) {
        qt_app();
        image.fill(Qt::white);
    }
    template <typename Paint>
    void paint(Paint f, const Look& look = {}) {
        QPainter p(&image);
        PainterCanvas c(p, look);
        f(c);
    }
    QRgb at(int x, int y) const { return image.pixel(x, y) & 0xFFFFFF; }
    QImage image;
};

constexpr QRgb kWhitePixel = 0xFFFFFF, kBlackPixel = 0x000000, kRedPixel = 0xFF0000,
               kBluePixel = 0x0000FF;

TEST_F(Canvas, ALineCoversItsStartButNotItsEndAndMovesThePosition) {
    paint([](PainterCanvas& c) {
        c.move_to(5, 5);
        c.line_to(15, 5);   // across
        c.line_to(15, 20);  // then down from where the first ended
        c.select_pen(kRed);
        c.move_to(30, 30);
        c.line_to(30, 30);  // no length: nothing
    });
    EXPECT_EQ(at(5, 5), kBlackPixel);
    EXPECT_EQ(at(14, 5), kBlackPixel);
    EXPECT_EQ(at(15, 5), kBlackPixel);  // the start of the second line
    EXPECT_EQ(at(15, 19), kBlackPixel);
    EXPECT_EQ(at(15, 20), kWhitePixel);
    EXPECT_EQ(at(4, 5), kWhitePixel);
    EXPECT_EQ(at(10, 6), kWhitePixel);  // one pixel wide
    EXPECT_EQ(at(30, 30), kWhitePixel);
}

TEST_F(Canvas, ARectangleIsOutlinedInThePenAndFilledWhiteUpToButNotOnItsRightAndBottom) {
    image.fill(Qt::black);
    paint([](PainterCanvas& c) {
        c.select_pen(kBlue);
        c.rectangle(10, 10, 14, 14);  // the start point mark: (x - 2, y - 2)-(x + 2, y + 2)
    });
    for (int i = 10; i <= 13; ++i) {
        EXPECT_EQ(at(i, 10), kBluePixel) << i;
        EXPECT_EQ(at(i, 13), kBluePixel) << i;
        EXPECT_EQ(at(10, i), kBluePixel) << i;
        EXPECT_EQ(at(13, i), kBluePixel) << i;
    }
    EXPECT_EQ(at(11, 11), kWhitePixel);
    EXPECT_EQ(at(12, 12), kWhitePixel);
    EXPECT_EQ(at(14, 12), kBlackPixel);
    EXPECT_EQ(at(12, 14), kBlackPixel);
}

// The shop floor's looks: light lines three pixels wide on the dark ground,
// a mark filled with the ground, the selection's colour still its own.
TEST_F(Canvas, TheLargeDarkLookDrawsThickLightLinesAndKeepsTheColoursApart) {
    Look look{true, true};
    image.fill(background_colour(look));
    paint([](PainterCanvas& c) {
        c.move_to(5, 10);
        c.line_to(25, 10);
        c.select_pen(kBlue);
        c.rectangle(30, 20, 40, 30);
    }, look);
    QColor line = QColor::fromRgb(at(15, 10)), ground = background_colour(look);
    EXPECT_GT(line.lightness(), 200);
    EXPECT_LT(ground.lightness(), 40);
    EXPECT_EQ(at(15, 9), at(15, 10));
    EXPECT_EQ(at(15, 11), at(15, 10));
    EXPECT_EQ(QColor::fromRgb(at(15, 13)), ground);
    QColor mark = QColor::fromRgb(at(30, 25));
    EXPECT_GT(mark.blue(), mark.red() + 80);
    EXPECT_EQ(QColor::fromRgb(at(35, 25)), ground);  // filled with the ground
}

TEST(WindowFont, IsFixedPitchFourteenPixelsHighAndAboutNineWide) {
    qt_app();
    QFontMetrics fm(window_font());
    EXPECT_EQ(fm.height(), kFontHeight);
    EXPECT_EQ(fm.horizontalAdvance('i'), fm.horizontalAdvance('M'));
    EXPECT_NEAR(fm.horizontalAdvance('M'), kFontWidth, 1);
}

}  // namespace
