#pragma once
#include <QDialog>
#include <vector>

#include "platform/window_system.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;

// The preview of the New from text dialog: the figures the fields make,
// fitted into the widget, y up.
class TextPreview : public QWidget {
public:
    explicit TextPreview(QWidget* parent);
    void show_outlines(std::vector<std::vector<double>> outlines);
    const std::vector<std::vector<double>>& outlines() const { return outlines_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    std::vector<std::vector<double>> outlines_;
};

// New from text: the text, the font list with its search field, the height
// in inches or millimetres, the spacings, the preview and, under it, why
// the fields make no letters. OK is taken only when they do. The widgets
// carry object names ("text", "search", "fonts", "height", "unit",
// "letter_spacing", "line_spacing", "preview", "why") for the tests.
class TextDialog : public QDialog {
public:
    TextDialog(const TextFields& fields, const TextDialogHelp& help, QWidget* parent);
    TextFields fields() const;

protected:
    void accept() override;

private:
    void list_fonts();
    void update_preview();

    const TextDialogHelp& help_;
    QPlainTextEdit* text_;
    QLineEdit* search_;
    QListWidget* fonts_;
    QLineEdit* height_;
    QComboBox* unit_;
    QLineEdit* letter_spacing_;
    QLineEdit* line_spacing_;
    TextPreview* preview_;
    QLabel* why_;
    std::string family_, style_;  // the font picked
};
