// platform/port_binding.h on Windows: portN.dat holds the name of the COM port.
#include "platform/port_binding.h"

#include <vector>

#include "platform/files.h"
#include "platform/serial_ports.h"
#include "windows/comm_port.h"
#include "windows/win32.h"

std::string port_binding_name(int port) { return "port" + std::to_string(port) + ".dat"; }

std::string bound_device(const std::string& path) { return com_device_path(binding_target(path)); }

std::string default_port_device(int port) { return "\\\\.\\COM" + std::to_string(port); }

std::string binding_target(const std::string& path) {
    std::string line, why;
    if (path.rfind("\\\\.\\", 0) == 0) return "";  // a port, not a binding
    if (!read_first_line(path, 64, line, why)) return "";
    return com_port_name(line);
}

bool blocks_binding(const std::string& path) {
    DWORD a = ::GetFileAttributesW(widen(path).c_str());
    return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

bool write_binding(const std::string& path, const std::string& target, std::string& why) {
    return replace_file(path, com_port_name(target) + "\r\n", why);
}

std::string full_device_name(const std::string& device) { return com_port_name(device); }

// A port the system has, whether it is listed or not (a port another
// program holds is still there).
std::string not_a_serial_device(const std::string& device) {
    std::string name = com_port_name(device);
    std::vector<wchar_t> target(1024);
    if (name.rfind("COM", 0) != 0 ||
        ::QueryDosDeviceW(widen(name).c_str(), target.data(), static_cast<DWORD>(target.size())) == 0)
        return device + " is not a serial port of this computer; zel --ports lists them";
    return "";
}

std::string how_to_bind_port(int port, const std::string&) {
    return "bind the COM port the controller is on as port " + std::to_string(port) +
           " with Tools, Serial port... (or zel --use-port COM7 --port " + std::to_string(port) + ")";
}
