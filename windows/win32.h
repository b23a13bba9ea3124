#pragma once
// The Win32 API for the Windows side, and the conversions between the
// program's UTF-8 strings and the wide strings of the API.
#ifndef NOMINMAX
#define NOMINMAX
#endif
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

#include <string>
#include <string_view>

// The resources name the dialog buttons themselves.
#undef IDOK
#undef IDCANCEL

std::wstring widen(std::string_view utf8);
std::string narrow(std::wstring_view wide);

// The system's text for a Win32 error code, without its line end.
std::string win32_error_text(DWORD code);

// Sets errno to the C library's nearest number for a Win32 error (e.g.
// ERROR_FILE_NOT_FOUND is ENOENT, a port in use ERROR_ACCESS_DENIED EBUSY when
// `is_device`), so that callers written for errno keep working.
int errno_from_win32(DWORD code, bool is_device = false);
