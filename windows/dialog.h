#pragma once
#include <cstdint>
#include <vector>

#include "platform/window_system.h"
#include "resources/resources.h"
#include "windows/win32.h"

// A dialog template of the resources as Windows reads one from memory
// (DLGTEMPLATE followed by its DLGITEMTEMPLATEs, each DWORD-aligned), in the
// template's dialog units and font: the system lays it out as it would a
// compiled resource. OK is the default push button; labels are static text,
// lists list boxes that tell of a double click, the icon the program's.
std::vector<uint16_t> dialog_template_words(const DialogTemplate& t);

// The window styles of a control of the given kind.
DWORD control_style(ControlKind kind);

// The program icon, made from its XPM picture.
HICON program_icon();

// Runs the dialog of the template modally over `owner` with its procedure:
// the initialise message, then one command message per button pressed, Esc
// and the close box as Cancel, a double click in a list as OK, until the
// procedure ends it. Returns the result the procedure gave; -1 when the
// dialog cannot be made.
int run_template_dialog(HWND owner, const DialogTemplate& t, DialogProc proc);

// The controls of an open dialog window, by id.
class Win32DialogControls : public DialogControls {
public:
    explicit Win32DialogControls(HWND dialog, DialogProc proc) : dialog_(dialog), proc_(proc) {}
    std::string get_text(int id) override;
    void set_text(int id, const std::string& text) override;
    // The control's tip, shown when the pointer rests on it.
    void set_tip(int id, const std::string& text) override;
    void end_dialog(int result) override;
    bool ended() const { return ended_; }
    HWND window() const { return dialog_; }
    void set_window(HWND dialog) { dialog_ = dialog; }
    DialogProc procedure() const { return proc_; }

private:
    HWND dialog_;
    DialogProc proc_;
    HWND tips_ = nullptr;  // the dialog's tooltip window, made at the first tip
    bool ended_ = false;
};
