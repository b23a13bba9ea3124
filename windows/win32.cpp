#include "windows/win32.h"

#include <cerrno>

std::wstring widen(std::string_view utf8) {
    if (utf8.empty()) return L"";
    int n = ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()),
                                  nullptr, 0);
    std::wstring out(static_cast<std::size_t>(n), L'\0');
    ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), out.data(), n);
    return out;
}

std::string narrow(std::wstring_view wide) {
    if (wide.empty()) return "";
    int n = ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()),
                                  nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<std::size_t>(n), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), out.data(), n,
                          nullptr, nullptr);
    return out;
}

std::string win32_error_text(DWORD code) {
    wchar_t* text = nullptr;
    DWORD n = ::FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                                   FORMAT_MESSAGE_IGNORE_INSERTS,
                               nullptr, code, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    std::string out = n ? narrow(std::wstring_view(text, n)) : "error " + std::to_string(code);
    if (text) ::LocalFree(text);
    while (!out.empty() && (out.back() == '\n' || out.back() == '\r' || out.back() == ' ' ||
                            out.back() == '.'))
        out.pop_back();
    return out;
}

int errno_from_win32(DWORD code, bool is_device) {
    int e = EIO;
    switch (code) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_NAME:
    case ERROR_BAD_NETPATH: e = ENOENT; break;
    case ERROR_ACCESS_DENIED: e = is_device ? EBUSY : EACCES; break;
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
    case ERROR_BUSY: e = EBUSY; break;
    case ERROR_FILE_EXISTS:
    case ERROR_ALREADY_EXISTS: e = EEXIST; break;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL: e = ENOSPC; break;
    case ERROR_WRITE_PROTECT: e = EROFS; break;
    case ERROR_INVALID_PARAMETER: e = EINVAL; break;
    case ERROR_INVALID_HANDLE: e = EBADF; break;
    case ERROR_NOT_ENOUGH_MEMORY:
    case ERROR_OUTOFMEMORY: e = ENOMEM; break;
    case ERROR_DEVICE_NOT_CONNECTED:
    case ERROR_DEV_NOT_EXIST: e = ENODEV; break;
    case ERROR_INVALID_FUNCTION:
    case ERROR_NOT_SUPPORTED: e = ENOTTY; break;
    default: break;
    }
    errno = e;
    return e;
}
