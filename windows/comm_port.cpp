#include "windows/comm_port.h"

#include <algorithm>
#include <cctype>
#include <cerrno>

#include "windows/win32.h"

namespace {
HANDLE as_handle(void* h) { return static_cast<HANDLE>(h); }
}  // namespace

namespace {

// "COM" and a number, in any case.
bool is_com_port(const std::string& name) {
    return name.size() > 3 && (name[0] | 0x20) == 'c' && (name[1] | 0x20) == 'o' &&
           (name[2] | 0x20) == 'm' &&
           std::all_of(name.begin() + 3, name.end(),
                       [](char c) { return std::isdigit(static_cast<unsigned char>(c)); });
}

std::string without_device_prefix(const std::string& device) {
    for (const char* prefix : {"\\\\.\\", "//./"})
        if (device.rfind(prefix, 0) == 0) return device.substr(4);
    return device;
}

}  // namespace

std::string com_port_name(const std::string& device) {
    std::string name = without_device_prefix(device);
    if (!is_com_port(name)) return name;
    for (char& c : name) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return name;
}

std::string com_device_path(const std::string& name) {
    std::string com = without_device_prefix(name);
    return is_com_port(com) ? "\\\\.\\" + com_port_name(com) : name;
}

bool CommPort::fail() {
    error_ = ::GetLastError();
    errno_from_win32(error_, true);
    return false;
}

bool CommPort::open_device(const std::string& name) {
    close();
    HANDLE h = ::CreateFileW(widen(com_device_path(name)).c_str(), GENERIC_READ | GENERIC_WRITE,
                             0, nullptr, OPEN_EXISTING, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE) return fail();
    handle_ = h;
    error_ = 0;
    timeout_set_ = -1;
    ::SetupComm(h, 4096, 4096);
    return true;
}

bool CommPort::get_line(LineSettings& line) {
    DCB dcb{};
    dcb.DCBlength = sizeof dcb;
    if (!::GetCommState(as_handle(handle_), &dcb)) return fail();
    line.baud = dcb.BaudRate;
    line.data_bits = dcb.ByteSize;
    line.parity = dcb.Parity == ODDPARITY ? 1 : dcb.Parity == EVENPARITY ? 2 : 0;
    line.stop_bits = dcb.StopBits == TWOSTOPBITS ? 2 : 1;
    return true;
}

bool CommPort::set_line(const LineSettings& line) {
    if (line.data_bits < 5 || line.data_bits > 8 || line.parity < 0 || line.parity > 2 ||
        (line.stop_bits != 1 && line.stop_bits != 2)) {
        ::SetLastError(ERROR_INVALID_PARAMETER);
        return fail();
    }
    DCB dcb{};
    dcb.DCBlength = sizeof dcb;
    if (!::GetCommState(as_handle(handle_), &dcb)) return fail();
    dcb.BaudRate = line.baud;
    dcb.ByteSize = static_cast<BYTE>(line.data_bits);
    dcb.Parity = line.parity == 1 ? ODDPARITY : line.parity == 2 ? EVENPARITY : NOPARITY;
    dcb.StopBits = line.stop_bits == 2 ? TWOSTOPBITS : ONESTOPBIT;
    dcb.fBinary = TRUE;
    dcb.fParity = line.parity != 0;
    dcb.fOutxCtsFlow = FALSE;
    dcb.fOutxDsrFlow = FALSE;
    dcb.fDtrControl = DTR_CONTROL_ENABLE;
    dcb.fDsrSensitivity = FALSE;
    dcb.fTXContinueOnXoff = TRUE;
    dcb.fOutX = FALSE;
    dcb.fInX = FALSE;
    dcb.fErrorChar = FALSE;
    dcb.fNull = FALSE;
    dcb.fRtsControl = RTS_CONTROL_ENABLE;
    dcb.fAbortOnError = FALSE;
    if (!::SetCommState(as_handle(handle_), &dcb)) return fail();
    // The driver may take a setting it cannot do: read back what counts.
    LineSettings now;
    if (!get_line(now)) return false;
    if (!(now == line)) {
        ::SetLastError(ERROR_INVALID_PARAMETER);
        return fail();
    }
    return true;
}

CommPort::ReadTimeouts CommPort::read_timeouts(int timeout_ms) {
    // Both MAXDWORD: a read returns at once with what is there, else with the
    // first byte that comes, else with nothing after the constant. A constant
    // of 0 there would wait for ever: an immediate look needs interval MAXDWORD
    // and the others 0.
    if (timeout_ms <= 0) return {MAXDWORD, 0, 0};
    return {MAXDWORD, MAXDWORD, static_cast<unsigned long>(std::min(timeout_ms, 0x7ffffffe))};
}

bool CommPort::open(const std::string& name, const LineSettings& line) {
    if (!open_device(name) || !set_line(line) || !set_read_timeout(0)) {
        DWORD e = error_;
        close();
        error_ = e;
        errno_from_win32(e, true);
        return false;
    }
    return true;
}

bool CommPort::write_byte(char byte) {
    if (timeout_set_ < 0) {
        // Only the write time-out changes here; reads set theirs as they go.
        COMMTIMEOUTS t{};
        ::GetCommTimeouts(as_handle(handle_), &t);
        t.WriteTotalTimeoutMultiplier = 0;
        t.WriteTotalTimeoutConstant = 1000;
        if (!::SetCommTimeouts(as_handle(handle_), &t)) return fail();
    }
    DWORD n = 0;
    if (!::WriteFile(as_handle(handle_), &byte, 1, &n, nullptr)) return fail();
    if (n != 1) {
        ::SetLastError(ERROR_WRITE_FAULT);
        return fail();
    }
    return true;
}

bool CommPort::set_read_timeout(int timeout_ms) {
    if (timeout_ms == timeout_set_) return true;
    ReadTimeouts r = read_timeouts(timeout_ms);
    COMMTIMEOUTS t{r.interval, r.multiplier, r.constant, 0, 1000};
    if (!::SetCommTimeouts(as_handle(handle_), &t)) return fail();
    timeout_set_ = timeout_ms;
    return true;
}

int CommPort::wait_byte(char& byte, int timeout_ms) {
    if (!set_read_timeout(timeout_ms)) return -1;
    DWORD n = 0;
    if (!::ReadFile(as_handle(handle_), &byte, 1, &n, nullptr)) {
        fail();
        // A line error (framing, parity, overrun) is cleared and reads as no byte.
        DWORD errors = 0;
        if (error_ == ERROR_OPERATION_ABORTED && ::ClearCommError(as_handle(handle_), &errors, nullptr))
            return 0;
        errno = EIO;  // as a tty that went away reports it
        return -1;
    }
    return n == 1 ? 1 : 0;
}

void CommPort::drop_input() {
    if (handle_) ::PurgeComm(as_handle(handle_), PURGE_RXCLEAR);
}

void CommPort::close() {
    if (handle_) ::CloseHandle(as_handle(handle_));
    handle_ = nullptr;
    timeout_set_ = -1;
}
