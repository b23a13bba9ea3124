#include "sim/pty.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

namespace {
constexpr long kByteMicros = 1042;   // 10 bits at 9600 baud

long long now_micros() {
    timespec t{};
    ::clock_gettime(CLOCK_MONOTONIC, &t);
    return static_cast<long long>(t.tv_sec) * 1000000 + t.tv_nsec / 1000;
}
}  // namespace

void PtySim::keep_times(bool keep) {
    std::lock_guard lock(times_mutex_);
    keep_times_ = keep;
    timeline_.clear();
}

std::vector<PtySim::Event> PtySim::timeline() const {
    std::lock_guard lock(times_mutex_);
    return timeline_;
}

void PtySim::note(bool to_program, char byte) {
    std::lock_guard lock(times_mutex_);
    if (keep_times_) timeline_.push_back({to_program, byte, now_micros()});
}

PtySim::PtySim(ControllerFamily family, const SimOptions& options)
    : SimController(family, options) {}

PtySim::~PtySim() { stop(); }

bool PtySim::start(std::string& why) {
    master_ = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    char name[PATH_MAX] = "";
    if (master_ < 0 || ::grantpt(master_) != 0 || ::unlockpt(master_) != 0 ||
        ::ptsname_r(master_, name, sizeof name) != 0) {
        why = std::string("cannot make a pseudo-terminal: ") + std::strerror(errno);
        stop();
        return false;
    }
    device_ = name;
    // Raw from the start, so nothing is echoed back before the program sets
    // up the line itself.
    int slave = ::open(name, O_RDWR | O_NOCTTY | O_CLOEXEC);
    termios tio{};
    if (slave < 0 || ::tcgetattr(slave, &tio) != 0) {
        why = "cannot open " + device_ + ": " + std::strerror(errno);
        if (slave >= 0) ::close(slave);
        stop();
        return false;
    }
    ::cfmakeraw(&tio);
    ::tcsetattr(slave, TCSANOW, &tio);
    ::close(slave);
    if (::pipe2(stop_pipe_, O_CLOEXEC) != 0) {
        why = std::string("cannot make a pipe: ") + std::strerror(errno);
        stop();
        return false;
    }
    thread_ = std::thread(&PtySim::run, this);
    return true;
}

bool PtySim::link_as(const std::string& path, std::string& why) {
    ::unlink(path.c_str());
    if (::symlink(device_.c_str(), path.c_str()) != 0) {
        why = "cannot link " + path + " to " + device_ + ": " + std::strerror(errno);
        return false;
    }
    link_ = path;
    return true;
}

void PtySim::stop() {
    if (thread_.joinable()) {
        char wake = 0;
        if (::write(stop_pipe_[1], &wake, 1) < 0) std::abort();
        thread_.join();
    }
    for (int* fd : {&master_, &stop_pipe_[0], &stop_pipe_[1]}) {
        if (*fd >= 0) ::close(*fd);
        *fd = -1;
    }
    if (!link_.empty()) ::unlink(link_.c_str());
    link_.clear();
}

// Waits, unless told to stop: false when stopping.
bool PtySim::nap(long micros) {
    pollfd p{stop_pipe_[0], POLLIN, 0};
    timespec t{micros / 1000000, (micros % 1000000) * 1000};
    return ::ppoll(&p, 1, &t, nullptr) == 0;
}

// Full duplex, as on a serial line: the program's bytes are read as they
// come, also while an answer is going out a byte at a time.
void PtySim::run() {
    char buf[256];
    bool pending = false;     // an answer byte is waiting for its time
    char out = 0;
    long long due = 0;        // when it may go
    for (;;) {
        if (!pending) {
            int delay_ms = 0;
            pending = take_output(out, delay_ms);
            if (pending)
                due = now_micros() + delay_ms * 1000LL + (options().pace ? kByteMicros : 0);
        }
        long long wait = pending ? std::max(0LL, due - now_micros()) : -1;
        timespec t{static_cast<time_t>(wait / 1000000), static_cast<long>(wait % 1000000) * 1000};
        pollfd p[2] = {{master_, POLLIN, 0}, {stop_pipe_[0], POLLIN, 0}};
        if (::ppoll(p, 2, wait < 0 ? nullptr : &t, nullptr) < 0 && errno != EINTR) return;
        if (p[1].revents) return;
        if (p[0].revents & POLLIN) {
            ssize_t n = ::read(master_, buf, sizeof buf);
            for (ssize_t i = 0; i < n; ++i) {
                note(false, buf[i]);
                receive(buf[i]);
            }
            if (n > 0) continue;
        }
        if (pending && now_micros() >= due) {
            if (::write(master_, &out, 1) == 1) note(true, out);
            pending = false;
            continue;
        }
        // Nobody has the terminal open (yet, or any more): look again shortly.
        if ((p[0].revents & (POLLHUP | POLLERR)) && !nap(10000)) return;
    }
}
