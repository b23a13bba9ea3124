// The file guarantees of platform/files.h on Windows: wide (UTF-16) names,
// whole contents flushed with FlushFileBuffers and moved over the old file
// with MoveFileExW(MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH).
#include "platform/files.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <io.h>
#include <random>
#include <vector>

#include "windows/win32.h"

std::string errno_text() { return std::strerror(errno); }

namespace {

// Every file the C library opens is binary, as on Linux: the reports and
// traces written with fopen keep their bytes (no CR before each LF).
const int binary_files = [] {
    *::__p__fmode() = _O_BINARY;
    return 0;
}();

std::string last_error_text() {
    DWORD code = ::GetLastError();
    errno_from_win32(code);
    return win32_error_text(code);
}

std::size_t last_separator(const std::string& path) { return path.find_last_of("/\\"); }

std::string folder_of(const std::string& path) {
    auto slash = last_separator(path);
    return slash == std::string::npos ? "." : path.substr(0, slash == 0 ? 1 : slash);
}

std::string name_in_folder(const std::string& path) {
    auto slash = last_separator(path);
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

bool write_all(HANDLE h, std::string_view text) {
    while (!text.empty()) {
        DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(text.size(), 1 << 20)), n = 0;
        if (!::WriteFile(h, text.data(), chunk, &n, nullptr)) return false;
        text.remove_prefix(n);
    }
    return true;
}

// The name, a dot and six letters or digits, as the temporaries are named.
bool temporary_of(const std::string& candidate, const std::string& name) {
    if (candidate.size() != name.size() + 7 || candidate.compare(0, name.size(), name) != 0 ||
        candidate[name.size()] != '.')
        return false;
    for (std::size_t k = name.size() + 1; k < candidate.size(); ++k)
        if (!std::isalnum(static_cast<unsigned char>(candidate[k]))) return false;
    return true;
}

std::string six_letters() {
    static std::mt19937 random{std::random_device{}() ^ ::GetCurrentProcessId()};
    static const char kLetters[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    std::string out;
    for (int k = 0; k < 6; ++k) out += kLetters[random() % (sizeof kLetters - 1)];
    return out;
}

// A virus scanner or the search indexer may hold the file for a moment.
bool move_over(const std::wstring& from, const std::wstring& to) {
    for (int tries = 0;; ++tries) {
        if (::MoveFileExW(from.c_str(), to.c_str(),
                          MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
            return true;
        DWORD code = ::GetLastError();
        if (tries == 50 || (code != ERROR_ACCESS_DENIED && code != ERROR_SHARING_VIOLATION))
            return false;
        ::Sleep(20);
    }
}

std::string numbered(const std::string& path, int k) {
    auto dot = path.rfind('.');
    auto slash = last_separator(path);
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash))
        return path + "." + std::to_string(k);
    return path.substr(0, dot) + "." + std::to_string(k) + path.substr(dot);
}

}  // namespace

int remove_interrupted_saves(const std::string& path) {
    std::string folder = folder_of(path), name = name_in_folder(path);
    WIN32_FIND_DATAW found{};
    HANDLE search = ::FindFirstFileW(widen(folder + "\\" + name + ".*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return 0;
    int removed = 0;
    do {
        std::string file = narrow(found.cFileName);
        if (!temporary_of(file, name) || (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
            continue;
        if (::DeleteFileW(widen(folder + "\\" + file).c_str())) ++removed;
    } while (::FindNextFileW(search, &found));
    ::FindClose(search);
    return removed;
}

bool read_small_file(const std::string& path, std::size_t limit, std::string& content,
                     std::string& why) {
    content.clear();
    if (std::string not_file = not_a_regular_file(path); !not_file.empty()) {
        why = not_file;
        errno = EINVAL;
        return false;
    }
    HANDLE h = ::CreateFileW(widen(path).c_str(), GENERIC_READ,
                             FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                             OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        why = last_error_text();
        return false;
    }
    bool ok = ::GetFileType(h) == FILE_TYPE_DISK;
    if (!ok) {
        why = "it is not a regular file";
        errno = EINVAL;
    }
    char buf[4096];
    while (ok) {
        DWORD n = 0;
        if (!::ReadFile(h, buf, sizeof buf, &n, nullptr)) {
            why = last_error_text();
            ok = false;
            break;
        }
        if (n == 0) break;
        content.append(buf, n);
        if (content.size() > limit) {
            why = "it holds more than " + std::to_string(limit) +
                  " bytes, more than such a file ever does";
            errno = EFBIG;
            ok = false;
        }
    }
    int error = errno;
    ::CloseHandle(h);
    errno = error;
    if (!ok) content.clear();
    return ok;
}

std::string not_a_regular_file(const std::string& path) {
    // Device names ("COM1", "\\.\COM1", "NUL") are not looked at: opening one
    // may wait for ever.
    std::string name = name_in_folder(path);
    std::string stem = name.substr(0, name.find('.'));
    for (char& c : stem) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    bool reserved = stem == "CON" || stem == "PRN" || stem == "AUX" || stem == "NUL" ||
                    ((stem.rfind("COM", 0) == 0 || stem.rfind("LPT", 0) == 0) &&
                     stem.size() == 4 && std::isdigit(static_cast<unsigned char>(stem[3])));
    if (reserved || path.rfind("\\\\.\\", 0) == 0 || path.rfind("//./", 0) == 0)
        return "it is a device";
    DWORD attributes = ::GetFileAttributesW(widen(path).c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return "";
    if (attributes & FILE_ATTRIBUTE_DIRECTORY) return "it is a folder";
    if (path.rfind("\\\\", 0) == 0 && path.find("\\pipe\\") != std::string::npos)
        return "it is a named pipe";
    return "";
}

bool replace_file(const std::string& path, std::string_view content, std::string& why) {
    std::wstring target = widen(path), temporary;
    HANDLE h = INVALID_HANDLE_VALUE;
    for (int tries = 0; tries < 100 && h == INVALID_HANDLE_VALUE; ++tries) {
        temporary = widen(path + "." + six_letters());
        h = ::CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                          FILE_ATTRIBUTE_NORMAL | FILE_FLAG_WRITE_THROUGH, nullptr);
        if (h == INVALID_HANDLE_VALUE && ::GetLastError() != ERROR_FILE_EXISTS) break;
    }
    if (h == INVALID_HANDLE_VALUE) {
        why = "cannot create a temporary file beside " + path + ": " + last_error_text();
        return false;
    }
    bool ok = write_all(h, content) && ::FlushFileBuffers(h);
    std::string reason = ok ? "" : last_error_text();
    ::CloseHandle(h);
    if (ok && !move_over(temporary, target)) {
        ok = false;
        reason = last_error_text();
    }
    if (!ok) {
        ::DeleteFileW(temporary.c_str());
        why = "cannot write " + path + ": " + reason;
        return false;
    }
    return true;
}

bool append_line_durably(const std::string& path, const std::string& line,
                         const std::string& header, std::string& why) {
    HANDLE h = ::CreateFileW(widen(path).c_str(), FILE_APPEND_DATA, FILE_SHARE_READ, nullptr,
                             OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        why = "cannot open " + path + ": " + last_error_text();
        return false;
    }
    LARGE_INTEGER size{};
    bool ok = ::GetFileSizeEx(h, &size);
    if (ok) {
        ok = write_all(h, size.QuadPart > 0 ? line : header + line) && ::FlushFileBuffers(h);
        // What a full disk took of the line goes again.
        if (!ok) {
            DWORD error = ::GetLastError();
            HANDLE cut = ::CreateFileW(widen(path).c_str(), GENERIC_WRITE, FILE_SHARE_READ,
                                       nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
            if (cut != INVALID_HANDLE_VALUE) {
                if (::SetFilePointerEx(cut, size, nullptr, FILE_BEGIN) && ::SetEndOfFile(cut))
                    ::FlushFileBuffers(cut);
                ::CloseHandle(cut);
            }
            ::SetLastError(error);
        }
    }
    if (!ok) why = "cannot write " + path + ": " + last_error_text();
    ::CloseHandle(h);
    return ok;
}

long move_partial_last_line(const std::string& path, const std::string& kept, std::string& why) {
    std::string content, ignored;
    if (!read_small_file(path, std::size_t(1) << 30, content, ignored) || content.empty() ||
        content.back() == '\n')
        return 0;
    std::size_t start = content.rfind('\n');
    start = start == std::string::npos ? 0 : start + 1;
    // Kept first, cut then: a crash in between leaves it in both, never in neither.
    std::string line = content.substr(start) + "\r\n";
    HANDLE out = ::CreateFileW(widen(kept).c_str(), FILE_APPEND_DATA, FILE_SHARE_READ, nullptr,
                               OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    bool ok = out != INVALID_HANDLE_VALUE && write_all(out, line) && ::FlushFileBuffers(out);
    if (out != INVALID_HANDLE_VALUE) ::CloseHandle(out);
    HANDLE h = ok ? ::CreateFileW(widen(path).c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr)
                  : INVALID_HANDLE_VALUE;
    LARGE_INTEGER at{};
    at.QuadPart = static_cast<LONGLONG>(start);
    ok = h != INVALID_HANDLE_VALUE && ::SetFilePointerEx(h, at, nullptr, FILE_BEGIN) &&
         ::SetEndOfFile(h) && ::FlushFileBuffers(h);
    if (!ok) why = last_error_text();
    if (h != INVALID_HANDLE_VALUE) ::CloseHandle(h);
    return ok ? static_cast<long>(content.size() - start) : -1;
}

bool hold_lock_file(const std::string& path, long& holder, std::string& why) {
    holder = 0;
    // Shared for reading, so that a second program can read who holds it.
    HANDLE h = ::CreateFileW(widen(path).c_str(), GENERIC_READ | GENERIC_WRITE,
                             FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                             FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        why = "cannot open " + path + ": " + last_error_text();
        return true;
    }
    // The lock covers a byte past any process id, so that the id stays readable.
    OVERLAPPED at{};
    at.Offset = 4096;
    if (!::LockFileEx(h, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0, &at)) {
        DWORD error = ::GetLastError();
        bool held = error == ERROR_LOCK_VIOLATION || error == ERROR_IO_PENDING;
        why = win32_error_text(error);
        if (held) {
            char buf[32] = {};
            DWORD n = 0;
            if (::ReadFile(h, buf, sizeof buf - 1, &n, nullptr) && n > 0)
                holder = std::strtol(buf, nullptr, 10);
        }
        ::CloseHandle(h);
        return !held;
    }
    // The handle stays open, and the lock held, until the process ends.
    std::string pid = std::to_string(::GetCurrentProcessId()) + "\n";
    DWORD n = 0;
    LARGE_INTEGER zero{};
    if (!::SetFilePointerEx(h, zero, nullptr, FILE_BEGIN) || !::SetEndOfFile(h) ||
        !::WriteFile(h, pid.data(), static_cast<DWORD>(pid.size()), &n, nullptr))
        why = "cannot write " + path + ": " + last_error_text();
    return true;
}

bool file_is_readable(const std::string& path) {
    std::FILE* f = ::_wfopen(widen(path).c_str(), L"rb");
    if (f) std::fclose(f);
    return f != nullptr;
}

bool move_file_over(const std::string& from, const std::string& to) {
    if (move_over(widen(from), widen(to))) return true;
    errno_from_win32(::GetLastError());
    return false;
}

void keep_previous(const std::string& path, int copies) {
    DWORD attributes = ::GetFileAttributesW(widen(path).c_str());
    if (copies < 1 || attributes == INVALID_FILE_ATTRIBUTES ||
        (attributes & FILE_ATTRIBUTE_DIRECTORY))
        return;
    for (int k = copies - 1; k >= 1; --k)
        ::MoveFileExW(widen(numbered(path, k)).c_str(), widen(numbered(path, k + 1)).c_str(),
                      MOVEFILE_REPLACE_EXISTING);
    ::MoveFileExW(widen(path).c_str(), widen(numbered(path, 1)).c_str(),
                  MOVEFILE_REPLACE_EXISTING);
}

// The C library's descriptor keeps the header's shape; each entry is one
// write to the system, in binary so that its bytes stay as they are.
bool AppendFile::append(const std::string& path, std::string_view text) {
    if (fd_ >= 0 && path != path_) close();
    if (fd_ < 0) {
        fd_ = ::_wopen(widen(path).c_str(), _O_WRONLY | _O_APPEND | _O_CREAT | _O_BINARY,
                       0600);
        if (fd_ < 0) return false;
        path_ = path;
    }
    while (!text.empty()) {
        int n = ::_write(fd_, text.data(), static_cast<unsigned>(text.size()));
        if (n <= 0) {
            close();  // the next entry opens it afresh
            return false;
        }
        text.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}

void AppendFile::close() {
    if (fd_ >= 0) ::_close(fd_);
    fd_ = -1;
}

bool write_new_file(const std::string& path, std::string_view text, std::string& why) {
    std::FILE* f = ::_wfopen(widen(path).c_str(), L"wb");
    if (!f) {
        why = "cannot create " + path + ": " + errno_text();
        return false;
    }
    bool ok = std::fwrite(text.data(), 1, text.size(), f) == text.size();
    if (std::fclose(f) != 0 || !ok) {
        why = "cannot write " + path + ": " + errno_text();
        return false;
    }
    return true;
}
