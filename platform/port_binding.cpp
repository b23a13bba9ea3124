#include "platform/port_binding.h"

#include <climits>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/files.h"
#include "platform/serial_ports.h"
#include "platform/text.h"

std::string port_binding_name(int port) { return strprintf("COM%d", port); }

std::string bound_device(const std::string& path) { return path; }

std::string default_port_device(int port) { return strprintf("/dev/ttyS%d", port - 1); }

std::string binding_target(const std::string& path) {
    char buf[PATH_MAX];
    ssize_t n = ::readlink(path.c_str(), buf, sizeof buf - 1);
    return n > 0 ? std::string(buf, static_cast<std::size_t>(n)) : "";
}

bool blocks_binding(const std::string& path) {
    struct stat st {};
    return ::lstat(path.c_str(), &st) == 0 && !S_ISLNK(st.st_mode);
}

bool write_binding(const std::string& path, const std::string& target, std::string& why) {
    std::string fresh = path + ".new";
    ::unlink(fresh.c_str());
    if (::symlink(target.c_str(), fresh.c_str()) != 0) {
        why = "cannot make the link " + fresh + ": " + errno_text();
        return false;
    }
    if (::rename(fresh.c_str(), path.c_str()) != 0) {
        why = "cannot put the link " + path + " in place: " + errno_text();
        ::unlink(fresh.c_str());
        return false;
    }
    return true;
}

std::string full_device_name(const std::string& device) {
    if (device.find('/') == std::string::npos) return dev_root() + "/" + device;
    std::string path = device;
    if (path[0] != '/') {
        char* cwd = ::getcwd(nullptr, 0);
        if (cwd) path = std::string(cwd) + "/" + path;
        std::free(cwd);
    }
    return std::filesystem::path(path).lexically_normal().string();
}

std::string not_a_serial_device(const std::string& path) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) return path + ": " + errno_text();
    if (!S_ISCHR(st.st_mode))
        return path + " is not a serial device (not a character device); zel --ports lists them";
    return "";
}

std::string how_to_bind_port(int port, const std::string& folder) {
    return strprintf("put a link named COM%d to the right device (for example /dev/ttyUSB0) in %s",
                     port, folder.c_str());
}
