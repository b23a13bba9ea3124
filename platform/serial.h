#pragma once
#include <string>

// A serial device as the controller link uses it, in three operations: open
// it at the line settings the link needs, write a byte, wait for a byte up to
// a deadline. Failures leave the system's reason in errno (ENOENT, EBUSY,
// EACCES, ENOTTY, EIO, ...).

// Where opening a device stopped: `ready`, or the step that failed.
enum class OpenStep {
    ready,
    open_device,   // the device cannot be opened: missing, busy, not allowed
    read_line,     // its line settings cannot be read: no serial port
    set_line,      // 9600 baud, 8 data bits, no parity, one stop bit, raw refused
    set_timeouts,  // the read time-outs refused
};

class SerialDevice {
public:
    virtual ~SerialDevice() = default;
    // Opens an existing device exclusively (another program that holds it
    // makes this fail with EBUSY) at 9600 baud, 8 data bits, no parity, one
    // stop bit, raw: no echo, no CR/LF translation, no XON/XOFF or RTS/CTS
    // flow control, modem lines ignored.
    virtual OpenStep open(const std::string& name) = 0;
    // Blocks until the port has taken the byte.
    virtual bool write_byte(char byte) = 0;
    // 1: a byte came within `timeout_ms` (0: only one that is there already);
    // 0: none came; -1: the device failed or hung up.
    virtual int wait_byte(char& byte, int timeout_ms) = 0;
    // Only tests and the program's end close a port.
    virtual void close() = 0;
};

// The device the controller link uses: the termios device unless another was
// installed. set_serial_device(nullptr) puts the termios device back.
SerialDevice& serial_device();
void set_serial_device(SerialDevice* device);

// A tty through termios: exclusive open (TIOCEXCL and flock), and a wait for
// a byte in poll().
class TermiosDevice : public SerialDevice {
public:
    ~TermiosDevice() override;
    OpenStep open(const std::string& name) override;
    bool write_byte(char byte) override;
    int wait_byte(char& byte, int timeout_ms) override;
    void close() override;

private:
    OpenStep fail(OpenStep step);
    int fd_ = -1;
};
