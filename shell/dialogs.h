#pragma once
#include "platform/window_system.h"

// The operator dialogs. Each reads and writes its controls by id and leaves
// its results in the window state, the settings or the production counters.
int Setup(DialogControls& dlg, DialogMessage message, int id);
int Run(DialogControls& dlg, DialogMessage message, int id);
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

// The drawing open dialog: 0 when a file was chosen (its path in win.szName),
// -1 otherwise.
int DxfFileOpen();
