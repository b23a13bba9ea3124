// platform/serial_ports.h on Windows: the COM ports the system has
// (HARDWARE\DEVICEMAP\SERIALCOMM), with the friendly names the device manager
// shows, e.g. "USB Serial Port (COM7)".
#include "platform/serial_ports.h"

#include <algorithm>
#include <map>

#include "windows/win32.h"
// After windows.h.
#include <devguid.h>
#include <setupapi.h>

namespace {

std::string dev_folder = "\\\\.";

std::map<std::string, std::string> friendly_names() {
    std::map<std::string, std::string> names;
    HDEVINFO set = ::SetupDiGetClassDevsW(&GUID_DEVCLASS_PORTS, nullptr, nullptr, DIGCF_PRESENT);
    if (set == INVALID_HANDLE_VALUE) return names;
    SP_DEVINFO_DATA device{};
    device.cbSize = sizeof device;
    for (DWORD k = 0; ::SetupDiEnumDeviceInfo(set, k, &device); ++k) {
        HKEY key = ::SetupDiOpenDevRegKey(set, &device, DICS_FLAG_GLOBAL, 0, DIREG_DEV, KEY_READ);
        if (key == INVALID_HANDLE_VALUE) continue;
        wchar_t port[64] = L"";
        DWORD size = sizeof port - sizeof(wchar_t), type = 0;
        bool named = ::RegQueryValueExW(key, L"PortName", nullptr, &type,
                                        reinterpret_cast<BYTE*>(port), &size) == ERROR_SUCCESS &&
                     type == REG_SZ;
        ::RegCloseKey(key);
        wchar_t friendly[256] = L"";
        if (named && ::SetupDiGetDeviceRegistryPropertyW(set, &device, SPDRP_FRIENDLYNAME, nullptr,
                                                         reinterpret_cast<BYTE*>(friendly),
                                                         sizeof friendly - sizeof(wchar_t), nullptr))
            names[narrow(port)] = narrow(friendly);
    }
    ::SetupDiDestroyDeviceInfoList(set);
    return names;
}

int port_number(const std::string& name) {
    return name.size() > 3 ? std::atoi(name.c_str() + 3) : 0;
}

}  // namespace

void set_device_roots(const std::string& dev, const std::string&) {
    dev_folder = dev.empty() ? "\\\\." : dev;
}

const std::string& dev_root() { return dev_folder; }

std::vector<SerialPortInfo> list_serial_ports() {
    std::vector<SerialPortInfo> ports;
    HKEY key;
    if (::RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"HARDWARE\\DEVICEMAP\\SERIALCOMM", 0, KEY_READ, &key) !=
        ERROR_SUCCESS)
        return ports;
    std::map<std::string, std::string> friendly = friendly_names();
    for (DWORD k = 0;; ++k) {
        wchar_t value_name[256], data[64];
        DWORD name_size = 256, data_size = sizeof data - sizeof(wchar_t), type = 0;
        LONG r = ::RegEnumValueW(key, k, value_name, &name_size, nullptr, &type,
                                 reinterpret_cast<BYTE*>(data), &data_size);
        if (r == ERROR_NO_MORE_ITEMS) break;
        if (r != ERROR_SUCCESS || type != REG_SZ) continue;
        data[data_size / sizeof(wchar_t)] = L'\0';
        SerialPortInfo p;
        p.name = narrow(data);
        p.device = "\\\\.\\" + p.name;
        p.driver = friendly.count(p.name) ? friendly[p.name] : narrow(value_name);
        p.may_open = true;
        ports.push_back(p);
    }
    ::RegCloseKey(key);
    std::sort(ports.begin(), ports.end(), [](const SerialPortInfo& a, const SerialPortInfo& b) {
        return port_number(a.name) < port_number(b.name);
    });
    return ports;
}

// "COM7  USB Serial Port (COM7)".
std::string describe_serial_port(const SerialPortInfo& port) {
    return port.name + "  " + (port.driver.empty() ? "serial port" : port.driver);
}
