#include "sim/pty.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <fcntl.h>
#include <poll.h>
#include <sys/prctl.h>
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
// come, also while an answer is going out a byte at a time. Paced, a byte
// the program hands over reaches the controller only once it has crossed the
// line, one byte time after the byte before it has, and every answer byte
// takes its byte time back: a command is answered no sooner than on a real
// 9600-baud line.
void PtySim::run() {
    char buf[256];
    bool pending = false;     // an answer byte is waiting for its time
    char out = 0;
    long long due = 0;        // when it may go
    struct Arriving {
        char byte;
        long long at;
    };
    std::deque<Arriving> on_the_line;   // paced bytes from the program, not yet across
    long long line_free = 0;            // when the last of them is across
    long long answer_from = 0;          // when the last byte from the program came across
    long long out_free = 0;             // when the last answer byte reached the program
    // A line keeps its time to the microsecond; the default 50 us of timer
    // slack would make the simulator, not the program, late.
    ::prctl(PR_SET_TIMERSLACK, 1000UL, 0, 0, 0);
    for (;;) {
        if (!pending) {
            int delay_ms = 0;
            pending = take_output(out, delay_ms);
            if (pending)
                due = std::max(answer_from + delay_ms * 1000LL, out_free) +
                      (options().pace ? kByteMicros : 0);
        }
        long long next = pending ? due : -1;
        if (!on_the_line.empty() && (next < 0 || on_the_line.front().at < next))
            next = on_the_line.front().at;
        long long wait = next < 0 ? -1 : std::max(0LL, next - now_micros());
        timespec t{static_cast<time_t>(wait / 1000000), static_cast<long>(wait % 1000000) * 1000};
        pollfd p[2] = {{master_, POLLIN, 0}, {stop_pipe_[0], POLLIN, 0}};
        if (::ppoll(p, 2, wait < 0 ? nullptr : &t, nullptr) < 0 && errno != EINTR) return;
        if (p[1].revents) return;
        bool got = false;
        if (p[0].revents & POLLIN) {
            ssize_t n = ::read(master_, buf, sizeof buf);
            bool pace = options().pace;
            for (ssize_t i = 0; i < n; ++i) {
                note(false, buf[i]);
                if (!pace) {
                    answer_from = now_micros();
                    receive(buf[i]);
                    continue;
                }
                line_free = std::max(now_micros(), line_free) + kByteMicros;
                on_the_line.push_back({buf[i], line_free});
            }
            got = n > 0;
        }
        while (!on_the_line.empty() && on_the_line.front().at <= now_micros()) {
            answer_from = on_the_line.front().at;
            receive(on_the_line.front().byte);
            on_the_line.pop_front();
        }
        if (got) continue;
        if (pending && now_micros() >= due) {
            if (::write(master_, &out, 1) == 1) note(true, out);
            out_free = due;
            pending = false;
            continue;
        }
        // Nobody has the terminal open (yet, or any more): look again shortly.
        if ((p[0].revents & (POLLHUP | POLLERR)) && !nap(10000)) return;
    }
}
