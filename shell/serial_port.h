#pragma once
#include "platform/window_system.h"

// Tools, Serial port...: the serial devices of this computer in a list; the
// one the operator picks is linked as the machine folder's COMn, which the
// program opens from its next start on.
void serial_port_command();

// The Serial port dialog: the list, what COMn leads to now, and the port number.
int SerialPort(DialogControls& dlg, DialogMessage message, int id);
