#pragma once
#include <string>

#include "platform/window_system.h"
#include "windows/win32.h"

// A table on Win32 (the job history): a report list sorted by a click on a
// heading (again: the other way), filtered by day and by drawing, with the
// totals of the rows shown and their export as CSV. The source sorts,
// filters and totals; the dialog shows what it gives.
void run_table_dialog(HWND owner, const std::string& title, TableSource& source);
