#include "tests/support/window.h"

#include "records/settings.h"
#include "shell/window.h"
#include "shell/window_state.h"

void WindowTest::SetUp() {
    MachineTest::SetUp();
    settings.model = 3;
    settings.port = 1;
    settings.closed_figure = 1;
    write("setup2.dat", "SH\n");
}

void WindowTest::start(const std::string& drawing) {
    ASSERT_TRUE(save_setup(SetupFields::all));
    sim().set_family(configured_family());
    if (!drawing.empty()) {
        win.carg = 1;
        win.argument = drawing;
    }
    zelWndProc({WindowMessage::create});
    zelWndProc({WindowMessage::shown});
}

void WindowTest::command(int id) { zelWndProc({WindowMessage::command, id}); }
