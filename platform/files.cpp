#include "platform/files.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

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

}  // namespace

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

bool read_first_line(const std::string& path, std::size_t max_chars, std::string& line,
                     std::string& why) {
    std::FILE* f = std::fopen(path.c_str(), "r");
    if (!f) {
        why = errno_text();
        return false;
    }
    std::vector<char> buf(max_chars + 1, '\0');
    line.clear();
    if (std::fgets(buf.data(), static_cast<int>(buf.size()), f)) {
        line = buf.data();
        while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.pop_back();
    }
    std::fclose(f);
    return true;
}

bool append_to_file(const std::string& path, std::string_view text) {
    std::FILE* f = std::fopen(path.c_str(), "a+");
    if (!f) return false;
    bool ok = std::fwrite(text.data(), 1, text.size(), f) == text.size();
    return std::fclose(f) == 0 && ok;
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
