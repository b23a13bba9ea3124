#include "qt/dialog.h"

#include <QApplication>
#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPixmap>
#include <QPushButton>

namespace {

// The template's font ("MS Sans Serif", 8 points, or whatever the desktop
// puts in its place), or the desktop's own font for a template without one.
QFont dialog_font(const DialogTemplate& t) {
    if (!t.font) return QApplication::font();
    QFont f(QString::fromLatin1(t.font), t.font_points);
    f.setStyleHint(QFont::SansSerif);
    return f;
}

QSize base_units_of(const QFont& font) {
    QFontMetrics fm(font);
    int letters = fm.horizontalAdvance("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
    return QSize((letters / 26 + 1) / 2, fm.height());
}

// One item a line; the first is picked, so that OK takes it when it is the only one.
void fill_list(QListWidget& list, const QString& lines) {
    list.clear();
    if (lines.isEmpty()) return;
    list.addItems(lines.split('\n'));
    list.setCurrentRow(0);
}

}  // namespace

int dialog_x(int units, QSize base) { return (units * base.width() + 2) / 4; }
int dialog_y(int units, QSize base) { return (units * base.height() + 4) / 8; }

TemplateDialog::TemplateDialog(const DialogTemplate& t, DialogProc proc, QWidget* parent)
    : QDialog(parent), proc_(proc) {
    QFont font = dialog_font(t);
    setFont(font);
    base_ = base_units_of(font);
    if (*t.title) {
        setWindowTitle(QString::fromLatin1(t.title));
    } else {
        // No caption at all, as the About box has none.
        setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint);
    }
    setFixedSize(dialog_x(t.w, base_), dialog_y(t.h, base_));

    for (const ControlDef& c : t.controls) {
        QString text = QString::fromLatin1(c.text);
        QWidget* w = nullptr;
        switch (c.kind) {
        case ControlKind::label:
        case ControlKind::centered_label: {
            auto* label = new QLabel(text, this);
            label->setAlignment(c.kind == ControlKind::label ? Qt::AlignLeft | Qt::AlignTop
                                                             : Qt::AlignHCenter | Qt::AlignTop);
            w = label;
            break;
        }
        case ControlKind::edit: w = new QLineEdit(this); break;
        case ControlKind::button:
        case ControlKind::default_button: {
            auto* button = new QPushButton(text, this);
            // Enter presses the default button, whichever button was pressed last.
            button->setDefault(c.kind == ControlKind::default_button);
            button->setAutoDefault(c.kind == ControlKind::default_button);
            connect(button, &QPushButton::clicked, this, [this, id = c.id] { command(id); });
            w = button;
            break;
        }
        case ControlKind::list: {
            auto* list = new QListWidget(this);
            // A double click picks the line and presses OK.
            connect(list, &QListWidget::itemDoubleClicked, this, [this] { command(IDOK); });
            w = list;
            break;
        }
        case ControlKind::icon: {
            auto* icon = new QLabel(this);
            icon->setPixmap(QPixmap(kIconXpm));
            w = icon;
            break;
        }
        }
        if (c.kind == ControlKind::icon)
            w->setGeometry(dialog_x(c.x, base_), dialog_y(c.y, base_), 32, 32);
        else
            w->setGeometry(dialog_x(c.x, base_), dialog_y(c.y, base_), dialog_x(c.w, base_),
                           dialog_y(c.h, base_));
        if (c.id >= 0) controls_[c.id] = w;
    }
}

int TemplateDialog::run() {
    proc_(*this, DialogMessage::init, 0);
    if (ended_) return result();
    return exec();
}

QWidget* TemplateDialog::control(int id) const {
    auto it = controls_.find(id);
    return it == controls_.end() ? nullptr : it->second;
}

std::string TemplateDialog::get_text(int id) {
    QWidget* w = control(id);
    QString text;
    if (auto* edit = qobject_cast<QLineEdit*>(w)) text = edit->text();
    else if (auto* button = qobject_cast<QPushButton*>(w)) text = button->text();
    else if (auto* label = qobject_cast<QLabel*>(w)) text = label->text();
    else if (auto* list = qobject_cast<QListWidget*>(w))
        text = list->currentItem() ? list->currentItem()->text() : QString();
    return text.toLocal8Bit().toStdString();
}

void TemplateDialog::set_text(int id, const std::string& s) {
    QWidget* w = control(id);
    QString text = QString::fromLocal8Bit(s);
    if (auto* edit = qobject_cast<QLineEdit*>(w)) edit->setText(text);
    else if (auto* button = qobject_cast<QPushButton*>(w)) button->setText(text);
    else if (auto* label = qobject_cast<QLabel*>(w)) label->setText(text);
    else if (auto* list = qobject_cast<QListWidget*>(w)) fill_list(*list, text);
}

void TemplateDialog::set_tip(int id, const std::string& s) {
    if (QWidget* w = control(id)) w->setToolTip(QString::fromLocal8Bit(s));
}

void TemplateDialog::end_dialog(int r) {
    ended_ = true;
    setResult(r);
    done(r);
}

void TemplateDialog::reject() { command(IDCANCEL); }

void TemplateDialog::command(int id) {
    if (!ended_) proc_(*this, DialogMessage::command, id);
}
