#pragma once
#include <QDialog>
#include <QSize>
#include <map>

#include "platform/window_system.h"
#include "resources/resources.h"

// A dialog unit in pixels: x units are a quarter of the dialog font's average
// character width, y units an eighth of its height (rounded to nearest).
int dialog_x(int units, QSize base);
int dialog_y(int units, QSize base);

// A modal dialog built from its template: every control at its place, the
// edit fields read and written by id, OK the default button, and each button
// press, Escape and the close box (as Cancel) handed to the dialog procedure,
// which alone ends the dialog.
class TemplateDialog : public QDialog, public DialogControls {
public:
    TemplateDialog(const DialogTemplate& t, DialogProc proc, QWidget* parent = nullptr);

    // Sends the initialise message, runs the dialog until its procedure ends
    // it, and returns the result the procedure gave.
    int run();

    std::string get_text(int id) override;
    void set_text(int id, const std::string& text) override;
    void set_tip(int id, const std::string& text) override;
    void end_dialog(int result) override;

    // The control with this id, or nullptr.
    QWidget* control(int id) const;
    // The dialog font's base units: average character width and height.
    QSize base_units() const { return base_; }

protected:
    void reject() override;

private:
    void command(int id);

    DialogProc proc_;
    QSize base_;
    std::map<int, QWidget*> controls_;
    bool ended_ = false;
};
