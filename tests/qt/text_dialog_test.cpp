// The New from text dialog on Qt: the font list and its search, the preview
// following the typing, OK taken only on fields that make letters.
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include "qt/qt_window_system.h"
#include "qt/text_dialog.h"
#include "shell/window.h"
#include "tests/qt/qt_app.h"

namespace {

// Three fonts; a preview of one square per letter, or a refusal.
std::vector<std::pair<std::string, std::string>> three_fonts(const std::string& filter) {
    std::vector<std::pair<std::string, std::string>> all{
        {"Alpha", "Bold"}, {"Alpha", "Regular"}, {"Beta", "Bold"}};
    std::vector<std::pair<std::string, std::string>> out;
    for (auto& f : all)
        if (filter.empty() || (f.first + " " + f.second).find(filter) != std::string::npos)
            out.push_back(f);
    return out;
}

std::vector<std::vector<double>> squares(const TextFields& f, std::string& why) {
    if (f.height != "12") {
        why = "The letter height \"" + f.height + "\" cannot be used";
        return {};
    }
    std::vector<std::vector<double>> out;
    for (std::size_t k = 0; k < f.text.size(); ++k) {
        double x = static_cast<double>(k);
        out.push_back({x, 0, x + 0.5, 0, x + 0.5, 1, x, 1});
    }
    return out;
}

const TextDialogHelp kHelp{three_fonts, squares};

TEST(TextDialog, ListsSearchesPreviewsAndTakesOnlyWhatMakesLetters) {
    qt_app();
    MainWindow window(zelWndProc);
    QtWindowSystem ws(window);
    TextFields fields;
    fields.family = "Alpha";
    fields.style = "Regular";
    fields.height = "11";
    fields.millimetres = true;
    bool checked = false;
    QTimer::singleShot(0, [&] {
        QWidget* d = QApplication::activeModalWidget();
        ASSERT_NE(d, nullptr);
        auto* fonts = d->findChild<QListWidget*>("fonts");
        ASSERT_EQ(fonts->count(), 3);
        EXPECT_EQ(fonts->currentItem()->text(), "Alpha Regular");  // as last used
        EXPECT_EQ(d->findChild<QComboBox*>("unit")->currentText(), "mm");
        auto* why = d->findChild<QLabel*>("why");
        EXPECT_EQ(why->text(), "The letter height \"11\" cannot be used");
        QTest::keyClicks(d->findChild<QLineEdit*>("search"), "Bold");
        EXPECT_EQ(fonts->count(), 2);
        fonts->setCurrentRow(1);
        QTest::keyClicks(d->findChild<QPlainTextEdit*>("text"), "ON");
        auto* preview = d->findChild<TextPreview*>("preview");
        EXPECT_TRUE(preview->outlines().empty());
        QTest::keyClick(d, Qt::Key_Return);  // refused: the dialog stays
        EXPECT_TRUE(d->isVisible());
        auto* height = d->findChild<QLineEdit*>("height");
        height->clear();
        QTest::keyClicks(height, "12");
        EXPECT_EQ(preview->outlines().size(), 2u);
        EXPECT_EQ(why->text(), "");
        d->findChild<QComboBox*>("unit")->setCurrentIndex(0);
        checked = true;
        QTest::keyClick(d, Qt::Key_Return);
    });
    ASSERT_TRUE(ws.text_dialog(fields, kHelp));
    EXPECT_TRUE(checked);
    EXPECT_EQ(fields.text, "ON");
    EXPECT_EQ(fields.family, "Beta");
    EXPECT_EQ(fields.style, "Bold");
    EXPECT_EQ(fields.height, "12");
    EXPECT_FALSE(fields.millimetres);

    QTimer::singleShot(0,
                       [] { QTest::keyClick(QApplication::activeModalWidget(), Qt::Key_Escape); });
    EXPECT_FALSE(ws.text_dialog(fields, kHelp));
}

}  // namespace
