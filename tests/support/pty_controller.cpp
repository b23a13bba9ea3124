// The fixture of the tests through a pseudo-terminal (Linux only).
#include "controller/serial_link.h"
#include "tests/support/controller_support.h"

void PtyControllerTest::SetUp() {
    ControllerTest::SetUp();
    set_serial_device(nullptr);
    timeout_tick_ms = 50;
    std::string why;
    ASSERT_TRUE(pty_sim.start(why)) << why;
    ASSERT_TRUE(pty_sim.link_as(dir.file("COM1"), why)) << why;
}

void PtyControllerTest::TearDown() {
    reset_com();
    pty_sim.stop();
    ControllerTest::TearDown();
}
