// --simulate on Windows, where there are no pseudo-terminals: the simulated
// controller plugged in as the serial device itself.
#include "app/simulate.h"

#include "platform/serial.h"
#include "sim/serial_sim.h"

std::unique_ptr<SimController> start_simulated_machine(std::string&) {
    auto sim = std::make_unique<SimSerial>(simulated_family());
    // An empty look at the port takes a millisecond, as a real port's would,
    // so that the waits do not spin.
    sim->set_wait_on_empty(true);
    set_serial_device(sim.get());
    return sim;
}
