#include "platform/signals.h"

#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace {

volatile std::sig_atomic_t requested = 0;
int wake[2] = {-1, -1};

void on_signal(int) {
    requested = 1;
    char byte = 1;
    [[maybe_unused]] ssize_t n = ::write(wake[1], &byte, 1);
}

}  // namespace

void catch_termination() {
    if (wake[0] < 0 && ::pipe2(wake, O_CLOEXEC | O_NONBLOCK) != 0) return;
    struct sigaction sa {};
    sa.sa_handler = on_signal;
    sigemptyset(&sa.sa_mask);
    ::sigaction(SIGTERM, &sa, nullptr);
    ::sigaction(SIGINT, &sa, nullptr);
}

bool termination_requested() { return requested != 0; }

int termination_fd() { return wake[0]; }
