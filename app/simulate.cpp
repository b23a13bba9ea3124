#include "app/simulate.h"

#include "controller/serial_link.h"
#include "sim/pty.h"

std::unique_ptr<SimController> start_simulated_machine(std::string& why) {
    auto sim = std::make_unique<PtySim>(simulated_family());
    if (!sim->start(why)) return nullptr;
    set_port_override(sim->device());
    return sim;
}
