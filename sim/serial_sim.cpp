#include "sim/serial_sim.h"

#include <cerrno>
#include <chrono>
#include <thread>

SimSerial::SimSerial(ControllerFamily family, const SimOptions& options)
    : SimController(family, options) {}

void SimSerial::fail(Step step, int error, int after) {
    fail_step_ = step;
    fail_error_ = error;
    fail_after_ = after;
}

bool SimSerial::fails(Step step) {
    if (fail_error_ == 0 || step != fail_step_) return false;
    if (fail_after_ > 0) {
        --fail_after_;
        return false;
    }
    errno = fail_error_;
    return true;
}

OpenStep SimSerial::open(const std::string& name) {
    opened = name;
    if (fails(Step::open)) return OpenStep::open_device;
    if (fails(Step::read_line)) return OpenStep::read_line;
    if (fails(Step::set_line)) return OpenStep::set_line;
    if (fails(Step::set_timeouts)) return OpenStep::set_timeouts;
    return OpenStep::ready;
}

bool SimSerial::write_byte(char byte) {
    ++writes;
    if (fails(Step::write)) return false;
    receive(byte);
    sent_line_ += byte;
    if (byte == '\r') {
        std::string line = std::move(sent_line_);
        sent_line_.clear();
        if (after_command) after_command(line);
    }
    return true;
}

int SimSerial::wait_byte(char& byte, int timeout_ms) {
    ++reads;
    if (fails(Step::read)) return -1;
    int got = poll_output(byte);
    if (got == 0 && timeout_ms != 0 && wait_on_empty_)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    return got;
}
