// Dialogs on Qt: built from their templates, run by their procedures, and
// the open-file dialog, message boxes and text viewer of the window system.
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>

#include "qt/dialog.h"
#include "qt/qt_window_system.h"
#include "records/job.h"
#include "shell/dialogs.h"
#include "shell/window.h"
#include "shell/window_state.h"
#include "tests/qt/qt_app.h"
#include "tests/support/support.h"

namespace {

// Runs `operate` on the modal dialog once it is up.
void when_shown(std::function<void(QWidget*)> operate) {
    QTimer::singleShot(0, [operate] { operate(QApplication::activeModalWidget()); });
}

QPushButton* button(QWidget* dialog, const QString& text) {
    for (auto* b : dialog->findChildren<QPushButton*>())
        if (b->text() == text) return b;
    return nullptr;
}

class Dialogs : public ::testing::Test {
protected:
    Dialogs() : window((qt_app(), zelWndProc)), ws(window) { reset_all_state(); }
    ~Dialogs() override { reset_all_state(); }
    MainWindow window;
    QtWindowSystem ws;
};

TEST(DialogUnits, AreQuartersAndEighthsOfTheBaseUnitsRoundedToNearest) {
    QSize sans8(6, 13);  // the classic 8-point dialog font
    EXPECT_EQ(dialog_x(161, sans8), 242);  // 241.5
    EXPECT_EQ(dialog_y(127, sans8), 206);  // 206.375
    EXPECT_EQ(dialog_x(50, sans8), 75);
    EXPECT_EQ(dialog_y(14, sans8), 23);    // 22.75
    EXPECT_EQ(dialog_x(0, sans8), 0);
}

TEST_F(Dialogs, TheLogDialogIsBuiltFromItsTemplate) {
    const DialogTemplate& t = *dialog_template(DLG_LOG);
    TemplateDialog d(t, Log);
    QSize base = d.base_units();
    EXPECT_GT(base.width(), 3);
    EXPECT_GT(base.height(), 9);
    EXPECT_EQ(d.windowTitle(), "Log");
    EXPECT_EQ(d.size(), QSize(dialog_x(194, base), dialog_y(139, base)));

    QList<QLabel*> labels = d.findChildren<QLabel*>();
    ASSERT_EQ(labels.size(), 8);
    EXPECT_EQ(labels[7]->text(), "Footage of material");
    EXPECT_EQ(labels[7]->geometry(), QRect(dialog_x(2, base), dialog_y(80, base),
                                           dialog_x(110, base), dialog_y(8, base)));
    EXPECT_EQ(d.findChildren<QLineEdit*>().size(), 8);
    auto* footage = qobject_cast<QLineEdit*>(d.control(241));
    ASSERT_NE(footage, nullptr);
    EXPECT_EQ(footage->x(), dialog_x(130, base));
    auto* ok = qobject_cast<QPushButton*>(d.control(IDOK));
    auto* cancel = qobject_cast<QPushButton*>(d.control(IDCANCEL));
    ASSERT_TRUE(ok && cancel);
    EXPECT_EQ(ok->text(), "OK");
    EXPECT_TRUE(ok->isDefault());
    EXPECT_FALSE(cancel->isDefault());
    d.set_text(236, "    5");
    EXPECT_EQ(footage->text(), "");
    EXPECT_EQ(d.get_text(236), "    5");
}

// Records the commands it gets and ends on OK.
std::vector<int> list_commands;
int ListProc(DialogControls& dlg, DialogMessage message, int id) {
    if (message == DialogMessage::command) list_commands.push_back(id);
    if (id == IDOK) dlg.end_dialog(1);
    return 1;
}

TEST_F(Dialogs, AListTakesItsLinesAsOneTextAndGivesThePickedOne) {
    list_commands.clear();
    TemplateDialog d(*dialog_template(DLG_SERIAL_PORT), ListProc);
    auto* list = qobject_cast<QListWidget*>(d.control(250));
    ASSERT_NE(list, nullptr);
    d.set_text(250, "/dev/ttyUSB0  ftdi_sio\n/dev/ttyS0  serial8250");
    ASSERT_EQ(list->count(), 2);
    EXPECT_EQ(d.get_text(250), "/dev/ttyUSB0  ftdi_sio");  // the first is picked
    list->setCurrentRow(1);
    EXPECT_EQ(d.get_text(250), "/dev/ttyS0  serial8250");
    d.set_text(250, "");
    EXPECT_EQ(list->count(), 0);
    EXPECT_EQ(d.get_text(250), "");

    d.set_text(252, "COM1 leads to /dev/ttyS0.");
    EXPECT_EQ(qobject_cast<QLabel*>(d.control(252))->text(), "COM1 leads to /dev/ttyS0.");
    EXPECT_EQ(d.get_text(252), "COM1 leads to /dev/ttyS0.");

    d.set_text(250, "only");
    emit list->itemDoubleClicked(list->item(0));
    EXPECT_EQ(list_commands, std::vector<int>{IDOK});
}

TEST_F(Dialogs, AYesNoQuestionIsNoUnlessTheOperatorSaysYes) {
    for (auto [pressed, answer] : {std::pair{QMessageBox::Yes, true}, {QMessageBox::No, false}}) {
        when_shown([pressed](QWidget* w) {
            auto* box = qobject_cast<QMessageBox*>(w);
            ASSERT_NE(box, nullptr);
            EXPECT_EQ(box->windowTitle(), "Serial port");
            EXPECT_EQ(box->text(), "Replace the link?");
            EXPECT_EQ(box->defaultButton(), box->button(QMessageBox::No));
            box->button(pressed)->click();
        });
        EXPECT_EQ(ws.ask_yes_no("Replace the link?", "Serial port"), answer);
    }
}

// Enter takes the default button and Esc the escape button; with neither, the
// keys do nothing and a button must be pressed.
TEST_F(Dialogs, AChoiceTakesItsKeysOnlyWhereItHasThem) {
    const struct {
        int default_button, escape_button;
        Qt::Key key;
        int chosen;
    } cases[] = {
        {0, 1, Qt::Key_Return, 0},
        {0, 1, Qt::Key_Escape, 1},
        {-1, -1, Qt::Key_Return, 1},
        {-1, -1, Qt::Key_Escape, 1},
    };
    for (const auto& c : cases) {
        when_shown([&c](QWidget* w) {
            auto* box = qobject_cast<QMessageBox*>(w);
            ASSERT_NE(box, nullptr);
            EXPECT_EQ(box->buttons().size(), 2);
            QTest::keyClick(box, c.key);
            if (box->isVisible()) box->buttons().at(1)->click();  // the key did nothing
        });
        EXPECT_EQ(ws.choose("Was the shear made?", "Carry on", {"&Done", "&Not done"},
                            c.default_button, c.escape_button),
                  c.chosen);
    }
}

TEST_F(Dialogs, TheAboutBoxHasNoCaptionAndShowsTheIconAndTheVersion) {
    TemplateDialog d(*dialog_template(DLG_ABOUT), About);
    EXPECT_FALSE(d.windowFlags() & Qt::WindowTitleHint);
    bool icon = false, version = false;
    for (QLabel* l : d.findChildren<QLabel*>()) {
        if (!l->pixmap().isNull()) icon = l->pixmap().size() == QSize(32, 32);
        if (l->text() == "ZEL Version 7.0") version = l->alignment() & Qt::AlignHCenter;
    }
    EXPECT_TRUE(icon);
    EXPECT_TRUE(version);
}

TEST_F(Dialogs, TheProcedureRunsTheDialogFromItsButtonsAndTheDefaultButtonTakesEnter) {
    job.repeat_count = 5;
    when_shown([](QWidget* d) {
        QTest::mouseClick(button(d, "Up"), Qt::LeftButton);
        QTest::mouseClick(button(d, "Up"), Qt::LeftButton);
        QTest::mouseClick(button(d, "Down"), Qt::LeftButton);
        QTest::mouseClick(button(d, "Up"), Qt::LeftButton);
        EXPECT_EQ(d->findChild<QLineEdit*>()->text(), "3");
        QTest::keyClick(d->findChild<QLineEdit*>(), Qt::Key_Return);
    });
    EXPECT_EQ(ws.dialog_box(DLG_IMAGE_COUNT, Icount), 1);
    EXPECT_EQ(job.repeat_count, 3);
}

TEST_F(Dialogs, EscapeAndTheCloseBoxAreCancelForTheProcedureToDecide) {
    when_shown([](QWidget* d) {
        d->findChild<QLineEdit*>()->setText("7");
        QTest::keyClick(d, Qt::Key_Escape);
    });
    EXPECT_EQ(ws.dialog_box(DLG_MOVE, Calibrate), 0);

    // The About box ignores Cancel, so it stays until OK.
    bool stayed = false;
    when_shown([&](QWidget* d) {
        QTest::keyClick(d, Qt::Key_Escape);
        d->close();
        stayed = d->isVisible();
        QTest::mouseClick(button(d, "OK"), Qt::LeftButton);
    });
    EXPECT_EQ(ws.dialog_box(DLG_ABOUT, About), 1);
    EXPECT_TRUE(stayed);
    EXPECT_EQ(ws.dialog_box(99, About), -1);
}

TEST_F(Dialogs, TheOpenFileDialogOffersTheDrawingFiltersAndStartsAtTheLastChoice) {
    TempDir dir;
    write_file(dir.file("a.dxf"), "");
    write_file(dir.file("b.dxf"), "");
    std::string path = dir.file("a.dxf");
    long error = -1;
    when_shown([&](QWidget* w) {
        auto* d = qobject_cast<QFileDialog*>(w);
        ASSERT_NE(d, nullptr);
        EXPECT_EQ(d->windowTitle(), "Open drawing");
        EXPECT_EQ(d->nameFilters(),
                  QStringList({"DXF Files (*.dxf)", "Drawing Xfer Files (*.dxf)"}));
        EXPECT_EQ(d->selectedNameFilter(), "DXF Files (*.dxf)");
        EXPECT_EQ(d->fileMode(), QFileDialog::ExistingFile);
        EXPECT_EQ(d->directory().absolutePath().toStdString(), dir.path());
        d->selectFile(QString::fromStdString(dir.file("b.dxf")));
        static_cast<QDialog*>(d)->accept();
    });
    EXPECT_TRUE(ws.get_open_file_name(path, error));
    EXPECT_EQ(path, dir.file("b.dxf"));
    EXPECT_EQ(error, 0);

    when_shown([](QWidget* w) { qobject_cast<QDialog*>(w)->reject(); });
    EXPECT_FALSE(ws.get_open_file_name(path, error));
    EXPECT_EQ(path, dir.file("b.dxf"));
    EXPECT_EQ(error, 0);
}

TEST_F(Dialogs, TheTextViewerShowsTheFileReadOnlyUntilItIsClosed) {
    TempDir dir;
    write_file(dir.file("segments.txt"), "1  12.500\n2  3.250\n");
    bool shown = false;
    when_shown([&](QWidget* w) {
        auto* text = w->findChild<QPlainTextEdit*>();
        ASSERT_NE(text, nullptr);
        EXPECT_EQ(w->windowTitle(), "segments.txt");
        EXPECT_EQ(text->toPlainText(), "1  12.500\n2  3.250\n");
        EXPECT_TRUE(text->isReadOnly());
        shown = true;
        w->close();
    });
    ws.run_text_viewer(dir.file("segments.txt"));
    EXPECT_TRUE(shown);
}

}  // namespace
