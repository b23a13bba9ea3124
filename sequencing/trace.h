#pragma once
#include <string>

// The job trace, trace.txt: one line for every step of a job or notching run.

namespace texts {
inline constexpr const char* lead = "Schedule 3/4 in. for leading tab and queue notch\n";
inline constexpr const char* trail = "Schedule 3/4 in. for trailing tab and queue notch\n";
inline constexpr const char* fire30 = "Fire 30 degree notcher\n";
inline constexpr const char* fire_indicate = "Fire indicate\n";
inline constexpr const char* queue_notch = "Queue 100 degree notch\n";
inline constexpr const char* force = "Fire 30 degree for bend notch\n";
inline constexpr const char* feed_wall = "Request move %f in. distance for this wall\n";
inline constexpr const char* feed_case = "\n %d";  // continued by the next line
inline constexpr const char* move_queue = "Move %f in. for queued 100 degree notch\n";
inline constexpr const char* fire100 = "Fire 100 degree notcher\n";
inline constexpr const char* remaining = "Move %f in. remaining for this wall\n";
inline constexpr const char* move_bend_notch = "Move %f in. for a bend notch\n";
inline constexpr const char* move_bend_cycle = "Move %f in. for a bend cycle\n";
inline constexpr const char* bend_cycle = "Take a bend cycle\n";
inline constexpr const char* feed_trailer = "Feed trailer for next tool\n";
inline constexpr const char* feed_sheer = "Move %f for sheer\n";
inline constexpr const char* sheer_cycle = "Take sheer cycle and return material, we are done!\n";
}  // namespace texts

// Creates trace.txt afresh. When it cannot be created the operator is told,
// the job runs without a trace, and false comes back.
bool open_trace();
void close_trace();

// Writes a trace text; a "%f" receives `value`, a "%d" the feed case. Each
// is a step of the work: once the operator has asked the work to stop, none
// is written and OperatorStop is thrown instead, so that the trace shows no
// step that was not made.
void trace(const char* text);
void trace(const char* format, float value);
void trace_case(int feed_case);

// The last line of a trace, however the work stopped: `line` and a line end.
void trace_end(const std::string& line);
