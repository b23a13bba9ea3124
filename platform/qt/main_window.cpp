#include "platform/qt/main_window.h"

#include <QCloseEvent>
#include <QLabel>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPainter>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollBar>
#include <QStatusBar>

#include "platform/qt/canvas.h"
#include "resources/resources.h"
#include "resources/strings.h"

namespace {
bool waiting = false;
}

bool waiting_for_machine() { return waiting; }
void set_waiting_for_machine(bool w) { waiting = w; }

ClientArea::ClientArea(WindowProc proc) : proc_(proc) {
    setFrameShape(QFrame::NoFrame);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    horizontalScrollBar()->setRange(0, 0);
    verticalScrollBar()->setRange(0, 0);
}

void ClientArea::paintEvent(QPaintEvent*) {
    QPainter painter(viewport());
    painter.fillRect(viewport()->rect(), Qt::white);
    PainterCanvas canvas(painter);
    Message m{WindowMessage::paint};
    m.canvas = &canvas;
    proc_(m);
}

void ClientArea::mouseReleaseEvent(QMouseEvent* e) {
    if (e->button() != Qt::LeftButton || waiting) return;
    QPoint at = e->position().toPoint();
    Message m{WindowMessage::left_button_up};
    m.x = at.x();
    m.y = at.y();
    proc_(m);
}

MainWindow::MainWindow(WindowProc proc)
    : proc_(proc),
      client_(new ClientArea(proc)),
      status_(new QLabel),
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
            QAction* action = menu->addAction(QString::fromLatin1(item.label));
            action->setData(item.id);
            connect(action, &QAction::triggered, this, [this, id = item.id] { command(id); });
        }
    }
    setCentralWidget(client_);
    statusBar()->addWidget(status_, 1);
    progress_->setMaximumWidth(200);
    progress_->setTextVisible(false);
    progress_->hide();
    statusBar()->addPermanentWidget(progress_);
    stop_->setEnabled(false);
    stop_->setToolTip("Stops the machine after the command it is doing (Esc)");
    connect(stop_, &QPushButton::clicked, this, [this] {
        Message m{WindowMessage::command};
        m.id = IDM_STOP;
        proc_(m);
    });
    statusBar()->addPermanentWidget(stop_);
    statusBar()->setSizeGripEnabled(true);
    resize(800, 600);
}

void MainWindow::create() { proc_(Message{WindowMessage::create}); }

QWidget* MainWindow::client() const { return client_->viewport(); }

QPushButton* MainWindow::add_button(const QString& label, int id, int x, int y, int w, int h) {
    auto* button = new QPushButton(label, client());
    button->setGeometry(x, y, w, h);
    connect(button, &QPushButton::clicked, this, [this, id] { command(id); });
    button->show();
    return button;
}

void MainWindow::set_busy(bool busy) {
    for (QAction* a : menuBar()->actions()) a->setEnabled(!busy);
    for (QPushButton* b : client()->findChildren<QPushButton*>()) b->setEnabled(!busy);
    stop_->setEnabled(busy);
}

void MainWindow::command(int id) {
    if (waiting) return;
    Message m{WindowMessage::command};
    m.id = id;
    proc_(m);
}

// The window goes only when the window procedure destroys it; during machine
// work the procedure stops the work first.
void MainWindow::closeEvent(QCloseEvent* e) {
    e->ignore();
    proc_(Message{WindowMessage::close});
}
