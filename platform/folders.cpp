#include "platform/folders.h"

#include <climits>
#include <cstdlib>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

bool is_folder(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool is_regular_file(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

bool path_exists(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0;
}

bool entry_exists(const std::string& path) {
    struct stat st {};
    return ::lstat(path.c_str(), &st) == 0;
}

bool folder_may_be_written(const std::string& dir) {
    return ::access(dir.c_str(), W_OK | X_OK) == 0;
}

std::string resolved_path(const std::string& path) {
    char* real = ::realpath(path.c_str(), nullptr);
    if (!real) return "";
    std::string out = real;
    std::free(real);
    return out;
}

bool enter_folder(const std::string& dir) { return ::chdir(dir.c_str()) == 0; }

std::string current_folder() {
    char* cwd = ::getcwd(nullptr, 0);
    if (!cwd) return "";
    std::string out = cwd;
    std::free(cwd);
    return out;
}

bool is_absolute_path(const std::string& path) { return !path.empty() && path[0] == '/'; }

std::string executable_path() {
    std::vector<char> buf(PATH_MAX + 1, '\0');
    ssize_t n = ::readlink("/proc/self/exe", buf.data(), buf.size() - 1);
    return n > 0 ? std::string(buf.data(), static_cast<std::size_t>(n)) : "";
}

std::string home_folder() {
    if (const char* home = std::getenv("HOME"); home && *home) return home;
    const passwd* pw = ::getpwuid(::geteuid());
    return pw && pw->pw_dir ? pw->pw_dir : "";
}

bool is_system_folder(const std::string& path) {
    return path == "/usr" || path.rfind("/usr/", 0) == 0;
}

std::string environment_variable(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

std::string user_name() {
    const passwd* pw = ::getpwuid(::geteuid());
    return pw ? pw->pw_name : "this user";
}

std::vector<std::string> program_arguments(int argc, char** argv) {
    return std::vector<std::string>(argv + 1, argv + argc);
}
