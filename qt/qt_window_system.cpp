#include "qt/qt_window_system.h"

#include <QApplication>
#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QTableWidget>
#include <QDialog>
#include <QElapsedTimer>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QSocketNotifier>
#include <QMessageBox>
#include <QtGui/qguiapplication_platform.h>
#include <QPlainTextEdit>
#include <QSessionManager>
#include <QVBoxLayout>
#include <xcb/xcb.h>

#include <algorithm>
#include <cstdlib>

#include "platform/exit.h"
#include "platform/idle.h"
#include "platform/signals.h"
#include "qt/canvas.h"
#include "qt/dialog.h"
#include "qt/text_dialog.h"
#include "resources/resources.h"

namespace {

// The save dialog for a file of one kind, starting from `path`; it asks before
// a file is replaced.
bool save_file_name(QWidget& owner, const char* title, const char* filter, const char* suffix,
                    std::string& path) {
    QFileDialog dialog(&owner, title);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setNameFilters({filter});
    dialog.setDefaultSuffix(suffix);
    if (!path.empty()) dialog.selectFile(QString::fromLocal8Bit(path));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return false;
    path = dialog.selectedFiles().first().toLocal8Bit().toStdString();
    return true;
}

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

namespace {

QtWindowSystem* current = nullptr;

bool x_connection_broken() {
    auto* x11 = qApp->nativeInterface<QNativeInterface::QX11Application>();
    return x11 && x11->connection() && xcb_connection_has_error(x11->connection()) != 0;
}

// Qt says so just before it ends the program: the end's steps say why.
QtMessageHandler qt_handler = nullptr;
void on_qt_message(QtMsgType type, const QMessageLogContext& context, const QString& text) {
    if (text.startsWith("The X11 connection broke")) terminate_for(kDisplayLost);
    if (qt_handler) qt_handler(type, context, text);
}

}  // namespace

void keep_window_alive() {
    static QElapsedTimer since;
    if (waiting_for_machine() || (since.isValid() && since.elapsed() < kIdleIntervalMs)) return;
    if (current && current->display_lost()) return;
    set_waiting_for_machine(true);
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    set_waiting_for_machine(false);
    since.start();
}

QtWindowSystem::QtWindowSystem(MainWindow& window) : window_(window) {
    current = this;
    qt_handler = qInstallMessageHandler(on_qt_message);
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
    qInstallMessageHandler(qt_handler);
    current = nullptr;
    input_filter.window = nullptr;
    qApp->removeEventFilter(&input_filter);
    set_idle_handler(nullptr);
    set_window_system(nullptr);
}

int QtWindowSystem::run() { return quit_posted_ ? quit_status_ : QApplication::exec(); }

bool QtWindowSystem::display_lost() {
    if (display_lost_ || !x_connection_broken()) return display_lost_;
    display_lost_ = true;
    terminate_for(kDisplayLost);
    // As on SIGTERM: the work stops as by Stop, then the window closes.
    window_.send(Message{WindowMessage::close});
    return true;
}

int QtWindowSystem::dialog_box(int template_id, DialogProc proc) {
    if (display_lost()) return -1;
    const DialogTemplate* t = dialog_template(template_id);
    if (!t) return -1;
    TemplateDialog dialog(*t, proc, &window_);
    return dialog.run();
}

bool QtWindowSystem::get_open_file_name(std::string& path, long& error) {
    error = 0;
    if (display_lost()) return false;
    QFileDialog dialog(&window_, "Open drawing");
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setNameFilters({"DXF Files (*.dxf)", "Drawing Xfer Files (*.dxf)"});
    // A path ending in a slash is the folder to start in.
    if (!path.empty() && path.back() == '/')
        dialog.setDirectory(QString::fromLocal8Bit(path));
    else if (!path.empty())
        dialog.selectFile(QString::fromLocal8Bit(path));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return false;
    path = dialog.selectedFiles().first().toLocal8Bit().toStdString();
    return true;
}

bool QtWindowSystem::get_save_file_name(std::string& path, long& error) {
    error = 0;
    return save_file_name(window_, "Save as R12 DXF", "DXF Files (*.dxf)", "dxf", path);
}

bool QtWindowSystem::get_save_csv_name(std::string& path, long& error) {
    error = 0;
    return save_file_name(window_, "Export the jobs shown", "CSV Files (*.csv)", "csv", path);
}

void QtWindowSystem::run_table(const std::string& title, TableSource& source) {
    if (display_lost()) return;
    QDialog dialog(&window_);
    dialog.setWindowTitle(QString::fromLocal8Bit(title));
    auto* day = new QComboBox(&dialog);
    auto* drawing = new QComboBox(&dialog);
    auto* table = new QTableWidget(&dialog);
    auto* totals = new QLabel(&dialog);
    auto* export_button = new QPushButton("&Export shown as CSV...", &dialog);
    auto* close_button = new QPushButton("Close", &dialog);
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->verticalHeader()->hide();
    totals->setTextInteractionFlags(Qt::TextSelectableByMouse);
    TableChoice choice;
    std::vector<int> cut_short;  // columns narrower than their widest text
    auto fill = [&] {
        TableContent c = source.content(choice);
        if (day->count() == 0) {
            day->addItem("Every day", QString());
            for (const std::string& d : c.days)
                day->addItem(QString::fromLocal8Bit(d), QString::fromLocal8Bit(d));
            drawing->addItem("Every drawing", QString());
            for (const std::string& d : c.drawings)
                drawing->addItem(QFileInfo(QString::fromLocal8Bit(d)).fileName(),
                                 QString::fromLocal8Bit(d));
        }
        table->setColumnCount(static_cast<int>(c.headings.size()));
        for (int k = 0; k < table->columnCount(); ++k) {
            auto* item = new QTableWidgetItem(QString::fromLocal8Bit(c.headings[k]));
            if (k < static_cast<int>(c.tips.size()))
                item->setToolTip(QString::fromLocal8Bit(c.tips[k]));
            table->setHorizontalHeaderItem(k, item);
        }
        table->setRowCount(static_cast<int>(c.rows.size()));
        for (int r = 0; r < table->rowCount(); ++r)
            for (int k = 0; k < static_cast<int>(c.rows[r].size()); ++k)
                table->setItem(r, k, new QTableWidgetItem(QString::fromLocal8Bit(c.rows[r][k])));
        for (int k : cut_short)
            for (int r = 0; r < table->rowCount(); ++r)
                if (QTableWidgetItem* item = table->item(r, k)) item->setToolTip(item->text());
        if (choice.column >= 0)
            table->horizontalHeader()->setSortIndicator(
                choice.column, choice.descending ? Qt::DescendingOrder : Qt::AscendingOrder);
        totals->setText(QString::fromLocal8Bit(c.totals));
    };
    // The source sorts: a click on a heading sorts by it, a second click the other way.
    table->horizontalHeader()->setSortIndicatorShown(true);
    QObject::connect(table->horizontalHeader(), &QHeaderView::sectionClicked, &dialog,
                     [&](int column) {
                         choice.descending = column == choice.column && !choice.descending;
                         choice.column = column;
                         fill();
                     });
    auto filtered = [&] {
        choice.day = day->currentData().toString().toLocal8Bit().toStdString();
        choice.drawing = drawing->currentData().toString().toLocal8Bit().toStdString();
        fill();
    };
    fill();
    QObject::connect(day, &QComboBox::currentIndexChanged, &dialog, filtered);
    QObject::connect(drawing, &QComboBox::currentIndexChanged, &dialog, filtered);
    QObject::connect(export_button, &QPushButton::clicked, &dialog,
                     [&] { source.export_rows(choice); });
    QObject::connect(close_button, &QPushButton::clicked, &dialog, &QDialog::accept);
    // A long result or drawing name does not push the columns after it off
    // the screen: it is cut short, and its cell's tip shows it whole.
    constexpr int kWidestColumn = 240;
    table->resizeColumnsToContents();
    for (int k = 0; k < table->columnCount(); ++k) {
        if (table->columnWidth(k) <= kWidestColumn) continue;
        table->setColumnWidth(k, kWidestColumn);
        cut_short.push_back(k);
    }
    fill();
    auto* filters = new QHBoxLayout;
    for (auto [label, box] : {std::pair{"&Day:", day}, std::pair{"D&rawing:", drawing}}) {
        auto* shown = new QLabel(label, &dialog);
        shown->setBuddy(box);
        filters->addWidget(shown);
        if (box == day) filters->addWidget(day);
    }
    filters->addWidget(drawing, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(totals, 1);
    buttons->addWidget(export_button);
    buttons->addWidget(close_button);
    auto* layout = new QVBoxLayout(&dialog);
    layout->addLayout(filters);
    layout->addWidget(table, 1);
    layout->addLayout(buttons);
    totals->setWordWrap(true);
    // The columns read first, and the totals, on a screen of 1280 x 1024.
    QRect screen = window_.screen() ? window_.screen()->availableGeometry() : QRect(0, 0, 1280, 1024);
    dialog.resize(std::min(1200, screen.width() - 40), std::min(720, screen.height() - 80));
    dialog.exec();
}

void QtWindowSystem::message_box(const std::string& text, const std::string& caption,
                                 MessageIcon icon) {
    if (display_lost()) return;  // what it says is on stderr too
    QMessageBox::Icon shown = icon == MessageIcon::error     ? QMessageBox::Critical
                              : icon == MessageIcon::warning ? QMessageBox::Warning
                                                             : QMessageBox::Information;
    QMessageBox box(shown, QString::fromLocal8Bit(caption), QString::fromLocal8Bit(text),
                    QMessageBox::Ok, &window_);
    box.exec();
}

bool QtWindowSystem::text_dialog(TextFields& fields, const TextDialogHelp& help) {
    if (display_lost()) return false;
    TextDialog dialog(fields, help, &window_);
    if (dialog.exec() != QDialog::Accepted) return false;
    fields = dialog.fields();
    return true;
}

bool QtWindowSystem::ask_yes_no(const std::string& text, const std::string& caption) {
    if (display_lost()) return false;
    QMessageBox box(QMessageBox::Question, QString::fromLocal8Bit(caption),
                    QString::fromLocal8Bit(text), QMessageBox::Yes | QMessageBox::No, &window_);
    box.setDefaultButton(QMessageBox::No);
    return box.exec() == QMessageBox::Yes;
}

int QtWindowSystem::choose(const std::string& text, const std::string& caption,
                           const std::vector<std::string>& buttons, int default_button,
                           int escape_button) {
    if (display_lost()) return escape_button;
    QMessageBox box(QMessageBox::Question, QString::fromLocal8Bit(caption),
                    QString::fromLocal8Bit(text), QMessageBox::NoButton, &window_);
    std::vector<QPushButton*> made;
    for (const std::string& label : buttons) {
        // Without a role of its own no button is taken for Esc by itself.
        QPushButton* b = box.addButton(QString::fromLocal8Bit(label), QMessageBox::ActionRole);
        b->setAutoDefault(false);
        made.push_back(b);
    }
    auto in_range = [&made](int k) { return k >= 0 && k < static_cast<int>(made.size()); };
    if (in_range(default_button)) box.setDefaultButton(made[default_button]);
    if (in_range(escape_button)) box.setEscapeButton(made[escape_button]);
    box.exec();
    for (std::size_t k = 0; k < made.size(); ++k)
        if (box.clickedButton() == made[k]) return static_cast<int>(k);
    return escape_button;
}

void QtWindowSystem::show_command_button(int id, bool shown) {
    if (QPushButton* b = window_.command_button(id)) b->setVisible(shown);
}

void QtWindowSystem::check_menu_item(int id, bool checked) {
    if (QAction* a = window_.menu_action(id)) {
        a->setCheckable(true);
        a->setChecked(checked);
    }
}

void QtWindowSystem::set_menu_item(int id, const std::string& label) {
    if (QAction* a = window_.menu_action(id)) {
        a->setText(QString::fromLocal8Bit(label));
        a->setVisible(!label.empty());
    }
}

WindowPlacement QtWindowSystem::window_placement() {
    QRect r = window_.normalGeometry();
    return {r.x(), r.y(), r.width(), r.height(), window_.isMaximized()};
}

void QtWindowSystem::set_window_placement(const WindowPlacement& p) {
    if (p.w <= 0 || p.h <= 0) return;
    // Only a place where most of the window shows on one of the screens.
    QRect wanted(p.x, p.y, p.w, p.h);
    for (QScreen* s : QGuiApplication::screens()) {
        QRect common = s->availableGeometry().intersected(wanted);
        if (common.width() * 2 < p.w || common.height() * 2 < p.h) continue;
        window_.setGeometry(wanted);
        if (p.maximized) window_.setWindowState(Qt::WindowMaximized);
        return;
    }
    window_.resize(p.w, p.h);
}

void QtWindowSystem::run_text_viewer(const std::string& path) {
    if (display_lost()) return;
    QDialog viewer(&window_);
    viewer.setWindowTitle(QFileInfo(QString::fromLocal8Bit(path)).fileName());
    auto* text = new QPlainTextEdit(&viewer);
    text->setReadOnly(true);
    text->setLineWrapMode(QPlainTextEdit::NoWrap);
    text->setFont(window_font());
    QFile file(QString::fromLocal8Bit(path));
    // A report or the job history, shown up to a bound that years of jobs stay
    // under and that a file that never ends (a link to /dev/zero) reaches.
    constexpr qint64 kMostShown = 64 * 1024 * 1024;
    if (file.open(QIODevice::ReadOnly)) {
        QByteArray shown = file.read(kMostShown);
        if (!file.atEnd() && file.read(1).size() == 1)
            shown += "\n(The rest of the file is not shown: it is larger than 64 MiB.)\n";
        text->setPlainText(QString::fromLocal8Bit(shown));
    }
    auto* layout = new QVBoxLayout(&viewer);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(text);
    viewer.resize(640, 480);
    viewer.exec();
}

void QtWindowSystem::create_button(const char* label, int id, int x, int y, int w, int h) {
    window_.add_button(QString::fromLatin1(label), id, x, y, w, h);
}

bool QtWindowSystem::set_look(const Look& look) {
    window_.set_look(look);
    return true;
}

void QtWindowSystem::invalidate() { window_.client()->update(); }

void QtWindowSystem::set_scroll_bars(const ScrollRange& horizontal, const ScrollRange& vertical) {
    window_.client_area()->set_scroll_bars(horizontal, vertical);
}

void QtWindowSystem::set_window_title(const std::string& title) {
    window_.setWindowTitle(QString::fromLocal8Bit(title));
}

void QtWindowSystem::set_status_text(const std::string& text) {
    window_.set_status_text(QString::fromLocal8Bit(text));
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
    // Qt cannot go on without its display: the program ends here, every file
    // complete.
    if (display_lost_)
        ::end_program(1, "zel: the display went away; the work was stopped and the program ends");
    quit_posted_ = true;
    quit_status_ = status;
    QCoreApplication::exit(status);
}

void QtWindowSystem::end_program(int status) {
    run_program_end_steps();
    std::exit(status);
}
