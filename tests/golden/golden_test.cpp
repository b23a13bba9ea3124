// A day at the machine, end to end through the window procedure and the
// simulated controller, for three machines: every file the program writes,
// every byte it sends and every paint must be what they were when these
// files were made. ZEL_UPDATE_GOLDEN=1 writes the files anew (after a change
// that is meant to change them).
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "resources/resources.h"
#include "shell/window.h"
#include "shell/window_state.h"
#include "tests/support/controller_support.h"
#include "tests/support/ui.h"

namespace {

struct Machine {
    const char* name;
    const char* setup;  // setup.dat
};

// Models 3 (a Slo-Syn that homes), 4 (the Galil) and 1 (a Slo-Syn that
// rewinds), with tabs, the bender output and two forming settings.
const Machine kMachines[] = {
    {"slo-syn-3", "1000.000000 0.125000 0.500000 30.000000 1 1 0.250000 6.000000 60 420 0 "
                  "2.500000 24.000000 0 1 3 6.000000 0"},
    {"galil-4", "2546.479004 0.125000 0.500000 30.000000 1 1 0.250000 6.000000 60 420 3 "
                "2.500000 24.000000 1 1 4 6.000000 0"},
    {"slo-syn-1", "2000.000000 0.125000 0.400000 28.000000 1 1 0.187500 5.500000 40 400 2 "
                  "1.500000 24.000000 1 0 1 5.000000 0"},
};

void PrintTo(const Machine& m, std::ostream* os) { *os << m.name; }

class Golden : public ControllerTest, public ::testing::WithParamInterface<Machine> {
protected:
    void command(int id) {
        Message m{WindowMessage::command};
        m.id = id;
        zelWndProc(m);
    }
    void paint() {
        RecordingCanvas c;
        Message m{WindowMessage::paint};
        m.canvas = &c;
        zelWndProc(m);
        for (const std::string& call : c.calls) paints += call + "\n";
    }
    // Keeps a copy of a report the next command will write again.
    void keep(const std::string& name, const std::string& as) { kept[as] = read(name); }

    std::string paints;
    std::map<std::string, std::string> kept;
    FakeWindowSystem ws;
};

TEST_P(Golden, ADayAtTheMachine) {
    const Machine& m = GetParam();
    write("setup.dat", m.setup);
    write("setup2.dat", "MO\nSH\nAC 256000\n");
    write("log.dat", "3 10 4 2 1 1 5 100.000000");
    bool galil = std::string(m.name).rfind("galil", 0) == 0;
    sim().set_family(galil ? ControllerFamily::galil : ControllerFamily::slo_syn);
    win.carg = 1;
    win.argument = ZEL_SOURCE_DIR "/examples/drawings/letters.dxf";
    zelWndProc(Message{WindowMessage::create});
    paint();
    if (galil) command(IDM_RESET_TOOL);  // a Galil starts with its cover open

    command(IDM_CP_ON);
    command(IDM_IMAGE_LENGTH);
    keep("segments.txt", "segments-1.txt");
    keep("curf.txt", "curf-1.txt");
    command(IDM_RUN_TOOL);
    keep("trace.txt", "trace-1.txt");
    paint();

    command(IDM_NEXT);
    command(IDM_NEXT);
    command(IDM_START_PLUS);
    command(IDM_DIVIDE);
    for (int k = 0; k < 5; ++k) command(IDM_START_PLUS);
    paint();
    command(IDM_RUN_TOOL);
    keep("trace.txt", "trace-3-divided.txt");

    command(IDM_CONTINUOUS);
    command(IDM_RUN_TOOL);
    keep("trace.txt", "trace-continuous.txt");

    ws.scripts.push_back({type(212, "0.75"), type(213, "10"), press(IDOK)});
    command(IDM_RUN);
    keep("trace.txt", "trace-notching.txt");
    ws.scripts.push_back({type(208, "2.5"), press(IDOK)});
    command(IDM_MOVE);
    ws.scripts.push_back({type(208, "-1.25"), press(IDOK)});
    ws.answers.push_back(true);  // yes, in reverse
    command(IDM_UNCALIBRATED);
    for (int id : {IDM_SHEER, IDM_NOTCH100, IDM_NOTCH30, IDM_INDICATE, IDM_FLANGER})
        command(id);
    command(IDM_JOB_LENGTH);
    keep("segments.txt", "segments-job.txt");
    command(IDM_ZOOM_IN);
    paint();

    kept["ctrace.txt"] = read("ctrace.txt");
    kept["log.dat"] = read("log.dat");
    kept["paint.txt"] = paints;
    std::string boxes;
    for (const auto& b : ws.boxes) boxes += b.caption + ": " + b.text + "\n";
    kept["boxes.txt"] = boxes;

    std::string folder = std::string(ZEL_SOURCE_DIR "/tests/golden/data/") + m.name;
    if (std::getenv("ZEL_UPDATE_GOLDEN")) {
        std::filesystem::create_directories(folder);
        for (const auto& [name, text] : kept) write_file(folder + "/" + name, text);
        GTEST_SKIP() << "written anew in " << folder;
    }
    for (const auto& [name, text] : kept) {
        SCOPED_TRACE(name);
        ASSERT_TRUE(file_exists(folder + "/" + name));
        EXPECT_TRUE(read_file(folder + "/" + name) == text)
            << "differs from " << folder << "/" << name;
    }
}

INSTANTIATE_TEST_SUITE_P(Machines, Golden, ::testing::ValuesIn(kMachines),
                         [](const auto& info) {
                             std::string n = info.param.name;
                             for (char& c : n)
                                 if (c == '-') c = '_';
                             return n;
                         });

}  // namespace
