#include "platform/qt/qt_window_system.h"

#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QSocketNotifier>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QSessionManager>
#include <QVBoxLayout>
#include <algorithm>
#include <cstdlib>

#include "platform/exit.h"
#include "platform/idle.h"
#include "platform/signals.h"
#include "platform/qt/canvas.h"
#include "platform/qt/dialog.h"
#include "resources/resources.h"

namespace {

// While the program waits for the machine, input to any widget but Stop is
// dropped rather than kept for later: the window takes no commands during the
// work, and none that were given during it are carried out after it. Esc
// stops the work.
class InputWhileWaiting : public QObject {
public:
    MainWindow* window = nullptr;

protected:
    bool eventFilter(QObject* target, QEvent* e) override {
        if (!waiting_for_machine() || !target->isWidgetType()) return false;
        if (window && target == window->stop_button()) return false;
        if (e->type() == QEvent::KeyPress &&
            static_cast<QKeyEvent*>(e)->key() == Qt::Key_Escape && window) {
            Message m{WindowMessage::command};
            m.id = IDM_STOP;
            window->send(m);
            return true;
        }
        switch (e->type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::Wheel:
        case QEvent::KeyPress:
        case QEvent::KeyRelease:
        case QEvent::ShortcutOverride:
        case QEvent::Shortcut:
        case QEvent::ContextMenu:
        case QEvent::TouchBegin:
        case QEvent::TouchUpdate:
        case QEvent::TouchEnd: return true;
        default: return false;
        }
    }
};

InputWhileWaiting input_filter;

}  // namespace

void keep_window_alive() {
    static QElapsedTimer since;
    if (waiting_for_machine() || (since.isValid() && since.elapsed() < kIdleIntervalMs)) return;
    set_waiting_for_machine(true);
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    set_waiting_for_machine(false);
    since.start();
}

QtWindowSystem::QtWindowSystem(MainWindow& window) : window_(window) {
    set_window_system(this);
    set_idle_handler(keep_window_alive);
    input_filter.window = &window_;
    qApp->installEventFilter(&input_filter);
    // SIGTERM and SIGINT close the window as its close box does.
    if (termination_fd() >= 0) {
        auto* notifier = new QSocketNotifier(termination_fd(), QSocketNotifier::Read, &window_);
        QObject::connect(notifier, &QSocketNotifier::activated, &window_, [this, notifier] {
            notifier->setEnabled(false);
            window_.close();
        });
    }
    QObject::connect(qApp, &QGuiApplication::commitDataRequest, &window_,
                     [this](QSessionManager&) {
                         window_.send(Message{WindowMessage::query_end_session});
                     });
}

QtWindowSystem::~QtWindowSystem() {
    input_filter.window = nullptr;
    qApp->removeEventFilter(&input_filter);
    set_idle_handler(nullptr);
    set_window_system(nullptr);
}

int QtWindowSystem::run() { return quit_posted_ ? quit_status_ : QApplication::exec(); }

int QtWindowSystem::dialog_box(int template_id, DialogProc proc) {
    const DialogTemplate* t = dialog_template(template_id);
    if (!t) return -1;
    TemplateDialog dialog(*t, proc, &window_);
    return dialog.run();
}

bool QtWindowSystem::get_open_file_name(std::string& path, long& error) {
    error = 0;
    QFileDialog dialog(&window_, "OPENFILENAME");
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setNameFilters({"DXF Files (*.dxf)", "Drawing Xfer Files (*.dxf)"});
    if (!path.empty()) dialog.selectFile(QString::fromLocal8Bit(path));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return false;
    path = dialog.selectedFiles().first().toLocal8Bit().toStdString();
    return true;
}

bool QtWindowSystem::get_save_file_name(std::string& path, long& error) {
    error = 0;
    QFileDialog dialog(&window_, "Save as R12 DXF");
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setNameFilters({"DXF Files (*.dxf)"});
    dialog.setDefaultSuffix("dxf");
    if (!path.empty()) dialog.selectFile(QString::fromLocal8Bit(path));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return false;
    path = dialog.selectedFiles().first().toLocal8Bit().toStdString();
    return true;
}

void QtWindowSystem::message_box(const std::string& text, const std::string& caption,
                                 MessageIcon icon) {
    QMessageBox::Icon shown = icon == MessageIcon::error     ? QMessageBox::Critical
                              : icon == MessageIcon::warning ? QMessageBox::Warning
                                                             : QMessageBox::Information;
    QMessageBox box(shown, QString::fromLocal8Bit(caption), QString::fromLocal8Bit(text),
                    QMessageBox::Ok, &window_);
    box.exec();
}

bool QtWindowSystem::ask_yes_no(const std::string& text, const std::string& caption) {
    QMessageBox box(QMessageBox::Question, QString::fromLocal8Bit(caption),
                    QString::fromLocal8Bit(text), QMessageBox::Yes | QMessageBox::No, &window_);
    box.setDefaultButton(QMessageBox::No);
    return box.exec() == QMessageBox::Yes;
}

void QtWindowSystem::run_text_viewer(const std::string& path) {
    QDialog viewer(&window_);
    viewer.setWindowTitle(QFileInfo(QString::fromLocal8Bit(path)).fileName());
    auto* text = new QPlainTextEdit(&viewer);
    text->setReadOnly(true);
    text->setLineWrapMode(QPlainTextEdit::NoWrap);
    text->setFont(window_font());
    QFile file(QString::fromLocal8Bit(path));
    if (file.open(QIODevice::ReadOnly)) text->setPlainText(QString::fromLocal8Bit(file.readAll()));
    auto* layout = new QVBoxLayout(&viewer);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(text);
    viewer.resize(640, 480);
    viewer.exec();
}

void QtWindowSystem::create_button(const char* label, int id, int x, int y, int w, int h) {
    window_.add_button(QString::fromLatin1(label), id, x, y, w, h);
}

void QtWindowSystem::invalidate() { window_.client()->update(); }

void QtWindowSystem::set_scroll_bars(const ScrollRange& horizontal, const ScrollRange& vertical) {
    window_.client_area()->set_scroll_bars(horizontal, vertical);
}

void QtWindowSystem::set_window_title(const std::string& title) {
    window_.setWindowTitle(QString::fromLocal8Bit(title));
}

void QtWindowSystem::set_status_text(const std::string& text) {
    window_.status_label()->setText(QString::fromLocal8Bit(text));
}

void QtWindowSystem::set_busy(bool busy) { window_.set_busy(busy); }

void QtWindowSystem::set_progress(int value, int maximum) {
    QProgressBar* bar = window_.progress_bar();
    bar->setVisible(maximum > 0);
    bar->setRange(0, std::max(maximum, 1));
    bar->setValue(value);
}

void QtWindowSystem::post_close() {
    QMetaObject::invokeMethod(&window_, [this] { window_.close(); }, Qt::QueuedConnection);
}

void QtWindowSystem::destroy_window() {
    window_.hide();
    window_.send(Message{WindowMessage::destroy});
}

void QtWindowSystem::post_quit(int status) {
    quit_posted_ = true;
    quit_status_ = status;
    QCoreApplication::exit(status);
}

void QtWindowSystem::end_program(int status) {
    run_program_end_steps();
    std::exit(status);
}
