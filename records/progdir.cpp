#include "records/progdir.h"

#include <climits>
#include <cstdlib>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

#include "platform/files.h"
#include "platform/text.h"
#include "records/notice.h"

std::string directory;

bool set_program_directory(const std::string& dir, std::string& why) {
    struct stat st {};
    if (dir.empty() || ::stat(dir.c_str(), &st) != 0) {
        why = "program directory " + dir + " does not exist";
        return false;
    }
    if (!S_ISDIR(st.st_mode)) {
        why = "program directory " + dir + " is not a folder";
        return false;
    }
    if (::access(dir.c_str(), W_OK | X_OK) != 0) {
        why = "program directory " + dir + " cannot be written: " + errno_text();
        return false;
    }
    char* real = ::realpath(dir.c_str(), nullptr);
    if (!real) {
        why = "program directory " + dir + ": " + errno_text();
        return false;
    }
    std::string resolved = real;
    std::free(real);
    if (::chdir(resolved.c_str()) != 0) {
        why = "cannot enter program directory " + resolved + ": " + errno_text();
        return false;
    }
    directory = resolved;
    return true;
}

std::string program_file(const char* name) {
    if (directory.empty()) return name;
    if (directory == "/") return std::string("/") + name;
    return directory + "/" + name;
}

bool write_argument_dat(const std::string& drawing) {
    std::string why;
    std::string text = strprintf("Using %s for program directory and %s for DXF path",
                                 directory.c_str(), drawing.c_str());
    if (!write_new_file(program_file("argument.dat"), text, why)) {
        notice(why);
        return false;
    }
    return true;
}

std::string executable_folder() {
    std::vector<char> buf(PATH_MAX + 1, '\0');
    ssize_t n = ::readlink("/proc/self/exe", buf.data(), buf.size() - 1);
    if (n <= 0) return ".";
    std::string exe(buf.data(), static_cast<std::size_t>(n));
    auto slash = exe.rfind('/');
    return slash == 0 ? "/" : exe.substr(0, slash);
}

std::string absolute_path(const std::string& path) {
    if (path.empty() || path[0] == '/') return path;
    char* cwd = ::getcwd(nullptr, 0);
    if (!cwd) return path;
    std::string out = cwd;
    std::free(cwd);
    if (out != "/") out += '/';
    return out + path;
}
