#pragma once
#include <string>

#include "tests/support/machine.h"
#include "tests/support/ui.h"

// The main window driven through its procedure, with scripted dialogs: a
// Slo-Syn machine that homes (model 3) on the in-process simulator, figures
// closed by the reader, the Galil's program file at hand.
class WindowTest : public MachineTest {
protected:
    void SetUp() override;
    // Saves the settings as they stand and creates the window, as the program
    // starts, with `drawing` named on the command line when it is given.
    void start(const std::string& drawing = "");
    void command(int id);
    FakeWindowSystem ws;
};
