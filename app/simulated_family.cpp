#include "app/simulate.h"

#include "controller/commands.h"
#include "platform/files.h"
#include "records/progdir.h"
#include "records/settings.h"

ControllerFamily simulated_family() {
    // The controller family must be known before the window reads the
    // settings, so setup.dat is read here for its model and the settings are
    // left as they were. Without a readable file the model is 0, as it will
    // be for the window.
    Settings kept = settings;
    settings = Settings{};
    std::string line, unread;
    if (read_first_line(program_file("setup.dat"), 127, line, unread)) scan_setup(line.c_str());
    ControllerFamily family = galil() ? ControllerFamily::galil : ControllerFamily::slo_syn;
    settings = kept;
    return family;
}
