// zel-sim: the simulated controller on a pseudo-terminal, linked as COMn in a
// machine folder, so that zel can be run against it without a machine.
#include <climits>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

#include "sim/pty.h"

namespace {

const char* const kUsage =
    "usage: zel-sim [--galil | --slo-syn] [--dir DIR] [--port N] [options]\n"
    "\n"
    "Answers as a motion controller on a pseudo-terminal linked as DIR/COMn\n"
    "(default: the current folder, COM1) until interrupted, then lists the\n"
    "commands it received.\n"
    "\n"
    "  --handshake C          answer \"are you ready?\" with C until restarted\n"
    "  --restart-fails        a restart does not help: keep answering C\n"
    "  --home-errors N        answer the first N Home commands with \"E\"\n"
    "  --silent-after N       answer only the first N commands\n"
    "  --program-line-answer C  Galil: answer the lines of setup2.dat with C\n"
    "  --answer-all-with TEXT send TEXT instead of every answer (\\r for a carriage return)\n"
    "  --garbage TEXT         send TEXT before every answer\n"
    "  --answer-twice         send every answer twice\n"
    "  --delay MS             answer MS milliseconds after each command\n"
    "  --delay-from N         ... from the Nth command on (default 1)\n"
    "  --pace                 send no faster than a 9600-baud line\n"
    "  --steps-per-inch X     the true Slo-Syn feed (default 2000)\n"
    "  --cell-distance X      inches from home to the photo cell (default 24)\n";

std::string unescape(const char* text) {
    std::string out;
    for (const char* p = text; *p; ++p) {
        if (p[0] == '\\' && p[1] == 'r') {
            out += '\r';
            ++p;
        } else {
            out += *p;
        }
    }
    return out;
}

int usage() {
    std::fputs(kUsage, stderr);
    return 2;
}

}  // namespace

namespace {

bool exists(const std::string& path) {
    struct stat st {};
    return ::lstat(path.c_str(), &st) == 0;
}

std::string link_target(const std::string& path) {
    char buf[PATH_MAX];
    ssize_t n = ::readlink(path.c_str(), buf, sizeof buf - 1);
    return n > 0 ? std::string(buf, static_cast<std::size_t>(n)) : "";
}

}  // namespace

int main(int argc, char** argv) {
    ControllerFamily family = ControllerFamily::slo_syn;
    SimOptions o;
    std::string dir = ".";
    int port = 1;
    for (int i = 1; i < argc; ++i) {
        std::string a = argv[i];
        const char* v = i + 1 < argc ? argv[i + 1] : nullptr;
        bool takes_value = true;
        if (a == "--help") {
            std::fputs(kUsage, stdout);
            return 0;
        }
        if (a == "--galil") family = ControllerFamily::galil, takes_value = false;
        else if (a == "--slo-syn") family = ControllerFamily::slo_syn, takes_value = false;
        else if (a == "--restart-fails") o.restart_helps = false, takes_value = false;
        else if (a == "--pace") o.pace = true, takes_value = false;
        else if (a == "--answer-twice") o.answer_twice = true, takes_value = false;
        else if (!v) return usage();
        else if (a == "--dir") dir = v;
        else if (a == "--port") port = std::atoi(v);
        else if (a == "--handshake") o.handshake = v[0];
        else if (a == "--home-errors") o.home_errors = std::atoi(v);
        else if (a == "--silent-after") o.silent_after = std::atoi(v);
        else if (a == "--program-line-answer") o.program_line_answer = v[0];
        else if (a == "--answer-all-with") o.answer_all_with = unescape(v);
        else if (a == "--garbage") o.garbage = unescape(v);
        else if (a == "--delay") o.delay_ms = std::atoi(v);
        else if (a == "--delay-from") o.delay_from = std::atoi(v);
        else if (a == "--steps-per-inch") o.steps_per_inch = std::strtof(v, nullptr);
        else if (a == "--cell-distance") o.cell_distance = std::strtof(v, nullptr);
        else return usage();
        if (takes_value) ++i;
    }
    if (port < 1 || port > 4) return usage();

    // The signals are taken by sigwait below, not by the simulator's thread.
    sigset_t stop_signals;
    sigemptyset(&stop_signals);
    sigaddset(&stop_signals, SIGINT);
    sigaddset(&stop_signals, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &stop_signals, nullptr);

    PtySim sim(family, o);
    std::string why, link = dir + "/COM" + std::to_string(port);
    // The operator's own link to the machine is never replaced; one left by an
    // earlier simulator (into /dev/pts) is.
    std::string target = link_target(link);
    if (exists(link) && target.rfind("/dev/pts/", 0) != 0) {
        std::fprintf(stderr,
                     "zel-sim: %s is there already%s and is left alone: choose another number "
                     "with --port or another folder with --dir\n",
                     link.c_str(), target.empty() ? "" : (" (a link to " + target + ")").c_str());
        return 1;
    }
    if (!sim.start(why) || !sim.link_as(link, why)) {
        std::fprintf(stderr, "zel-sim: %s\n", why.c_str());
        return 1;
    }
    std::printf("zel-sim: %s controller on %s, linked as %s; Ctrl-C ends it\n",
                family == ControllerFamily::galil ? "Galil" : "Slo-Syn", sim.device().c_str(),
                link.c_str());
    std::fflush(stdout);
    int signal = 0;
    sigwait(&stop_signals, &signal);
    sim.stop();
    for (std::string c : sim.commands()) {
        if (!c.empty() && c.back() == '\r') c.pop_back();
        std::printf("%s\n", c.c_str());
    }
    return 0;
}
