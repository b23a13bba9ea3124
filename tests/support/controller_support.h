#pragma once
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/clock.h"
#include "platform/exit.h"
#include "sim/controller.h"
#include "sim/pty.h"
#include "sim/serial_sim.h"
#include "tests/support/support.h"

// A clock that moves only when the program looks at it: every look (one per
// poll of the port in the controller waits) advances it by `tick_ms`, so a
// 20-second wait runs at once. The short pause takes no time; the long pause
// takes `long_pause_ms`.
class TestClock : public Clock {
public:
    long long now_ms = 100000;
    int tick_ms = 1;
    int long_pause_ms = 500;
    int short_pauses = 0;
    int texts = 0;   // short pauses after the first byte of a text
    int long_pauses = 0;

    long seconds() override {
        long s = static_cast<long>(now_ms / 1000);
        now_ms += tick_ms;
        return s;
    }
    void short_pause(bool first_of_text) override {
        ++short_pauses;
        texts += first_of_text;
    }
    void long_pause() override {
        ++long_pauses;
        now_ms += long_pause_ms;
    }
};

// What end_program throws in tests instead of ending the process.
struct ProgramEnded {
    int status;
    std::string line;
};

class ThrowingExit : public ProgramExit {
public:
    void end(int status, const std::string& line) override { throw ProgramEnded{status, line}; }
};

// Clean state and a program directory, the test clock, exits that throw
// ProgramEnded, and the in-process simulator as the serial device, with
// `settings.port` 1. Call use() to pick the family and open the port.
class ControllerTest : public ProgramDirTest {
protected:
    void SetUp() override;
    // Sets `settings.model` (4 Galil, 1 Slo-Syn), the command strings and the
    // simulator's family, starts ctrace.txt and opens the port.
    void use(ControllerFamily family);
    virtual SimController& sim() { return serial_sim; }
    // The trace entries after the header, each with its line end.
    std::vector<std::string> trace() const;

    SimSerial serial_sim{ControllerFamily::slo_syn};
    TestClock clock;
    ThrowingExit exit_;
    // Clock ticks for waits that are meant to run out: on a pty every poll
    // also takes a real millisecond.
    int timeout_tick_ms = 1;
};

// The same, over a real pseudo-terminal: the program opens the simulator's
// terminal through its termios code and the COM1 link in the program directory.
class PtyControllerTest : public ControllerTest {
protected:
    void SetUp() override;
    void TearDown() override;
    SimController& sim() override { return pty_sim; }
    PtySim pty_sim{ControllerFamily::slo_syn};
};

// The family the program speaks for `settings.model`.
ControllerFamily configured_family();

// A look at the port that brings a byte: looks until await_data gives
// non-zero (a byte on a pty may take a moment to come), at most `limit` times.
int poll_byte(char* loc, int limit = 20000);

// Waits (in real time, at most 10 s) until `done` holds; what a pty needs
// before looking at what the simulator received.
bool eventually(const std::function<bool()>& done);
