// platform/folders.h on Windows: wide calls, UTF-8 paths with forward slashes.
#include "platform/folders.h"

#include "windows/win32.h"
// After windows.h.
#include <shellapi.h>
#include <shlobj.h>

#include <cerrno>
#include <cstdlib>
#include <vector>

namespace {

std::string forward_slashes(std::string path) {
    for (char& c : path)
        if (c == '\\') c = '/';
    return path;
}

DWORD attributes_of(const std::string& path) {
    DWORD a = ::GetFileAttributesW(widen(path).c_str());
    if (a == INVALID_FILE_ATTRIBUTES) errno_from_win32(::GetLastError());
    return a;
}

std::string known_folder(REFKNOWNFOLDERID id) {
    wchar_t* path = nullptr;
    std::string out;
    if (::SHGetKnownFolderPath(id, 0, nullptr, &path) == S_OK) out = forward_slashes(narrow(path));
    ::CoTaskMemFree(path);
    return out;
}

bool starts_with_folder(const std::string& path, const std::string& folder) {
    if (folder.empty() || path.size() < folder.size()) return false;
    if (::CompareStringOrdinal(widen(path.substr(0, folder.size())).c_str(), -1,
                               widen(folder).c_str(), -1, TRUE) != CSTR_EQUAL)
        return false;
    return path.size() == folder.size() || path[folder.size()] == '/';
}

}  // namespace

bool is_folder(const std::string& path) {
    DWORD a = attributes_of(path);
    return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

bool is_regular_file(const std::string& path) {
    DWORD a = attributes_of(path);
    return a != INVALID_FILE_ATTRIBUTES && !(a & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_DEVICE));
}

bool path_exists(const std::string& path) { return attributes_of(path) != INVALID_FILE_ATTRIBUTES; }

bool entry_exists(const std::string& path) { return path_exists(path); }

// The read-only attribute of a folder says nothing about writing in it: the
// one way to know is to make a file there.
bool folder_may_be_written(const std::string& dir) {
    std::wstring probe = widen(dir + "/.zel-write-test-" + std::to_string(::GetCurrentProcessId()));
    HANDLE h = ::CreateFileW(probe.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                             FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        errno_from_win32(::GetLastError());
        return false;
    }
    ::CloseHandle(h);
    return true;
}

std::string resolved_path(const std::string& path) {
    std::wstring wide = widen(path);
    HANDLE h = ::CreateFileW(wide.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                             nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    std::vector<wchar_t> buf(32768);
    DWORD n = 0;
    if (h != INVALID_HANDLE_VALUE) {
        n = ::GetFinalPathNameByHandleW(h, buf.data(), static_cast<DWORD>(buf.size()),
                                        FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
        ::CloseHandle(h);
    }
    std::wstring out;
    if (n > 0 && n < buf.size()) {
        out.assign(buf.data(), n);
        if (out.rfind(L"\\\\?\\UNC\\", 0) == 0) out = L"\\\\" + out.substr(8);
        else if (out.rfind(L"\\\\?\\", 0) == 0) out = out.substr(4);
    } else {
        // Without a handle (a folder the system will not open), the full name.
        n = ::GetFullPathNameW(wide.c_str(), static_cast<DWORD>(buf.size()), buf.data(), nullptr);
        if (n == 0 || n >= buf.size() || !path_exists(path)) {
            errno_from_win32(::GetLastError());
            return "";
        }
        out.assign(buf.data(), n);
    }
    std::string resolved = forward_slashes(narrow(out));
    while (resolved.size() > 3 && resolved.back() == '/') resolved.pop_back();
    return resolved;
}

bool enter_folder(const std::string& dir) {
    if (::SetCurrentDirectoryW(widen(dir).c_str())) return true;
    errno_from_win32(::GetLastError());
    return false;
}

std::string current_folder() {
    std::vector<wchar_t> buf(32768);
    DWORD n = ::GetCurrentDirectoryW(static_cast<DWORD>(buf.size()), buf.data());
    if (n == 0 || n >= buf.size()) return "";
    return forward_slashes(narrow(std::wstring_view(buf.data(), n)));
}

// "C:/...", "C:\...", "//server/share/..." and "\\server\share\...".
bool is_absolute_path(const std::string& path) {
    auto slash = [](char c) { return c == '/' || c == '\\'; };
    if (path.size() >= 2 && slash(path[0]) && slash(path[1])) return true;
    return path.size() >= 3 && std::isalpha(static_cast<unsigned char>(path[0])) &&
           path[1] == ':' && slash(path[2]);
}

std::string executable_path() {
    std::vector<wchar_t> buf(32768);
    DWORD n = ::GetModuleFileNameW(nullptr, buf.data(), static_cast<DWORD>(buf.size()));
    if (n == 0 || n >= buf.size()) return "";
    return forward_slashes(narrow(std::wstring_view(buf.data(), n)));
}

std::string home_folder() { return known_folder(FOLDERID_LocalAppData); }

bool is_system_folder(const std::string& path) {
    std::string p = forward_slashes(path);
    for (REFKNOWNFOLDERID id : {FOLDERID_ProgramFiles, FOLDERID_ProgramFilesX86, FOLDERID_Windows})
        if (starts_with_folder(p, known_folder(id))) return true;
    return false;
}

std::string environment_variable(const char* name) {
    const wchar_t* value = ::_wgetenv(widen(name).c_str());
    return value ? narrow(value) : "";
}

std::string user_name() {
    wchar_t name[257];
    DWORD n = 257;
    return ::GetUserNameW(name, &n) && n > 1 ? narrow(std::wstring_view(name, n - 1)) : "this user";
}

std::vector<std::string> program_arguments(int, char**) {
    int n = 0;
    wchar_t** wide = ::CommandLineToArgvW(::GetCommandLineW(), &n);
    std::vector<std::string> args;
    for (int k = 1; k < n; ++k) args.push_back(narrow(wide[k]));
    ::LocalFree(wide);
    return args;
}
