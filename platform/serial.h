#pragma once
#include <cstdint>
#include <string>

// A serial device as the controller link uses it: opened once by name, its
// line settings and read time-outs read and written back, then one byte per
// write and at most one byte per read.
//
// Every call reports success or failure; on failure errno holds the system's
// reason (ENOENT, EBUSY, EACCES, ENOTTY, ...).

// Line settings, named after the fields the controller link changes.
struct DCB {
    uint32_t BaudRate = 0;
    uint8_t ByteSize = 0;    // data bits, 5 to 8
    uint8_t Parity = 0;      // 0 none, 1 odd, 2 even
    uint8_t StopBits = 0;    // 0 one stop bit, 2 two
};

// Time-outs in milliseconds. A read of one byte waits at most
// ReadTotalTimeoutMultiplier + ReadTotalTimeoutConstant ms and then completes
// with zero bytes. Writes block until the port has taken the byte; the write
// fields are kept as reported.
struct COMMTIMEOUTS {
    uint32_t ReadIntervalTimeout = 0;
    uint32_t ReadTotalTimeoutMultiplier = 0;
    uint32_t ReadTotalTimeoutConstant = 0;
    uint32_t WriteTotalTimeoutMultiplier = 0;
    uint32_t WriteTotalTimeoutConstant = 0;
};

class SerialDevice {
public:
    virtual ~SerialDevice() = default;
    // Opens an existing device for reading and writing, exclusively: a device
    // another program holds fails with EBUSY.
    virtual bool open(const std::string& name) = 0;
    virtual bool get_state(DCB& dcb) = 0;
    virtual bool set_state(const DCB& dcb) = 0;
    virtual bool get_timeouts(COMMTIMEOUTS& t) = 0;
    virtual bool set_timeouts(const COMMTIMEOUTS& t) = 0;
    // Blocks until the port has taken the byte.
    virtual bool write_byte(char byte) = 0;
    // 1: a byte arrived; 0: none within the read time-out; -1: the read failed.
    virtual int read_byte(char& byte) = 0;
    // The same, but waiting at most `timeout_ms` for the byte. A device that
    // hangs up or reports an error fails at once with errno EIO (or the
    // system's own reason). Without a way to wait, the plain read.
    virtual int wait_byte(char& byte, int timeout_ms) {
        (void)timeout_ms;
        return read_byte(byte);
    }
    // Only tests and tools close a port; the program keeps it to the end.
    virtual void close() = 0;
};

// The device the controller link uses: the termios device unless another was
// installed. set_serial_device(nullptr) puts the termios device back.
SerialDevice& serial_device();
void set_serial_device(SerialDevice* device);

// A tty through termios: exclusive open (TIOCEXCL and flock), raw mode with no
// echo, no CR/LF translation and no flow control, and a 1-byte read that waits
// with poll() for the read time-out.
class TermiosDevice : public SerialDevice {
public:
    ~TermiosDevice() override;
    bool open(const std::string& name) override;
    bool get_state(DCB& dcb) override;
    bool set_state(const DCB& dcb) override;
    bool get_timeouts(COMMTIMEOUTS& t) override;
    bool set_timeouts(const COMMTIMEOUTS& t) override;
    bool write_byte(char byte) override;
    int read_byte(char& byte) override;
    int wait_byte(char& byte, int timeout_ms) override;
    void close() override;

private:
    int fd_ = -1;
    COMMTIMEOUTS timeouts_{};
};
