#include "sim/controller.h"

#include <algorithm>
#include <cstdlib>

SimController::SimController(ControllerFamily family, const SimOptions& options)
    : family_(family), options_(options) {
    start_afresh();
}

void SimController::start_afresh() {
    running_ = options_.handshake == 'D';
    distance_next_ = false;
    home_errors_left_ = options_.home_errors;
    position_ = 0.0f;
    line_.clear();
    out_.clear();
}

void SimController::set_family(ControllerFamily family) {
    std::lock_guard lock(mutex_);
    family_ = family;
    start_afresh();
}

void SimController::set_options(const SimOptions& options) {
    std::lock_guard lock(mutex_);
    options_ = options;
    start_afresh();
}

SimOptions SimController::options() const {
    std::lock_guard lock(mutex_);
    return options_;
}

std::vector<std::string> SimController::commands() const {
    std::lock_guard lock(mutex_);
    return commands_;
}

std::string SimController::received() const {
    std::lock_guard lock(mutex_);
    return received_;
}

void SimController::clear_log() {
    std::lock_guard lock(mutex_);
    commands_.clear();
    received_.clear();
}

float SimController::position() const {
    std::lock_guard lock(mutex_);
    return position_;
}

int SimController::homes() const {
    std::lock_guard lock(mutex_);
    return homes_;
}

void SimController::receive(char byte) {
    std::lock_guard lock(mutex_);
    received_ += byte;
    line_ += byte;
    if (byte != '\r') return;
    std::string text;
    text.swap(line_);
    command(text);
}

int SimController::poll_output(char& byte) {
    std::lock_guard lock(mutex_);
    if (out_.empty()) return 0;
    if (out_.front().delay_ms > 0) {
        --out_.front().delay_ms;
        return 0;
    }
    byte = out_.front().byte;
    out_.pop_front();
    return 1;
}

bool SimController::take_output(char& byte, int& delay_ms) {
    std::lock_guard lock(mutex_);
    if (out_.empty()) return false;
    byte = out_.front().byte;
    delay_ms = out_.front().delay_ms;
    out_.pop_front();
    return true;
}

void SimController::command(const std::string& text) {
    commands_.push_back(text);
    std::string reply = answer(text.substr(0, text.size() - 1));
    bool silent = options_.silent_after >= 0 &&
                  commands_.size() > static_cast<std::size_t>(options_.silent_after);
    if (reply.empty() || silent) return;
    if (!options_.answer_all_with.empty()) reply = options_.answer_all_with;
    reply = options_.garbage + reply;
    bool late = commands_.size() >= static_cast<std::size_t>(std::max(options_.delay_from, 1));
    if (options_.answer_twice) reply += reply;
    for (std::size_t i = 0; i < reply.size(); ++i)
        out_.push_back({reply[i], i == 0 && late ? options_.delay_ms : 0});
}

// The answer to one command, without its carriage return; empty for none.
std::string SimController::answer(const std::string& text) {
    return family_ == ControllerFamily::galil ? answer_galil(text) : answer_slo_syn(text);
}

std::string SimController::answer_galil(const std::string& text) {
    if (distance_next_) {
        distance_next_ = false;
        return move(text, 1.0f);
    }
    if (text == "RS") {
        if (options_.restart_helps) running_ = true;
        return "";
    }
    if (text == "75" || text == "8") return ready();
    if (text == "11") return home();
    if (text == "9" || text == "10") {
        distance_next_ = true;
        return "D";
    }
    if (text == "C,0") return photo_cell();
    for (const char* tool : {"1", "2", "3", "4", "5", "6", "7", "12"})
        if (text == tool) return "D";
    return std::string(1, options_.program_line_answer);
}

std::string SimController::answer_slo_syn(const std::string& text) {
    if (text == "RUN") {
        if (options_.restart_helps) running_ = true;
        return "";
    }
    if (text == "T,0") return ready();
    if (text == "H,0") return home();
    if (text.rfind("M,", 0) == 0 || text.rfind("F,", 0) == 0)
        return move(text.substr(2), options_.steps_per_inch);
    if (text == "C,0") return photo_cell();
    for (const char* tool : {"B,0", "S,0", "N,0", "V,0", "J,0", "I,0"})
        if (text == tool) return "D";
    return "?";
}

std::string SimController::ready() { return running_ ? "D" : std::string(1, options_.handshake); }

std::string SimController::home() {
    ++homes_;
    position_ = 0.0f;
    if (home_errors_left_ > 0) {
        --home_errors_left_;
        return "E";
    }
    return "D";
}

// The program sends the distance negated: a negative number feeds forward.
std::string SimController::move(const std::string& number, float per_inch) {
    char* end = nullptr;
    double units = std::strtod(number.c_str(), &end);
    if (number.empty() || *end != '\0' || per_inch <= 0.0f) return "?";
    position_ += static_cast<float>(-units / per_inch);
    return "D";
}

std::string SimController::photo_cell() const {
    return position_ >= options_.cell_distance ? "D" : "E";
}
