#pragma once
#include <string>

// A Windows serial port through the communications API, in the three
// operations the controller link needs: open a device at the line settings
// (9600 baud, 8 data bits, no parity, one stop bit, raw), write a byte, wait
// for a byte up to a deadline. The steps of the open are also there one by
// one, so that a failure can be told by the step that failed.
//
// Every call that fails leaves the Win32 error code in error() and the C
// library's nearest number in errno (a port that another program holds is
// EBUSY, one that is not there ENOENT).

struct LineSettings {
    unsigned baud = 9600;
    int data_bits = 8;   // 5 to 8
    int parity = 0;      // 0 none, 1 odd, 2 even
    int stop_bits = 1;   // 1 or 2
    bool operator==(const LineSettings&) const = default;
};

class CommPort {
public:
    CommPort() = default;
    ~CommPort() { close(); }
    CommPort(const CommPort&) = delete;
    CommPort& operator=(const CommPort&) = delete;

    // "COM7", "\\.\COM7" or any device name: opened exclusively, as
    // CreateFileW opens a communications port, with nothing else set.
    bool open_device(const std::string& name);
    bool get_line(LineSettings& line);
    // The line settings, raw: binary, no parity check, no XON/XOFF or
    // RTS/CTS/DSR flow control, DTR and RTS on, no abort on line errors.
    bool set_line(const LineSettings& line);
    // All of it: the device, the line and the time-outs (those of a look at
    // what is there already).
    bool open(const std::string& name, const LineSettings& line = {});

    // The read time-out of the next waits (see wait_byte), and a second for
    // each write.
    bool set_read_timeout(int timeout_ms);

    // Blocks until the driver has taken the byte (at most a second).
    bool write_byte(char byte);
    // 1: a byte came within `timeout_ms` (0: only one already there);
    // 0: none came; -1: the device failed or went away.
    int wait_byte(char& byte, int timeout_ms);
    // Drops what has come in and not been read.
    void drop_input();
    void close();

    bool is_open() const { return handle_ != nullptr; }
    unsigned long error() const { return error_; }
    // The Win32 time-outs a wait of `timeout_ms` uses: a read that returns
    // the first byte at once, or nothing after `timeout_ms`.
    struct ReadTimeouts {
        unsigned long interval, multiplier, constant;
    };
    static ReadTimeouts read_timeouts(int timeout_ms);

private:
    bool fail();
    void* handle_ = nullptr;
    unsigned long error_ = 0;
    int timeout_set_ = -1;   // the read time-out the port has now
};

// "COM7" for "\\.\COM7", "//./COM7" or "com7"; the name as given otherwise.
std::string com_port_name(const std::string& device);
// "\\.\COM7" for "COM7" (what CreateFileW needs from COM10 on).
std::string com_device_path(const std::string& name);
