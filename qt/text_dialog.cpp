#include "qt/text_dialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QPainterPath>
#include <QPlainTextEdit>
#include <QVBoxLayout>
#include <algorithm>

namespace {

QString qs(const std::string& s) { return QString::fromUtf8(s); }
std::string ss(const QString& s) { return s.toUtf8().toStdString(); }

QString listed(const std::string& family, const std::string& style) {
    return qs(style.empty() ? family : family + " " + style);
}

}  // namespace

TextPreview::TextPreview(QWidget* parent) : QWidget(parent) {
    setMinimumSize(420, 160);
    setAutoFillBackground(true);
    QPalette p = palette();
    p.setColor(QPalette::Window, Qt::white);
    setPalette(p);
}

void TextPreview::show_outlines(std::vector<std::vector<double>> outlines) {
    outlines_ = std::move(outlines);
    update();
}

void TextPreview::paintEvent(QPaintEvent*) {
    if (outlines_.empty()) return;
    double left = 1e300, right = -1e300, bottom = 1e300, top = -1e300;
    for (const auto& o : outlines_)
        for (std::size_t k = 0; k + 1 < o.size(); k += 2) {
            left = std::min(left, o[k]), right = std::max(right, o[k]);
            bottom = std::min(bottom, o[k + 1]), top = std::max(top, o[k + 1]);
        }
    constexpr double kMargin = 8;
    double scale = std::min((width() - 2 * kMargin) / std::max(right - left, 1e-9),
                            (height() - 2 * kMargin) / std::max(top - bottom, 1e-9));
    // Centred, y up.
    double x0 = (width() - (right - left) * scale) / 2 - left * scale;
    double y0 = (height() + (top - bottom) * scale) / 2 + bottom * scale;
    QPainterPath path;
    for (const auto& o : outlines_) {
        for (std::size_t k = 0; k + 1 < o.size(); k += 2) {
            QPointF q(x0 + o[k] * scale, y0 - o[k + 1] * scale);
            if (k == 0) path.moveTo(q);
            else path.lineTo(q);
        }
        path.closeSubpath();
    }
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(Qt::blue, 1));
    painter.setBrush(QColor(200, 215, 255));
    painter.drawPath(path);
}

TextDialog::TextDialog(const TextFields& fields, const TextDialogHelp& help, QWidget* parent)
    : QDialog(parent), help_(help), family_(fields.family), style_(fields.style) {
    setWindowTitle("New from text");
    text_ = new QPlainTextEdit(qs(fields.text), this);
    text_->setObjectName("text");
    text_->setTabChangesFocus(true);
    text_->setFixedHeight(70);
    search_ = new QLineEdit(this);
    search_->setObjectName("search");
    search_->setPlaceholderText("Search the fonts");
    search_->setClearButtonEnabled(true);
    fonts_ = new QListWidget(this);
    fonts_->setObjectName("fonts");
    fonts_->setMinimumWidth(220);
    height_ = new QLineEdit(qs(fields.height), this);
    height_->setObjectName("height");
    unit_ = new QComboBox(this);
    unit_->setObjectName("unit");
    unit_->addItems({"in.", "mm"});
    unit_->setCurrentIndex(fields.millimetres ? 1 : 0);
    letter_spacing_ = new QLineEdit(qs(fields.letter_spacing), this);
    letter_spacing_->setObjectName("letter_spacing");
    line_spacing_ = new QLineEdit(qs(fields.line_spacing), this);
    line_spacing_->setObjectName("line_spacing");
    preview_ = new TextPreview(this);
    preview_->setObjectName("preview");
    why_ = new QLabel(this);
    why_->setObjectName("why");
    why_->setWordWrap(true);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);

    auto* height_row = new QHBoxLayout;
    height_row->addWidget(height_);
    height_row->addWidget(unit_);
    auto* form = new QFormLayout;
    form->addRow("&Text:", text_);
    form->addRow("Letter &height (capital H):", height_row);
    form->addRow("&Letter spacing:", letter_spacing_);
    form->addRow("Li&ne spacing (lines):", line_spacing_);
    auto* font_column = new QVBoxLayout;
    font_column->addWidget(new QLabel("&Font:", this));
    font_column->addWidget(search_);
    font_column->addWidget(fonts_);
    auto* top = new QHBoxLayout;
    top->addLayout(form, 3);
    top->addLayout(font_column, 2);
    auto* all = new QVBoxLayout(this);
    all->addLayout(top);
    all->addWidget(preview_, 1);
    all->addWidget(why_);
    all->addWidget(buttons);
    for (QLabel* l : findChildren<QLabel*>())
        if (l->text() == "&Font:") l->setBuddy(search_);
    // Tab goes down the fields, then to the font search and its list.
    QWidget* order[] = {text_, height_, unit_, letter_spacing_, line_spacing_, search_, fonts_};
    for (std::size_t k = 1; k < std::size(order); ++k) setTabOrder(order[k - 1], order[k]);

    connect(buttons, &QDialogButtonBox::accepted, this, &TextDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &TextDialog::reject);
    connect(search_, &QLineEdit::textChanged, this, [this] { list_fonts(); });
    connect(fonts_, &QListWidget::currentRowChanged, this, [this](int row) {
        if (row < 0) return;
        QListWidgetItem* item = fonts_->item(row);
        family_ = ss(item->data(Qt::UserRole).toString());
        style_ = ss(item->data(Qt::UserRole + 1).toString());
        update_preview();
    });
    connect(text_, &QPlainTextEdit::textChanged, this, [this] { update_preview(); });
    for (QLineEdit* e : {height_, letter_spacing_, line_spacing_})
        connect(e, &QLineEdit::textChanged, this, [this] { update_preview(); });
    connect(unit_, &QComboBox::currentIndexChanged, this, [this] { update_preview(); });
    list_fonts();
    update_preview();
    text_->setFocus();
}

// The fonts that hold every word of the search, the one picked selected
// when it is among them.
void TextDialog::list_fonts() {
    QSignalBlocker quiet(fonts_);
    fonts_->clear();
    for (const auto& [family, style] : help_.fonts(ss(search_->text()))) {
        auto* item = new QListWidgetItem(listed(family, style), fonts_);
        item->setData(Qt::UserRole, qs(family));
        item->setData(Qt::UserRole + 1, qs(style));
        if (family == family_ && style == style_) fonts_->setCurrentItem(item);
    }
}

TextFields TextDialog::fields() const {
    TextFields f;
    f.text = ss(text_->toPlainText());
    f.family = family_;
    f.style = style_;
    f.height = ss(height_->text());
    f.millimetres = unit_->currentIndex() == 1;
    f.letter_spacing = ss(letter_spacing_->text());
    f.line_spacing = ss(line_spacing_->text());
    return f;
}

void TextDialog::update_preview() {
    std::string why;
    preview_->show_outlines(help_.outlines(fields(), why));
    why_->setText(qs(why));
}

void TextDialog::accept() {
    update_preview();
    if (!why_->text().isEmpty()) return;  // it says why
    QDialog::accept();
}
