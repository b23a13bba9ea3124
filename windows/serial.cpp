// platform/serial.h on Windows: the controller link's steps on a CommPort.
#include "platform/serial.h"

#include "windows/comm_port.h"

namespace {

class Win32Device : public SerialDevice {
public:
    bool open(const std::string& name) override { return port_.open_device(name); }
    bool get_state(DCB& dcb) override {
        LineSettings line;
        if (!port_.get_line(line)) return false;
        dcb.BaudRate = line.baud;
        dcb.ByteSize = static_cast<uint8_t>(line.data_bits);
        dcb.Parity = static_cast<uint8_t>(line.parity);
        dcb.StopBits = line.stop_bits == 2 ? 2 : 0;
        return true;
    }
    bool set_state(const DCB& dcb) override {
        return port_.set_line({dcb.BaudRate, dcb.ByteSize, dcb.Parity, dcb.StopBits == 2 ? 2 : 1});
    }
    bool get_timeouts(COMMTIMEOUTS& t) override {
        t = timeouts_;
        return port_.is_open();
    }
    bool set_timeouts(const COMMTIMEOUTS& t) override {
        timeouts_ = t;
        return port_.is_open();
    }
    bool write_byte(char byte) override { return port_.write_byte(byte); }
    int read_byte(char& byte) override {
        return port_.wait_byte(byte, static_cast<int>(timeouts_.ReadTotalTimeoutMultiplier +
                                                      timeouts_.ReadTotalTimeoutConstant));
    }
    int wait_byte(char& byte, int timeout_ms) override { return port_.wait_byte(byte, timeout_ms); }
    void close() override {
        port_.close();
        timeouts_ = COMMTIMEOUTS{};
    }

private:
    CommPort port_;
    COMMTIMEOUTS timeouts_{};
};

Win32Device win32_device;
SerialDevice* installed = nullptr;

}  // namespace

SerialDevice& serial_device() { return installed ? *installed : win32_device; }

void set_serial_device(SerialDevice* device) { installed = device; }
