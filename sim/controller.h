#pragma once
#include <deque>
#include <mutex>
#include <string>
#include <vector>

// A simulated motion controller of either family, fed the program's bytes one
// at a time. It answers each command line (ended by a carriage return) the way
// the machine does, models the strip position and the photo cells of the feed
// calibration, can be told to misbehave, and logs what it received.
//
// Two transports carry it: SimSerial (sim/serial_sim.h) plugs it in as the
// program's serial device, PtySim (sim/pty.h) answers on a pseudo-terminal.
// Every member is safe to call while a transport's thread runs.

enum class ControllerFamily { galil, slo_syn };

struct SimOptions {
    // Answer to "are you ready?" (Slo-Syn "T,0\r", Galil "75\r" and "8\r")
    // until the controller is restarted ("RUN\r", "RS\r"); "D" after that.
    // The program restarts on "?" (Slo-Syn) and ":" (Galil).
    char handshake = 'D';
    bool restart_helps = true;       // false: the handshake answer stays after a restart
    int home_errors = 0;             // this many Home commands are answered "E" before "D"
    int silent_after = -1;           // only the first N commands are answered; -1: all
    char program_line_answer = 'D';  // Galil: answer to a line of its program (setup2.dat)
    std::string answer_all_with;     // when set, sent instead of every answer
    std::string garbage;             // sent before every answer
    bool answer_twice = false;       // every answer is sent twice
    int delay_ms = 0;                // an answer comes this long after its command
                                     // (in-process: after this many empty polls)
    int delay_from = 1;              // the first command (counted from 1) answered late
    bool pace = false;               // on a pty: bytes no faster than a 9600-baud line
    float steps_per_inch = 2000.0f;  // the true Slo-Syn feed per motor step
    float cell_distance = 24.0f;     // inches from home at which the photo cell sees the strip
};

class SimController {
public:
    explicit SimController(ControllerFamily family, const SimOptions& options = {});
    virtual ~SimController() = default;

    // Changing the family or the options starts the controller afresh (not
    // restarted, strip at home); the log stays.
    void set_family(ControllerFamily family);
    void set_options(const SimOptions& options);
    SimOptions options() const;

    // Every command line received, with its carriage return, oldest first.
    std::vector<std::string> commands() const;
    // Every byte received, including an unfinished last command.
    std::string received() const;
    void clear_log();

    float position() const;   // strip position in inches since the last home
    int homes() const;        // Home commands received

    // For the transports: one byte from the program.
    void receive(char byte);
    // In-process: the next answer byte, 1; or 0 when none is due. A delayed
    // answer counts one millisecond down on each call.
    int poll_output(char& byte);
    // On a pty: the next answer byte and how long to wait before sending it.
    bool take_output(char& byte, int& delay_ms);

private:
    struct Outgoing {
        char byte;
        int delay_ms;
    };
    void start_afresh();
    void command(const std::string& text);
    std::string answer(const std::string& text);
    std::string answer_galil(const std::string& text);
    std::string answer_slo_syn(const std::string& text);
    std::string ready();
    std::string home();
    std::string move(const std::string& number, float per_inch);
    std::string photo_cell() const;

    mutable std::mutex mutex_;
    ControllerFamily family_;
    SimOptions options_;
    std::vector<std::string> commands_;
    std::string received_;
    std::string line_;
    std::deque<Outgoing> out_;
    bool running_ = true;
    bool distance_next_ = false;   // Galil: the line after a move command is its distance
    int home_errors_left_ = 0;
    int homes_ = 0;
    float position_ = 0.0f;
};
