#pragma once
#include <functional>
#include <string>

#include "platform/serial.h"
#include "sim/controller.h"

// The simulated controller plugged in as the program's serial device:
//
//     SimSerial sim(ControllerFamily::slo_syn);
//     set_serial_device(&sim);
//     init_com();  ...  sim.commands()
//
// Answers are ready at once (or after `delay_ms` empty waits). Any device
// name opens. Each step of the device can be made to fail with an error
// number, to play a missing, busy or broken port.
class SimSerial : public SimController, public SerialDevice {
public:
    explicit SimSerial(ControllerFamily family, const SimOptions& options = {});

    // The steps that can be made to fail: the three of opening a port (for
    // the step that follows the device's own open), writing and reading.
    enum class Step { open, read_line, set_line, set_timeouts, write, read };
    // `step` succeeds `after` more times, then fails with `error` every time.
    void fail(Step step, int error, int after = 0);

    // For the running program: a wait with nothing to read takes 1 ms, as
    // a real port's does, instead of coming back at once.
    void set_wait_on_empty(bool wait) { wait_on_empty_ = wait; }

    // Called with each whole command line the program has sent, before its
    // answer is read: what an operator or the world does meanwhile (tests).
    std::function<void(const std::string&)> after_command;

    std::string opened;   // the name of the last open
    int writes = 0;       // write calls
    int reads = 0;        // wait calls

    OpenStep open(const std::string& name) override;
    bool write_byte(char byte) override;
    int wait_byte(char& byte, int timeout_ms) override;
    void close() override {}

private:
    bool fails(Step step);
    Step fail_step_ = Step::open;
    int fail_error_ = 0;
    int fail_after_ = 0;
    bool wait_on_empty_ = false;
    std::string sent_line_;
};
