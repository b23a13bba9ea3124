#include "tests/support/controller_support.h"

#include <chrono>
#include <thread>

#include "controller/commands.h"
#include "controller/serial_link.h"
#include "records/settings.h"

void ControllerTest::SetUp() {
    ProgramDirTest::SetUp();
    set_clock(&clock);
    set_program_exit(&exit_);
    set_serial_device(&serial_sim);
    settings.port = 1;
}

void ControllerTest::use(ControllerFamily family) {
    settings.model = family == ControllerFamily::galil ? 4 : 1;
    if (settings.steps == 0) settings.steps = 1000;  // a Slo-Syn moves only with its steps
    set_command_strings();
    sim().set_family(family);
    start_ctrace();
    ASSERT_EQ(init_com(), 0) << com_failure_reason();
}

std::vector<std::string> ControllerTest::trace() const {
    std::string text = read("ctrace.txt");
    const std::string header = "Communications trace\n";
    EXPECT_EQ(text.substr(0, header.size()), header);
    std::vector<std::string> entries;
    std::size_t at = header.size();
    while (at < text.size()) {
        std::size_t end = text.find("\r\n", at);
        end = end == std::string::npos ? text.size() : end + 2;
        entries.push_back(text.substr(at, end - at));
        at = end;
    }
    return entries;
}

ControllerFamily configured_family() {
    return galil() ? ControllerFamily::galil : ControllerFamily::slo_syn;
}

int poll_byte(char* loc, int limit) {
    int got = 0;
    for (int i = 0; i < limit && got == 0; ++i) got = await_data(loc);
    return got;
}

bool eventually(const std::function<bool()>& done) {
    for (int i = 0; i < 10000; ++i) {
        if (done()) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return done();
}
