#pragma once
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "sim/controller.h"

// The simulated controller on a pseudo-terminal: a real tty that the program
// opens through its termios code, like a serial port with a machine at the
// other end. A thread reads the program's bytes and sends the answers.
//
//     PtySim sim(ControllerFamily::galil);
//     std::string why;
//     sim.start(why) && sim.link_as(program_file("COM1"), why);
//     // settings.port 1 now reaches the simulator
//
class PtySim : public SimController {
public:
    explicit PtySim(ControllerFamily family, const SimOptions& options = {});
    ~PtySim();
    PtySim(const PtySim&) = delete;
    PtySim& operator=(const PtySim&) = delete;

    // Opens the pseudo-terminal and starts answering. False with the reason in `why`.
    bool start(std::string& why);
    // The terminal's name, e.g. /dev/pts/3.
    const std::string& device() const { return device_; }
    // Makes `path` (e.g. the program directory's COM1) a link to the terminal,
    // replacing what was there; the link goes again at stop().
    bool link_as(const std::string& path, std::string& why);
    void stop();

    // For benchmarks: when each byte went each way, in microseconds of the
    // monotonic clock. Kept only after keep_times(true).
    struct Event {
        bool to_program;
        char byte;
        long long micros;
    };
    void keep_times(bool keep);
    std::vector<Event> timeline() const;

private:
    void note(bool to_program, char byte);
    void run();
    bool nap(long micros);

    std::string device_;
    std::string link_;
    int master_ = -1;
    int stop_pipe_[2] = {-1, -1};
    std::thread thread_;
    mutable std::mutex times_mutex_;
    bool keep_times_ = false;
    std::vector<Event> timeline_;
};
