#pragma once
#include <optional>
#include <string>

#include "platform/window_system.h"

// The operator dialogs. Each reads and writes its controls by id; the window
// system's dialog_box returns what it ended with: 1 for OK, 0 for Cancel
// (-1 when it could not be shown).

// Setup: ends with 1 only when the settings were saved.
int Setup(DialogControls& dlg, DialogMessage message, int id);
// The notching run: on OK its lengths are the job's (`job.notch_length`,
// `job.total_length`).
int Run(DialogControls& dlg, DialogMessage message, int id);
// Move and Uncalibrated move: the distance typed, in inches, or nothing on
// Cancel. Nothing is moved here.
std::optional<float> move_dialog(bool calibrated);
int Calibrate(DialogControls& dlg, DialogMessage message, int id);  // the Move dialog
int Measure(DialogControls& dlg, DialogMessage message, int id);    // the uncalibrated move
int Length(DialogControls& dlg, DialogMessage message, int id);
int Icount(DialogControls& dlg, DialogMessage message, int id);
int Tabs(DialogControls& dlg, DialogMessage message, int id);
int About(DialogControls& dlg, DialogMessage message, int id);
int Log(DialogControls& dlg, DialogMessage message, int id);
// Drawing units: how drawings that declare millimetres or centimetres are
// read, and the join tolerance of chain pieces. Ends with 1 when a choice
// was made (and saved), 0 on Cancel.
int Units(DialogControls& dlg, DialogMessage message, int id);

// The drawing open dialog, starting at `last` (the last choice): the path
// chosen, or nothing on Cancel or failure (a failure is told in a message box).
std::optional<std::string> DxfFileOpen(const std::string& last);
