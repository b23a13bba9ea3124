#include "platform/files.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

#include "platform/text.h"

std::string errno_text() { return std::strerror(errno); }

namespace {

bool write_all(int fd, std::string_view text) {
    while (!text.empty()) {
        ssize_t n = ::write(fd, text.data(), text.size());
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        text.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}

std::string folder_of(const std::string& path) {
    auto slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    if (slash == 0) return "/";
    return path.substr(0, slash);
}

std::string name_in_folder(const std::string& path) {
    auto slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// A name mkstemp made from `name`: the name, a dot and six letters or digits.
bool temporary_of(const char* candidate, const std::string& name) {
    std::size_t n = name.size();
    if (std::strncmp(candidate, name.c_str(), n) != 0 || candidate[n] != '.') return false;
    const char* tail = candidate + n + 1;
    for (int k = 0; k < 6; ++k)
        if (!std::isalnum(static_cast<unsigned char>(tail[k]))) return false;
    return tail[6] == '\0';
}

}  // namespace

int remove_interrupted_saves(const std::string& path) {
    std::string folder = folder_of(path), name = name_in_folder(path);
    DIR* dir = ::opendir(folder.c_str());
    if (!dir) return 0;
    int removed = 0;
    while (const dirent* e = ::readdir(dir)) {
        if (!temporary_of(e->d_name, name)) continue;
        std::string file = folder + "/" + e->d_name;
        struct stat st {};
        if (::lstat(file.c_str(), &st) == 0 && S_ISREG(st.st_mode) && ::unlink(file.c_str()) == 0)
            ++removed;
    }
    ::closedir(dir);
    return removed;
}

bool read_small_file(const std::string& path, std::size_t limit, std::string& content,
                     std::string& why) {
    // Not blocking: opening a named pipe would wait for a writer.
    int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        why = errno_text();
        return false;
    }
    struct stat st {};
    bool ok = ::fstat(fd, &st) == 0;
    if (ok && !S_ISREG(st.st_mode)) {
        why = not_a_regular_file(path);
        if (why.empty()) why = "it is not a regular file";
        errno = EINVAL;
        ok = false;
    }
    content.clear();
    char buf[4096];
    while (ok) {
        ssize_t n = ::read(fd, buf, sizeof buf);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            ok = n == 0;
            if (!ok) why = errno_text();
            break;
        }
        content.append(buf, static_cast<std::size_t>(n));
        if (content.size() > limit) {
            why = strprintf("it holds more than %zu bytes, more than such a file ever does",
                            limit);
            errno = EFBIG;
            ok = false;
        }
    }
    int error = errno;
    ::close(fd);
    errno = error;
    if (!ok) content.clear();
    return ok;
}

std::string not_a_regular_file(const std::string& path) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0 || S_ISREG(st.st_mode)) return "";
    if (S_ISDIR(st.st_mode)) return "it is a folder";
    if (S_ISFIFO(st.st_mode)) return "it is a named pipe";
    if (S_ISSOCK(st.st_mode)) return "it is a socket";
    if (S_ISCHR(st.st_mode) || S_ISBLK(st.st_mode)) return "it is a device";
    return "it is not a regular file";
}

bool replace_file(const std::string& path, std::string_view content, std::string& why) {
    std::string tmp = path + ".XXXXXX";
    std::vector<char> name(tmp.begin(), tmp.end());
    name.push_back('\0');
    int fd = ::mkstemp(name.data());
    if (fd < 0) {
        why = "cannot create a temporary file beside " + path + ": " + errno_text();
        return false;
    }
    // Keep the permissions of the file being replaced; a new file gets the
    // usual 0666 less the umask, as fopen would give it.
    struct stat old {};
    mode_t mode;
    if (::stat(path.c_str(), &old) == 0) {
        mode = old.st_mode & 07777;
    } else {
        mode_t mask = ::umask(0);
        ::umask(mask);
        mode = 0666 & ~mask;
    }
    bool ok = ::fchmod(fd, mode) == 0 && write_all(fd, content) && ::fsync(fd) == 0;
    std::string reason = ok ? "" : errno_text();
    if (::close(fd) != 0 && ok) {
        ok = false;
        reason = errno_text();
    }
    if (ok && ::rename(name.data(), path.c_str()) != 0) {
        ok = false;
        reason = errno_text();
    }
    if (!ok) {
        ::unlink(name.data());
        why = "cannot write " + path + ": " + reason;
        return false;
    }
    int dir = ::open(folder_of(path).c_str(), O_RDONLY | O_DIRECTORY);
    if (dir >= 0) {
        ::fsync(dir);
        ::close(dir);
    }
    return true;
}

namespace {
std::string numbered(const std::string& path, int k) {
    auto dot = path.rfind('.');
    auto slash = path.rfind('/');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash))
        return path + "." + std::to_string(k);
    return path.substr(0, dot) + "." + std::to_string(k) + path.substr(dot);
}
}  // namespace

bool append_line_durably(const std::string& path, const std::string& line,
                         const std::string& header, std::string& why) {
    int fd = ::open(path.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0666);
    if (fd < 0) {
        why = "cannot open " + path + ": " + errno_text();
        return false;
    }
    struct stat st {};
    bool ok = ::fstat(fd, &st) == 0;
    if (ok) {
        ok = write_all(fd, st.st_size > 0 ? line : header + line) && ::fsync(fd) == 0;
        // What a full disk took of the line goes again.
        if (!ok) {
            int error = errno;
            if (::ftruncate(fd, st.st_size) == 0) ::fsync(fd);
            errno = error;
        }
    }
    if (!ok) why = "cannot write " + path + ": " + errno_text();
    ::close(fd);
    return ok;
}

namespace {

// Where the last line of the open file `fd` of `size` bytes starts: just
// after its last line end, 0 when it has none.
off_t start_of_last_line(int fd, off_t size) {
    char buf[4096];
    for (off_t end = size; end > 0;) {
        off_t from = std::max<off_t>(end - static_cast<off_t>(sizeof buf), 0);
        ssize_t n = ::pread(fd, buf, static_cast<std::size_t>(end - from), from);
        if (n <= 0) return -1;
        for (ssize_t k = n - 1; k >= 0; --k)
            if (buf[k] == '\n') return from + k + 1;
        end = from;
    }
    return 0;
}

// Appends the bytes of `fd` from `from` to `to`, and a line end, to `kept`.
bool copy_to_end_of(int fd, off_t from, off_t to, const std::string& kept) {
    int out = ::open(kept.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0666);
    if (out < 0) return false;
    char buf[4096];
    bool ok = true;
    while (ok && from < to) {
        std::size_t want = static_cast<std::size_t>(std::min<off_t>(to - from, sizeof buf));
        ssize_t n = ::pread(fd, buf, want, from);
        ok = n > 0 && write_all(out, std::string_view(buf, static_cast<std::size_t>(n)));
        from += n > 0 ? n : 0;
    }
    ok = ok && write_all(out, "\r\n") && ::fsync(out) == 0;
    ::close(out);
    return ok;
}

}  // namespace

long move_partial_last_line(const std::string& path, const std::string& kept, std::string& why) {
    int fd = ::open(path.c_str(), O_RDWR | O_CLOEXEC);
    if (fd < 0) return 0;
    struct stat st {};
    char last = '\n';
    long moved = 0;
    if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && st.st_size > 0 &&
        ::pread(fd, &last, 1, st.st_size - 1) == 1 && last != '\n') {
        off_t start = start_of_last_line(fd, st.st_size);
        // Kept first, cut then: a crash in between leaves it in both, never in neither.
        if (start >= 0 && copy_to_end_of(fd, start, st.st_size, kept) &&
            ::ftruncate(fd, start) == 0 && ::fsync(fd) == 0) {
            moved = static_cast<long>(st.st_size - start);
        } else {
            why = errno_text();
            moved = -1;
        }
    }
    ::close(fd);
    return moved;
}

bool file_is_readable(const std::string& path) { return ::access(path.c_str(), R_OK) == 0; }

void keep_previous(const std::string& path, int copies) {
    struct stat st {};
    if (copies < 1 || ::stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return;
    for (int k = copies - 1; k >= 1; --k)
        ::rename(numbered(path, k).c_str(), numbered(path, k + 1).c_str());
    ::rename(path.c_str(), numbered(path, 1).c_str());
}

bool AppendFile::append(const std::string& path, std::string_view text) {
    if (fd_ >= 0 && path != path_) close();
    if (fd_ < 0) {
        fd_ = ::open(path.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0666);
        if (fd_ < 0) return false;
        path_ = path;
    }
    if (write_all(fd_, text)) return true;
    close();  // the next entry opens it afresh
    return false;
}

void AppendFile::close() {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
}

bool hold_lock_file(const std::string& path, long& holder, std::string& why) {
    holder = 0;
    int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
    if (fd < 0) {
        why = "cannot open " + path + ": " + errno_text();
        return true;
    }
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        bool held = errno == EWOULDBLOCK;
        why = errno_text();
        if (held) {
            char buf[32] = {};
            if (::pread(fd, buf, sizeof buf - 1, 0) > 0) holder = std::strtol(buf, nullptr, 10);
        }
        ::close(fd);
        return !held;
    }
    // The descriptor stays open, and the lock held, until the process ends.
    std::string pid = std::to_string(::getpid()) + "\n";
    if (::ftruncate(fd, 0) != 0 || ::pwrite(fd, pid.data(), pid.size(), 0) < 0)
        why = "cannot write " + path + ": " + errno_text();
    return true;
}

bool move_file_over(const std::string& from, const std::string& to) {
    return std::rename(from.c_str(), to.c_str()) == 0;
}

bool write_new_file(const std::string& path, std::string_view text, std::string& why) {
    std::FILE* f = std::fopen(path.c_str(), "w");
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
