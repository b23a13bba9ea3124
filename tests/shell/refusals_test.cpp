// What the window refuses so that nothing unsafe reaches the machine or the
// files: distances that were not typed as numbers, long moves not confirmed,
// dialog fields out of range, counters at their top, files that are no
// drawings.
#include <sys/stat.h>

#include <cfloat>
#include <climits>
#include <cmath>

#include "import/shapes.h"
#include "records/job.h"
#include "records/notice.h"
#include "records/prodlog.h"
#include "records/settings.h"
#include "resources/resources.h"
#include "shell/dialogs.h"
#include "shell/window.h"
#include "shell/window_state.h"
#include "tests/import/drawing.h"
#include "tests/support/machine.h"
#include "tests/support/ui.h"
#include "tests/support/window.h"

namespace {

using Lines = std::vector<std::string>;

class Refusals : public WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        write("square.dxf", Drawing().square().text());
    }
    void start(const std::string& drawing = "") {
        WindowTest::start(drawing);
        win.cover = 1;
        sim().clear_log();
        ws.boxes.clear();
    }
    void move(int id, const std::string& distance) {
        ws.scripts.push_back({type(208, distance), press(IDOK)});
        command(id);
    }
};

TEST_F(Refusals, AMoveIsSentOnlyForADistanceTyped) {
    for (int model : {3, 4}) {
        SCOPED_TRACE(model);
        settings.model = model;
        start();
        for (int id : {IDM_MOVE, IDM_UNCALIBRATED}) {
            move(id, "1");
            for (const char* typed :
                 {"", "   ", "abc", "1.5abc", "nan", "inf", "1e39", "0", "-0", "1e9", "-1200.5"}) {
                SCOPED_TRACE(typed);
                move(id, typed);
                ASSERT_EQ(ws.boxes.size(), 1u);
                EXPECT_EQ(ws.boxes[0].text.rfind("Distance ", 0), 0u) << ws.boxes[0].text;
                EXPECT_NE(ws.boxes[0].text.find("Nothing was sent to the machine."),
                          std::string::npos);
                ws.boxes.clear();
            }
        }
        Lines want = model == 4 ? Lines{"M -1.000000", "F -1.000000"}
                                : Lines{"M,-1000.000000", "F,-1000.000000"};
        EXPECT_EQ(machine(), want);
    }
}

TEST_F(Refusals, AMoveLongerThanTenFeetOrInReverseIsConfirmedFirst) {
    start();
    ws.answers = {false, true, true, false};
    move(IDM_MOVE, "150");
    move(IDM_MOVE, "150");
    move(IDM_UNCALIBRATED, "-130.5");
    move(IDM_MOVE, "120");
    move(IDM_MOVE, "-5");
    EXPECT_EQ(ws.questions,
              (Lines{"Move: Move the strip 150.000 in. (12.500 ft)?",
                     "Move: Move the strip 150.000 in. (12.500 ft)?",
                     "Uncalibrated move: Move the strip back 130.500 in. (10.875 ft), in reverse?",
                     "Move: Move the strip back 5.000 in. (0.417 ft), in reverse?"}));
    EXPECT_EQ(machine(), (Lines{"M,-150000.000000", "F,130500.000000", "M,-120000.000000"}));
}

TEST_F(Refusals, ASloSynWithoutStepsPerInchDoesNotMove) {
    start();
    settings.steps = 0;
    move(IDM_MOVE, "2");
    EXPECT_TRUE(machine().empty());
    ASSERT_EQ(ws.boxes.size(), 1u);
    EXPECT_NE(ws.boxes[0].text.find("Steps per inch is 0.000000"), std::string::npos);
}

TEST_F(Refusals, ChangeTabSavesOnlySoundSettings) {
    start();
    std::string saved = read("setup.dat");
    settings.port = 9;
    ws.scripts.push_back({press(230)});
    command(IDM_CHANGE_TAB);
    EXPECT_EQ(settings.tab, 3);
    EXPECT_EQ(read("setup.dat"), saved);
    ASSERT_EQ(ws.boxes.size(), 1u);
    EXPECT_EQ(ws.boxes[0].text, "Settings were not saved: Communications Port is 9; it must be "
                                "1, 2, 3 or 4. Correct it in Tools, Setup");
}

TEST_F(Refusals, CountersStopAtTheTop) {
    start(dir.file("square.dxf"));
    counters.images = INT32_MAX;
    counters.notch30 = INT32_MAX;
    counters.sheers = INT32_MAX - 1;
    counters.inches = FLT_MAX;
    command(IDM_RUN_TOOL);
    command(IDM_SHEER);
    EXPECT_EQ(counters.images, INT32_MAX);
    EXPECT_EQ(counters.notch30, INT32_MAX);
    EXPECT_EQ(counters.sheers, INT32_MAX);
    EXPECT_EQ(counters.inches, FLT_MAX);
    EXPECT_EQ(read("log.dat").substr(0, 22), "2147483647 2147483647 ");
}

TEST_F(Refusals, AFigureThatCannotBeMeasuredIsNeitherRunNorCounted) {
    start(dir.file("square.dxf"));
    shapes.p3[1] = INFINITY;
    shapes.p1[2] = INFINITY;
    counters.inches = 10;
    command(IDM_RUN_TOOL);
    EXPECT_TRUE(machine().empty());
    EXPECT_EQ(counters.images, 0);
    EXPECT_EQ(counters.inches, 10.0f);
    ASSERT_EQ(ws.boxes.size(), 1u);
    EXPECT_NE(ws.boxes[0].text.find("was not planned"), std::string::npos);
}

TEST_F(Refusals, OnlyRegularFilesAreOpenedAsDrawings) {
    ASSERT_EQ(::mkfifo(dir.file("pipe.dxf").c_str(), 0600), 0);
    start(dir.file("pipe.dxf"));
    EXPECT_EQ(message_line.err, 0);
    EXPECT_EQ(shapes.PointsLoaded, 0);
    ws.open_file_choice = "/dev/zero";
    command(IDM_OPEN);
    EXPECT_EQ(shapes.PointsLoaded, 0);
    Lines texts;
    for (const auto& b : ws.boxes) texts.push_back(b.text);
    EXPECT_EQ(texts, (Lines{"/dev/zero was not opened: it is a device, not a drawing file"}));
}

// The dialogs that save.
class SavingDialogs : public ProgramDirTest {
protected:
    FakeWindowSystem ws;
};

TEST_F(SavingDialogs, SetupSavesNothingUntilEveryFieldIsRight) {
    struct Case {
        int control;
        const char* typed;
        const char* says;
    };
    const Case cases[] = {
        {201, "7", "Communications Port is 7; it must be 1, 2, 3 or 4."},
        {201, "", "Communications Port is empty."},
        {201, "COM1", "Communications Port \"COM1\" is not a number."},
        {206, "-2546", "Steps per inch is -2546; it must be more than 0 and at most 100000."},
        {203, "1e30", "Distance from bender to sheer is 1e+30; it must be from 0 to 120."},
        {247, "nan", "Rewind Distance \"nan\" is not a number."},
        {234, "2", "Bender Output 1=YES 0=NO is 2; it must be 0 or 1."},
        {235, "yes", "Close Figure 1=YES 0=NO \"yes\" is not a number."},
        {248, "0.5", "Notch/Flange 1=OFF 0=ON \"0.5\" is not a whole number."},
        {215, "99999", "X Offset is 99999; it must be from -32767 to 32767."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        write("setup.dat", kSetupLine);
        reset_settings();
        ws.boxes.clear();
        auto run = run_dialog(DLG_SETUP, ::Setup, {type(c.control, c.typed), press(IDOK)});
        EXPECT_EQ(run.result, 0);  // the operator had to close it
        ASSERT_EQ(ws.boxes.size(), 1u);
        EXPECT_EQ(ws.boxes[0].text, std::string(c.says) + "\nNothing was saved.");
        EXPECT_EQ(read("setup.dat"), kSetupLine);
        EXPECT_EQ(settings.steps, 2546.479f);
        EXPECT_EQ(settings.port, 1);
    }
    // Two wrong fields are named together; put right, the settings are saved.
    ws.boxes.clear();
    auto run = run_dialog(DLG_SETUP, ::Setup,
                          {type(201, "0"), type(206, "x"), press(IDOK), type(201, "2"),
                           type(206, "2000"), press(IDOK)});
    ASSERT_EQ(ws.boxes.size(), 1u);
    EXPECT_EQ(ws.boxes[0].text, "Steps per inch \"x\" is not a number.\nCommunications Port is 0; "
                                "it must be 1, 2, 3 or 4.\nNothing was saved.");
    EXPECT_EQ(run.result, 1);
    EXPECT_EQ(settings.port, 2);
    EXPECT_EQ(read("setup.dat").substr(0, 12), "2000.000000 ");
}

// The notching run and the repeat count take only numbers they can use; the
// dialog stays open and says which field is wrong.
TEST_F(SavingDialogs, RunAndImageCountTakeOnlyWhatTheyCanUse) {
    struct Case {
        int template_id;
        std::vector<DialogAction> typed;
        const char* says;
    };
    const Case cases[] = {
        {DLG_RUN, {type(212, "abc")}, "Inches between notches \"abc\" is not a number."},
        {DLG_RUN, {type(212, "0")},
         "Inches between notches is 0; it must be more than 0 and at most 1200."},
        {DLG_RUN, {type(212, "-5")}, "Inches between notches is -5; it must be more than 0"},
        {DLG_RUN, {type(213, "-5")}, "Total inches of material is -5; it must be more than 0"},
        {DLG_RUN, {type(213, "1e9")},
         "Total inches of material is 1e+09; it must be more than 0 and at most 1200."},
        {DLG_RUN, {type(212, "12"), type(213, "10")},
         "Inches between notches (12.000) must not be more than the total inches of material "
         "(10.000)."},
        {DLG_IMAGE_COUNT, {type(223, "abc")}, "The quantity \"abc\" is not a number."},
        {DLG_IMAGE_COUNT, {type(223, "0")},
         "The quantity is 0; it must be more than 0 and at most 1000."},
        {DLG_IMAGE_COUNT, {type(223, "2.5")}, "The quantity \"2.5\" is not a whole number."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.says);
        ws.boxes.clear();
        job = JobOptions{};
        std::vector<DialogAction> script = c.typed;
        script.push_back(press(IDOK));
        DialogProc proc = c.template_id == DLG_RUN ? ::Run : Icount;
        DialogRun run = run_dialog(c.template_id, proc, script);
        EXPECT_EQ(run.result, 0);  // the close box ended it
        ASSERT_EQ(ws.boxes.size(), 1u);
        EXPECT_EQ(ws.boxes[0].text.find(c.says), 0u) << ws.boxes[0].text;
        EXPECT_EQ(job.notch_length, 0.0f);
        EXPECT_EQ(job.repeat_count, 1);
    }
}

TEST_F(SavingDialogs, LogChangesNothingUntilEveryFieldIsRight) {
    struct Case {
        int control;
        const char* typed;
        const char* says;
    };
    const Case cases[] = {
        {236, "-1", "Image count is -1; it must be 0 or more."},
        {237, "", "30 Degree notches is empty."},
        {238, "many", "100 Degree notches \"many\" is not a number."},
        {239, "2147483648", "Indicates \"2147483648\" is too large."},
        {243, "1.5", "Flange bends \"1.5\" is not a whole number."},
        {241, "-2", "Footage of material is -2; it must be 0 or more."},
        {241, "1e38", "Footage of material is too large."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        counters = Counters{5, 100, 40, 12, 5, 3, 20, 1234.5f};
        ws.boxes.clear();
        run_dialog(DLG_LOG, Log, {type(c.control, c.typed), press(IDOK)});
        ASSERT_EQ(ws.boxes.size(), 1u);
        EXPECT_EQ(ws.boxes[0].text, std::string(c.says) + "\nNothing was changed.");
        EXPECT_EQ(counters.images, 5);
        EXPECT_EQ(counters.inches, 1234.5f);
        EXPECT_FALSE(file_exists(dir.file("log.dat")));
    }
    ws.boxes.clear();
    run_dialog(DLG_LOG, Log, {type(236, "2147483647"), press(IDOK)});
    EXPECT_TRUE(ws.boxes.empty());
    EXPECT_EQ(counters.images, INT32_MAX);
    EXPECT_EQ(read("log.dat").substr(0, 11), "2147483647 ");
}

}  // namespace
