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

// Raw 9600 8N1: no echo, no line editing, no CR/LF translation, no XON/XOFF
// or RTS/CTS flow control, no modem control lines. Reads wait in poll(): the
// tty itself hands over whatever it has at once.
bool set_line(int fd, termios tio) {
    ::cfmakeraw(&tio);
    tio.c_iflag &= ~(IXON | IXOFF | IXANY);
    tio.c_cflag &= ~(CRTSCTS | CSIZE | PARENB | PARODD | CSTOPB);
    tio.c_cflag |= CLOCAL | CREAD | CS8;
    tio.c_cc[VMIN] = 0;
    tio.c_cc[VTIME] = 0;
    if (::cfsetispeed(&tio, B9600) != 0 || ::cfsetospeed(&tio, B9600) != 0) return false;
    if (::tcsetattr(fd, TCSANOW, &tio) != 0) return false;
    // tcsetattr succeeds when any one of the changes took; check the ones that matter.
    termios now{};
    if (::tcgetattr(fd, &now) != 0) return false;
    if (::cfgetospeed(&now) != B9600 || (now.c_cflag & (CSIZE | PARENB | CSTOPB)) != CS8 ||
        (now.c_lflag & (ICANON | ECHO)) != 0) {
        errno = EINVAL;
        return false;
    }
    return true;
}

}  // namespace

SerialDevice& serial_device() { return installed ? *installed : termios_device; }

void set_serial_device(SerialDevice* device) { installed = device; }

TermiosDevice::~TermiosDevice() { close(); }

OpenStep TermiosDevice::fail(OpenStep step) {
    int error = errno;
    close();
    errno = error;
    return step;
}

OpenStep TermiosDevice::open(const std::string& name) {
    close();
    // Not blocking in open: a port without carrier detect would wait for it.
    fd_ = ::open(name.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd_ < 0) return OpenStep::open_device;
    // TIOCEXCL keeps every later open out, except root's: root checks the flag
    // itself. flock covers programs that lock instead.
    int exclusive = 0;
    if (::ioctl(fd_, TIOCGEXCL, &exclusive) == 0 && exclusive) {
        ::close(fd_);  // not ours to clear
        fd_ = -1;
        errno = EBUSY;
        return OpenStep::open_device;
    }
    if (::flock(fd_, LOCK_EX | LOCK_NB) != 0) {
        if (errno == EWOULDBLOCK) errno = EBUSY;
        return fail(OpenStep::open_device);
    }
    ::ioctl(fd_, TIOCEXCL);  // not a tty: reading the line settings reports it
    int flags = ::fcntl(fd_, F_GETFL);
    if (flags < 0 || ::fcntl(fd_, F_SETFL, flags & ~O_NONBLOCK) != 0)
        return fail(OpenStep::open_device);
    termios tio{};
    if (::tcgetattr(fd_, &tio) != 0) return fail(OpenStep::read_line);
    if (!set_line(fd_, tio)) return fail(OpenStep::set_line);
    return OpenStep::ready;
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
}
