#include "platform/signals.h"

#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace {

volatile std::sig_atomic_t requested = 0;
volatile std::sig_atomic_t signal_number = 0;
const char* other_cause = nullptr;
int wake[2] = {-1, -1};

void on_signal(int signal) {
    if (signal_number == 0) signal_number = signal;
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
    for (int signal : {SIGTERM, SIGINT, SIGHUP}) ::sigaction(signal, &sa, nullptr);
}

bool termination_requested() { return requested != 0; }

int termination_fd() { return wake[0]; }

std::string termination_cause() {
    switch (signal_number) {
    case SIGTERM: return "SIGTERM";
    case SIGINT: return "SIGINT";
    case SIGHUP: return "SIGHUP";
    default: return other_cause ? other_cause : "";
    }
}

void terminate_for(const char* cause) {
    if (!other_cause) other_cause = cause;
    requested = 1;
}
