#include "controller/serial_link.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "controller/commands.h"
#include "platform/clock.h"
#include "platform/exit.h"
#include "platform/files.h"
#include "platform/folders.h"
#include "platform/idle.h"
#include "platform/port_binding.h"
#include "platform/serial.h"
#include "platform/signals.h"
#include "platform/text.h"
#include "records/notice.h"
#include "records/progdir.h"
#include "records/settings.h"

ComPort com;

namespace {

std::string port_override;
AppendFile ctrace;

void trace(const std::string& entry) {
    bool ok = ctrace.append(program_file("ctrace.txt"), entry);
    if (!ok && !com.trace_failing)
        notice("The communications trace ctrace.txt in " + directory +
               " cannot be written (" + errno_text() + "); the machine goes on without it");
    com.trace_failing = !ok;
}

// What com.failure says when opening the port stopped at each step.
const char* open_failure(OpenStep step) {
    switch (step) {
    case OpenStep::ready: break;
    case OpenStep::open_device: return "Error Function: CreateFile:";
    case OpenStep::read_line: return "Error Function: GetCommState:";
    case OpenStep::set_line: return "Error on function: SetCommState:";
    case OpenStep::set_timeouts: return "Error on function: SetCommTimeouts:";
    }
    return "";
}

}  // namespace

void reset_com() {
    ctrace.close();
    serial_device().close();
    com = ComPort{};
    port_override.clear();
}

void start_ctrace() {
    ctrace.close();
    keep_previous(program_file("ctrace.txt"), kKeptTraces);
    std::string why;
    com.trace_failing = !write_new_file(program_file("ctrace.txt"), "Communications trace\n", why);
    if (com.trace_failing) notice(why + "; the communications trace is not kept");
}

std::string port_device(int port) {
    if (port < 1 || port > 4) return "";
    if (!port_override.empty()) return port_override;
    std::string link = program_file(port_binding_name(port).c_str());
    if (entry_exists(link)) return bound_device(link);
    return default_port_device(port);
}

void set_port_override(const std::string& device) { port_override = device; }

int init_com() {
    com.device = port_device(settings.port);
    com.error = 0;
    com.failure.clear();
    if (com.device.empty()) {
        com.failure = "Invalid port:";
        return 1;
    }
    if (OpenStep step = serial_device().open(com.device); step != OpenStep::ready) {
        com.error = errno;
        com.failure = open_failure(step);
        return 1;
    }
    com.open = true;
    // However the program ends, another program may use the port after it.
    at_program_end([] { serial_device().close(); });
    return 0;
}

namespace {

// A byte as a trace line shows it: printable as it is, any other as <13>.
std::string shown(char byte) {
    auto b = static_cast<unsigned char>(byte);
    return b >= 32 && b < 127 ? std::string(1, byte) : strprintf("<%d>", b);
}

void drop_unread_input() {
    // A line that never falls silent must not hold the command up for ever.
    constexpr int kMostDropped = 4096;
    SerialDevice& port = serial_device();
    std::string dropped;
    char byte = 0;
    for (int n = 0; n < kMostDropped && port.wait_byte(byte, 0) == 1; ++n) {
        dropped += shown(byte);
        ++com.received;
        const char as_answer[2] = {byte, 0};
        ++(answer_class(as_answer) >= 0 ? com.stray_answers : com.noise);
    }
    if (!dropped.empty()) trace("dropped-> " + dropped + "\r\n");
}

}  // namespace

int put_data(const char* parm) {
    drop_unread_input();
    com.last_command = parm;
    trace(strprintf("send-> %s %c%c", parm, 13, 10));
    SerialDevice& port = serial_device();
    for (const char* p = parm; *p; ++p) {
        if (!port.write_byte(*p)) {
            std::perror("Error on function: WriteFile");
            return 1;
        }
        the_clock().short_pause(p == parm);
    }
    return 0;
}

int await_data(char* loc) {
    // Without a window nobody else will act on SIGTERM or SIGINT.
    if (termination_requested() && idle_interval_ms() < 0)
        end_program(1, "zel: ended by a signal while waiting for the controller");
    loc[0] = 0;
    char byte = 0;
    int timeout = the_clock().ms_to_next_second();
    if (int window = idle_interval_ms(); window >= 0 && window < timeout) timeout = window;
    int got = serial_device().wait_byte(byte, timeout);
    int error = errno;
    // On every look, not only the empty ones: a controller that answers at
    // once every time would otherwise never let the window in.
    idle();
    if (got < 0) {
        com.gone = true;
        com.error = errno = error;
        std::perror("Error on function: ReadFile");
        return -1;
    }
    if (got == 0) return 0;
    ++com.received;
    trace(strprintf("receive-> %c%c%c", byte, 13, 10));
    if (byte != 13) {
        loc[0] = byte;
        loc[1] = 0;
    }
    return 1;
}

std::string device_gone_reason() {
    return "the serial device " + com.device + " went away (" + std::strerror(com.error) + ")";
}

// For a port outside 1 to 4, the value setup.dat holds when it was refused
// there, not the one the setting kept.
std::string com_failure_reason() {
    if (com.device.empty()) {
        std::string refused = refused_setting(&Settings::port);
        return com.failure + " " + (refused.empty() ? std::to_string(settings.port) : refused);
    }
    return com.failure + " " + com.device + ": " + std::strerror(com.error);
}

std::string com_failure_words() {
    if (!com.device.empty())
        return "The serial port " + com.device + " could not be used (" + std::strerror(com.error) +
               ")";
    std::string refused = refused_setting(&Settings::port);
    return "Communications Port " + (refused.empty() ? std::to_string(settings.port) : refused) +
           " cannot be used";
}

std::string com_failure_advice() {
    const std::string& dev = com.device;
    if (dev.empty()) {
        std::string refused = refused_setting(&Settings::port);
        if (!refused.empty())
            return "Communications Port is " + refused + " in setup.dat; it must be 1, 2, 3 or 4.";
        return strprintf("The communications port in Setup is %d; it must be 1, 2, 3 or 4.",
                         settings.port);
    }
    std::string target = binding_target(dev);
    switch (com.error) {
    case ENOENT:
    case ENODEV:
    case ENXIO:
        if (!target.empty())
            return "The link " + dev + " points to " + target +
                   ", which is not there: plug in the serial adapter, or point the link at "
                   "the device the controller is connected to.";
        return "There is no serial device " + dev + ": check the communications port in Setup, or " +
               how_to_bind_port(settings.port, directory) + ".";
    case EBUSY:
        return "The serial port " + dev +
               " is in use by another program (another ZEL, a terminal program or a modem "
               "manager): close that program and try again.";
    case EACCES:
    case EPERM:
        return "User " + user_name() + " may not use the serial port " + dev +
               ": add the user to the dialout group (sudo usermod -aG dialout " + user_name() +
               "), then log out and in again.";
    case ENOTTY:
        return dev + " is not a serial port: check the communications port in Setup" +
               (target.empty() ? "" : " and the link " + dev) + ".";
    default:
        if (com.failure == "Error Function: CreateFile:")
            return "The serial port " + dev + " could not be opened.";
        return "The serial port " + dev +
               " could not be set to 9600 baud, 8 data bits, no parity, one stop bit.";
    }
}
