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

bool SimSerial::open(const std::string& name) {
    opened = name;
    return !fails(Step::open);
}

bool SimSerial::get_state(DCB& out) {
    if (fails(Step::get_state)) return false;
    out = dcb;
    return true;
}

bool SimSerial::set_state(const DCB& in) {
    if (fails(Step::set_state)) return false;
    dcb = in;
    return true;
}

bool SimSerial::get_timeouts(COMMTIMEOUTS& out) {
    if (fails(Step::get_timeouts)) return false;
    out = timeouts;
    return true;
}

bool SimSerial::set_timeouts(const COMMTIMEOUTS& in) {
    if (fails(Step::set_timeouts)) return false;
    timeouts = in;
    return true;
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
    if (timeout_ms != 0) return read_byte(byte);
    ++reads;
    return fails(Step::read) ? -1 : poll_output(byte);
}

int SimSerial::read_byte(char& byte) {
    ++reads;
    if (fails(Step::read)) return -1;
    int got = poll_output(byte);
    if (got == 0 && wait_on_empty_) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    return got;
}
