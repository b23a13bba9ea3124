#include "app/simulate.h"

#include "controller/serial_link.h"
#include "platform/files.h"
#include "shell/progdir.h"
#include "shell/settings.h"

std::unique_ptr<PtySim> start_simulated_machine(std::string& why) {
    // The controller family must be known before the window reads the
    // settings, so setup.dat is read here for its model and the settings are
    // left as they were. Without a readable file the model is 0, as it will
    // be for the window.
    int model = 0;
    std::string line, unread;
    if (read_first_line(program_file("setup.dat"), 127, line, unread)) {
        Settings kept = settings;
        scan_setup(line.c_str());
        model = settings.model;
        settings = kept;
    }
    auto sim = std::make_unique<PtySim>(family_of_model(model));
    if (!sim->start(why)) return nullptr;
    set_port_override(sim->device());
    return sim;
}
