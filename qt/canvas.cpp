#include "qt/canvas.h"

#include <QFontMetrics>
#include <QPen>

QFont window_font(bool large) {
    QFont f("DejaVu Sans Mono");
    f.setStyleHint(QFont::TypeWriter);
    f.setFixedPitch(true);
    // DejaVu Sans Mono is 1.164 em high and 0.602 em wide: 12 pixels to the
    // em give the 14-pixel line, and a stretch of 125% the 9-pixel cell. The
    // large display's font is half as large again, as its layout is.
    f.setPixelSize(large ? 18 : 12);
    f.setStretch(125);
    return f;
}

namespace {
QColor qcolour(Rgb c) { return QColor(c.r, c.g, c.b); }
}  // namespace

QColor background_colour(const Look& look) { return qcolour(ground_colour(look)); }

PainterCanvas::PainterCanvas(QPainter& painter, const Look& look) : p_(painter), look_(look) {
    p_.setRenderHint(QPainter::Antialiasing, false);
    p_.setFont(window_font(look.large));
    p_.setBackground(background_colour(look));
    p_.setBackgroundMode(Qt::OpaqueMode);
    p_.setBrush(Qt::NoBrush);
    select_pen(kBlack);
}

void PainterCanvas::select_pen(Rgb c) {
    QPen pen(qcolour(shown_colour(c, look_)), line_width(look_), Qt::SolidLine, Qt::FlatCap);
    p_.setPen(pen);
}

void PainterCanvas::move_to(int x, int y) { at_ = QPoint(x, y); }

void PainterCanvas::line_to(int x, int y) {
    QPoint to(x, y);
    // A flat cap leaves out the end pixel; a line of no length draws nothing.
    if (to != at_) p_.drawLine(at_, to);
    at_ = to;
}

void PainterCanvas::rectangle(int left, int top, int right, int bottom) {
    if (right <= left || bottom <= top) return;
    p_.fillRect(left, top, right - left, bottom - top, background_colour(look_));
    // drawRect's outline takes one pixel more than its width and height.
    p_.drawRect(left, top, right - left - 1, bottom - top - 1);
}

void PainterCanvas::text(int x, int y, const std::string& s) {
    QPen pen = p_.pen();
    p_.setPen(qcolour(shown_colour(kBlack, look_)));
    p_.drawText(x, y + QFontMetrics(p_.font()).ascent(), QString::fromLocal8Bit(s));
    p_.setPen(pen);
}
