#include "qt/main_window.h"

#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPainter>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollBar>
#include <QShortcut>
#include <QSignalBlocker>
#include <QStyle>
#include <QStatusBar>
#include <QTimer>
#include <QWheelEvent>

#include <algorithm>
#include <climits>

#include "qt/canvas.h"
#include "resources/resources.h"
#include "resources/strings.h"

namespace {

bool waiting = false;

int modifier_keys(Qt::KeyboardModifiers held) {
    return (held & Qt::ShiftModifier ? kShiftHeld : 0) |
           (held & Qt::ControlModifier ? kControlHeld : 0);
}

}  // namespace

bool waiting_for_machine() { return waiting; }
void set_waiting_for_machine(bool w) { waiting = w; }

ClientArea::ClientArea(WindowProc proc) : proc_(proc) {
    setFrameShape(QFrame::NoFrame);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    for (int id : {kHorizontalBar, kVerticalBar}) {
        QScrollBar* bar = id == kHorizontalBar ? horizontalScrollBar() : verticalScrollBar();
        bar->setRange(0, 0);
        bar->setSingleStep(20);
        // Only the operator's moves: the window procedure's own are not signalled.
        connect(bar, &QScrollBar::valueChanged, this, [this, id](int value) {
            Message m{WindowMessage::scroll, id, value};
            proc_(m);
        });
    }
}

void ClientArea::paintEvent(QPaintEvent*) {
    QPainter painter(viewport());
    painter.fillRect(viewport()->rect(), background_colour(look_));
    PainterCanvas canvas(painter, look_);
    Message m{WindowMessage::paint};
    m.canvas = &canvas;
    proc_(m);
}

void ClientArea::set_look(const Look& look) {
    look_ = look;
    viewport()->update();
}

void ClientArea::send_mouse(WindowMessage kind, QMouseEvent* e) {
    QPoint at = e->position().toPoint();
    Message m{kind};
    m.x = at.x();
    m.y = at.y();
    m.keys = modifier_keys(e->modifiers());
    proc_(m);
}

void ClientArea::mousePressEvent(QMouseEvent* e) {
    if (waiting) return;
    if (e->button() == Qt::LeftButton) send_mouse(WindowMessage::left_button_down, e);
    if (e->button() == Qt::MiddleButton) send_mouse(WindowMessage::middle_button_down, e);
}

void ClientArea::mouseReleaseEvent(QMouseEvent* e) {
    if (waiting) return;
    if (e->button() == Qt::LeftButton) send_mouse(WindowMessage::left_button_up, e);
    if (e->button() == Qt::MiddleButton) send_mouse(WindowMessage::middle_button_up, e);
}

void ClientArea::mouseMoveEvent(QMouseEvent* e) {
    if (!waiting) send_mouse(WindowMessage::mouse_move, e);
}

void ClientArea::wheelEvent(QWheelEvent* e) {
    e->accept();
    if (waiting || e->angleDelta().y() == 0) return;
    QPoint at = e->position().toPoint();
    Message m{WindowMessage::mouse_wheel};
    m.x = at.x();
    m.y = at.y();
    m.delta = e->angleDelta().y();
    m.keys = modifier_keys(e->modifiers());
    proc_(m);
}

void ClientArea::resizeEvent(QResizeEvent* e) {
    QAbstractScrollArea::resizeEvent(e);
    Message m{WindowMessage::size};
    m.x = viewport()->width();
    m.y = viewport()->height();
    proc_(m);
}

// The window procedure repaints when it has moved the view.
void ClientArea::scrollContentsBy(int, int) {}

void ClientArea::set_scroll_bars(const ScrollRange& horizontal, const ScrollRange& vertical) {
    for (auto [bar, r] : {std::pair{horizontalScrollBar(), horizontal},
                          std::pair{verticalScrollBar(), vertical}}) {
        QSignalBlocker quiet(bar);
        bar->setRange(r.min, r.max);
        bar->setPageStep(r.page);
        bar->setValue(r.value);
    }
}

StatusText::StatusText() {
    setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
    setFixedHeight(fontMetrics().height());
}

QSize StatusText::sizeHint() const { return {100, height()}; }

void StatusText::set_text(const QString& text) {
    if (text == text_) return;
    text_ = text;
    update();
    fit();
}

// Called while a layout is being applied (a resize of the client area shows
// its status), a change of height would apply layouts within it: the height
// is set once the events in hand are handled.
void StatusText::fit() {
    if (fit_pending_) return;
    fit_pending_ = true;
    QTimer::singleShot(0, this, [this] {
        fit_pending_ = false;
        QRect lines = fontMetrics().boundingRect(QRect(0, 0, std::max(width(), 1), INT_MAX),
                                                 Qt::TextWordWrap, text_);
        int h = std::max(lines.height(), fontMetrics().height());
        if (h > height() || (h < height() && !holding_)) setFixedHeight(h);
    });
}

void StatusText::hold_height(bool hold) {
    holding_ = hold;
    if (!hold) fit();
}

void StatusText::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    style()->drawItemText(&painter, rect(), Qt::AlignLeft | Qt::AlignVCenter | Qt::TextWordWrap,
                          palette(), isEnabled(), text_, foregroundRole());
}

void StatusText::resizeEvent(QResizeEvent*) { fit(); }

void StatusText::changeEvent(QEvent* e) {
    QWidget::changeEvent(e);
    if (e->type() == QEvent::FontChange) fit();
}

void MainWindow::set_status_text(const QString& text) { status_->set_text(text); }

MainWindow::MainWindow(WindowProc proc)
    : proc_(proc),
      client_(new ClientArea(proc)),
      status_(new StatusText),
      progress_(new QProgressBar),
      stop_(new QPushButton("Stop")) {
    setWindowTitle(QString::fromLatin1(kAppName));
    for (const PopupMenu& popup : menu_bar()) {
        QMenu* menu = menuBar()->addMenu(QString::fromLatin1(popup.label));
        for (const MenuItem& item : popup.items) {
            if (!item.label) {
                menu->addSeparator();
                continue;
            }
            QString label = QString::fromLatin1(item.label);
            // The text after a tab is shown as the item's key.
            if (item.keys) label += '\t' + QString::fromLatin1(item.keys);
            QAction* action = menu->addAction(label);
            action->setData(item.id);
            connect(action, &QAction::triggered, this, [this, id = item.id] { command(id); });
        }
    }
    add_shortcuts();
    setCentralWidget(client_);
    // A long line wraps rather than being cut off at the window's edge.
    statusBar()->addWidget(status_, 1);
    progress_->setMaximumWidth(200);
    progress_->setTextVisible(false);
    progress_->hide();
    statusBar()->addPermanentWidget(progress_);
    for (const CommandButton& b : command_buttons()) {
        auto* button = new QPushButton(QString::fromLatin1(b.label));
        button->setToolTip(QString::fromLatin1(b.tip));
        button->hide();
        connect(button, &QPushButton::clicked, this, [this, id = b.id] { command(id); });
        statusBar()->addPermanentWidget(button);
        command_buttons_.emplace_back(b.id, button);
    }
    stop_->setEnabled(false);
    stop_->setToolTip("Stops the machine after the command it is doing (Esc)");
    connect(stop_, &QPushButton::clicked, this, [this] {
        Message m{WindowMessage::command};
        m.id = IDM_STOP;
        proc_(m);
    });
    statusBar()->addPermanentWidget(stop_);
    statusBar()->setSizeGripEnabled(true);
    // Wide enough for the whole status line of a job on a 1280 x 1024 screen.
    resize(kOpeningWidth, kOpeningHeight);
}

// The keys the menus show, taken before the focused button or the scroll
// area can use them; each reaches the window procedure as its key.
void MainWindow::add_shortcuts() {
    for (const Shortcut& s : shortcuts()) {
        int key = s.key >= 'A' && s.key <= 'Z' ? Qt::Key_A + (s.key - 'A')
                  : s.key == kKeyF1            ? Qt::Key_F1
                  : s.key == kKeyPageUp        ? Qt::Key_PageUp
                  : s.key == kKeyPageDown      ? Qt::Key_PageDown
                  : s.key == kKeyLeft          ? Qt::Key_Left
                  : s.key == kKeyRight         ? Qt::Key_Right
                  : s.key == kKeyPlus          ? Qt::Key_Plus
                  : s.key == kKeyMinus         ? Qt::Key_Minus
                                               : 0;
        // Letters alone and F5 come as keys pressed (see keyPressEvent).
        if (key == 0 || (s.held == 0 && s.key >= 'A' && s.key <= 'Z')) continue;
        QKeyCombination combo(s.held & kControlHeld ? Qt::ControlModifier : Qt::NoModifier,
                              static_cast<Qt::Key>(key));
        auto* shortcut = new QShortcut(QKeySequence(combo), this);
        connect(shortcut, &QShortcut::activated, this, [this, s] {
            if (waiting) return;
            Message m{WindowMessage::key_down};
            m.id = s.key;
            m.keys = s.held;
            proc_(m);
        });
        if (s.key == kKeyPlus) {  // the = key, where + is on it unshifted
            auto* equal = new QShortcut(QKeySequence(Qt::Key_Equal), this);
            connect(equal, &QShortcut::activated, shortcut, &QShortcut::activated);
        }
    }
}

void MainWindow::create() { proc_(Message{WindowMessage::create}); }

QWidget* MainWindow::client() const { return client_->viewport(); }

QPushButton* MainWindow::add_button(const QString& label, int id, int x, int y, int w, int h) {
    for (const auto& [made_id, made] : buttons_)
        if (made_id == id) {
            made->setGeometry(x, y, w, h);
            return made;
        }
    auto* button = new QPushButton(label, client());
    button->setFont(look_font());
    button->setGeometry(x, y, w, h);
    connect(button, &QPushButton::clicked, this, [this, id] { command(id); });
    button->show();
    buttons_.emplace_back(id, button);
    return button;
}

// The desktop's own font, or half as large again and bold for the large display.
QFont MainWindow::look_font() const {
    QFont font = QApplication::font();
    if (look_.large) {
        if (font.pixelSize() > 0) font.setPixelSize(font.pixelSize() * 3 / 2);
        else font.setPointSizeF(font.pointSizeF() * 1.5);
        font.setBold(true);
    }
    return font;
}

void MainWindow::set_look(const Look& look) {
    look_ = look;
    QFont font = look_font();
    status_->setFont(font);
    for (const auto& [id, button] : buttons_) button->setFont(font);
    for (const auto& [id, button] : command_buttons_) button->setFont(font);
    stop_->setFont(font);
    progress_->setMinimumHeight(look.large ? 30 : 0);
    progress_->setMaximumWidth(look.large ? 300 : 200);
    client_->set_look(look);
}

QAction* MainWindow::menu_action(int id) const {
    for (QAction* popup : menuBar()->actions())
        if (QMenu* menu = popup->menu())
            for (QAction* a : menu->actions())
                if (a->data().toInt() == id && !a->isSeparator()) return a;
    return nullptr;
}

QPushButton* MainWindow::command_button(int id) const {
    for (const auto& [button_id, button] : command_buttons_)
        if (button_id == id) return button;
    return nullptr;
}

void MainWindow::set_busy(bool busy) {
    for (QAction* a : menuBar()->actions()) a->setEnabled(!busy);
    for (QPushButton* b : client()->findChildren<QPushButton*>()) b->setEnabled(!busy);
    for (const auto& [id, button] : command_buttons_) button->setEnabled(!busy);
    stop_->setEnabled(busy);
    status_->hold_height(busy);
}

void MainWindow::command(int id) {
    if (waiting) return;
    Message m{WindowMessage::command};
    m.id = id;
    proc_(m);
}

// Keys the focused widget leaves alone: letters, digits, Esc and F5.
void MainWindow::keyPressEvent(QKeyEvent* e) {
    int k = e->key();
    int code = (k >= Qt::Key_A && k <= Qt::Key_Z) || (k >= Qt::Key_0 && k <= Qt::Key_9) ? k
               : k == Qt::Key_Escape                                                ? kKeyEscape
               : k == Qt::Key_F5                                                    ? kKeyF5
                                                                                    : 0;
    if (code == 0 || waiting) {
        QMainWindow::keyPressEvent(e);
        return;
    }
    Message m{WindowMessage::key_down};
    m.id = code;
    m.keys = modifier_keys(e->modifiers());
    proc_(m);
}

// The window goes only when the window procedure destroys it; during machine
// work the procedure stops the work first.
void MainWindow::closeEvent(QCloseEvent* e) {
    e->ignore();
    proc_(Message{WindowMessage::close});
}
