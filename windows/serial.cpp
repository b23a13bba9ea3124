// platform/serial.h on Windows: the controller link's three operations on a
// CommPort.
#include "platform/serial.h"

#include <cerrno>

#include "windows/comm_port.h"

namespace {

class Win32Device : public SerialDevice {
public:
    OpenStep open(const std::string& name) override {
        if (!port_.open_device(name)) return OpenStep::open_device;
        LineSettings line;
        if (!port_.get_line(line)) return fail(OpenStep::read_line);
        if (!port_.set_line(LineSettings{})) return fail(OpenStep::set_line);
        if (!port_.set_read_timeout(0)) return fail(OpenStep::set_timeouts);
        return OpenStep::ready;
    }
    bool write_byte(char byte) override { return port_.write_byte(byte); }
    int wait_byte(char& byte, int timeout_ms) override { return port_.wait_byte(byte, timeout_ms); }
    void close() override { port_.close(); }

private:
    // A port that failed a step after it opened is closed again, the step's
    // reason kept in errno.
    OpenStep fail(OpenStep step) {
        int error = errno;
        port_.close();
        errno = error;
        return step;
    }
    CommPort port_;
};

Win32Device win32_device;
SerialDevice* installed = nullptr;

}  // namespace

SerialDevice& serial_device() { return installed ? *installed : win32_device; }

void set_serial_device(SerialDevice* device) { installed = device; }
