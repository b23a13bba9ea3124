#include "platform/serial.h"

#include <cerrno>
#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

namespace {

TermiosDevice termios_device;
SerialDevice* installed = nullptr;

struct Speed {
    uint32_t baud;
    speed_t code;
};
constexpr Speed kSpeeds[] = {{1200, B1200},     {2400, B2400},     {4800, B4800},
                             {9600, B9600},     {19200, B19200},   {38400, B38400},
                             {57600, B57600},   {115200, B115200}, {230400, B230400}};

bool fail(int error) {
    errno = error;
    return false;
}

}  // namespace

SerialDevice& serial_device() { return installed ? *installed : termios_device; }

void set_serial_device(SerialDevice* device) { installed = device; }

TermiosDevice::~TermiosDevice() { close(); }

bool TermiosDevice::open(const std::string& name) {
    close();
    // Not blocking in open: a port without carrier detect would wait for it.
    int fd = ::open(name.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return false;
    // TIOCEXCL keeps every later open out, except root's: root checks the flag
    // itself. flock covers programs that lock instead.
    int exclusive = 0;
    if (::ioctl(fd, TIOCGEXCL, &exclusive) == 0 && exclusive) {
        ::close(fd);
        return fail(EBUSY);
    }
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        int error = errno == EWOULDBLOCK ? EBUSY : errno;
        ::close(fd);
        return fail(error);
    }
    ::ioctl(fd, TIOCEXCL);  // not a tty: reading the line settings reports it
    int flags = ::fcntl(fd, F_GETFL);
    if (flags < 0 || ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) != 0) {
        int error = errno;
        ::close(fd);
        return fail(error);
    }
    fd_ = fd;
    return true;
}

bool TermiosDevice::get_state(DCB& dcb) {
    termios tio{};
    if (::tcgetattr(fd_, &tio) != 0) return false;
    dcb.BaudRate = 0;
    for (const Speed& s : kSpeeds)
        if (s.code == ::cfgetospeed(&tio)) dcb.BaudRate = s.baud;
    switch (tio.c_cflag & CSIZE) {
    case CS5: dcb.ByteSize = 5; break;
    case CS6: dcb.ByteSize = 6; break;
    case CS7: dcb.ByteSize = 7; break;
    default: dcb.ByteSize = 8; break;
    }
    dcb.Parity = (tio.c_cflag & PARENB) ? ((tio.c_cflag & PARODD) ? 1 : 2) : 0;
    dcb.StopBits = (tio.c_cflag & CSTOPB) ? 2 : 0;
    return true;
}

bool TermiosDevice::set_state(const DCB& dcb) {
    termios tio{};
    if (::tcgetattr(fd_, &tio) != 0) return false;
    speed_t speed = B0;
    for (const Speed& s : kSpeeds)
        if (s.baud == dcb.BaudRate) speed = s.code;
    constexpr tcflag_t kSizes[] = {CS5, CS6, CS7, CS8};
    if (speed == B0 || dcb.ByteSize < 5 || dcb.ByteSize > 8 || dcb.Parity > 2 ||
        (dcb.StopBits != 0 && dcb.StopBits != 2))
        return fail(EINVAL);

    // Raw bytes both ways: no echo, no line editing, no CR/LF translation,
    // no XON/XOFF or RTS/CTS flow control, no modem control lines.
    ::cfmakeraw(&tio);
    tio.c_iflag &= ~(IXON | IXOFF | IXANY);
    tio.c_cflag &= ~(CRTSCTS | CSIZE | PARENB | PARODD | CSTOPB);
    tio.c_cflag |= CLOCAL | CREAD | kSizes[dcb.ByteSize - 5];
    if (dcb.Parity != 0) tio.c_cflag |= PARENB | (dcb.Parity == 1 ? PARODD : 0);
    if (dcb.StopBits == 2) tio.c_cflag |= CSTOPB;
    tio.c_cc[VMIN] = 0;
    tio.c_cc[VTIME] = 0;
    if (::cfsetispeed(&tio, speed) != 0 || ::cfsetospeed(&tio, speed) != 0) return false;
    if (::tcsetattr(fd_, TCSANOW, &tio) != 0) return false;

    // tcsetattr succeeds when any one of the changes took; check the ones that matter.
    termios now{};
    if (::tcgetattr(fd_, &now) != 0) return false;
    if (::cfgetospeed(&now) != speed || (now.c_cflag & CSIZE) != (tio.c_cflag & CSIZE) ||
        (now.c_lflag & (ICANON | ECHO)) != 0)
        return fail(EINVAL);
    return true;
}

bool TermiosDevice::get_timeouts(COMMTIMEOUTS& t) {
    if (fd_ < 0) return fail(EBADF);
    t = timeouts_;
    return true;
}

bool TermiosDevice::set_timeouts(const COMMTIMEOUTS& t) {
    // Reads wait in poll(); the tty itself must hand over whatever it has at once.
    termios tio{};
    if (::tcgetattr(fd_, &tio) != 0) return false;
    tio.c_cc[VMIN] = 0;
    tio.c_cc[VTIME] = 0;
    if (::tcsetattr(fd_, TCSANOW, &tio) != 0) return false;
    timeouts_ = t;
    return true;
}

bool TermiosDevice::write_byte(char byte) {
    for (;;) {
        ssize_t n = ::write(fd_, &byte, 1);
        if (n == 1) return true;
        if (n < 0 && errno == EINTR) continue;
        if (n == 0) errno = EIO;
        return false;
    }
}

int TermiosDevice::read_byte(char& byte) {
    const int timeout_ms =
        static_cast<int>(timeouts_.ReadTotalTimeoutMultiplier + timeouts_.ReadTotalTimeoutConstant);
    return wait_byte(byte, timeout_ms);
}

int TermiosDevice::wait_byte(char& byte, int timeout_ms) {
    pollfd p{fd_, POLLIN, 0};
    int ready = ::poll(&p, 1, timeout_ms);
    if (ready == 0 || (ready < 0 && errno == EINTR)) return 0;
    int error = EIO;
    if (ready > 0 && (p.revents & POLLIN)) {
        ssize_t n = ::read(fd_, &byte, 1);
        if (n == 1) return 1;
        if (n < 0 && (errno == EAGAIN || errno == EINTR)) return 0;
        // A device that was unplugged reads nothing, or fails, from now on.
        error = n == 0 ? EIO : errno;
    } else if (ready < 0 || (p.revents & POLLNVAL)) {
        error = ready < 0 ? errno : EBADF;
    }
    errno = error;
    return -1;
}

void TermiosDevice::close() {
    if (fd_ < 0) return;
    ::ioctl(fd_, TIOCNXCL);
    ::close(fd_);
    fd_ = -1;
    timeouts_ = COMMTIMEOUTS{};
}
