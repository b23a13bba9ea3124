#include "sequencing/trace.h"

#include <cstdio>

#include "controller/serial_link.h"
#include "platform/files.h"
#include "platform/text.h"
#include "records/notice.h"
#include "records/progdir.h"
#include "records/progress.h"

namespace {
std::FILE* tr = nullptr;

// Each entry is flushed at once, so the trace shows how far a job got even
// when the program ends inside a wait for the controller.
void entry(const std::string& text) {
    if (!tr) return;
    std::fputs(text.c_str(), tr);
    std::fflush(tr);
}
}  // namespace

bool open_trace() {
    close_trace();
    keep_previous(program_file("trace.txt"), kKeptTraces);
    tr = std::fopen(program_file("trace.txt").c_str(), "w");
    if (!tr)
        notice(strprintf("Cannot create trace.txt in %s (%s); the job runs without a trace",
                         directory.c_str(), errno_text().c_str()));
    return tr != nullptr;
}

void close_trace() {
    if (tr) std::fclose(tr);
    tr = nullptr;
}

namespace {
void step(const std::string& text) {
    if (progress.running && progress.stop_requested) throw OperatorStop{};
    entry(text);
}
}  // namespace

void trace(const char* text) { step(text); }

void trace(const char* format, float value) { step(strprintf(format, value)); }

void trace_case(int feed_case) { step(strprintf(texts::feed_case, feed_case)); }

void trace_end(const std::string& line) { entry(line + "\n"); }
