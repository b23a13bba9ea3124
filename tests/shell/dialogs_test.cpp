// The operator dialogs, driven by scripts, and the drawing open dialog.
#include "records/job.h"
#include "records/prodlog.h"
#include "records/settings.h"
#include "resources/resources.h"
#include "shell/dialogs.h"
#include "shell/window_state.h"
#include "tests/support/support.h"
#include "tests/support/ui.h"

namespace {

using Dialogs = ProgramDirTest;

TEST_F(Dialogs, SetupShowsTheFileAndSavesAllEighteen) {
    write("setup.dat", kSetupLine);
    auto run = run_dialog(DLG_SETUP, ::Setup,
                          {press(999), type(206, "1000"), type(248, "1"), type(227, " 6 "),
                           press(IDOK)});
    EXPECT_EQ(run.after_init.at(206), "2546.479");
    EXPECT_EQ(run.after_init.at(201), "1");
    EXPECT_EQ(run.after_init.at(214), "420");
    EXPECT_EQ(run.after_init.at(247), "6.000");
    EXPECT_EQ(run.after_init.size(), 16u);  // direction and tab are not shown
    EXPECT_EQ(run.result, 1);
    EXPECT_EQ(settings.nd, 6.0f);
    EXPECT_EQ(read("setup.dat"),
              "1000.000000 0.125000 0.500000 30.000000 1 1 0.250000 6.000000 60 420 2 "
              "2.500000 24.000000 1 1 3 6.000000 1");
}

TEST_F(Dialogs, SetupCancelChangesNothing) {
    write("setup.dat", kSetupLine);
    auto run = run_dialog(DLG_SETUP, ::Setup, {type(206, "1000"), press(IDCANCEL)});
    EXPECT_TRUE(run.ended);
    EXPECT_EQ(run.result, 0);
    EXPECT_EQ(settings.steps, 2546.479f);
    EXPECT_EQ(read("setup.dat"), kSetupLine);
}

TEST_F(Dialogs, RunAlwaysOpensWithTheFixedValues) {
    job.notch_length = 3;
    auto run = run_dialog(DLG_RUN, ::Run, {type(212, "5"), type(213, "10"), press(IDOK)});
    EXPECT_EQ(run.after_init.at(212), "0.750");
    EXPECT_EQ(run.after_init.at(213), "120.000");
    EXPECT_EQ(run.result, 1);
    EXPECT_EQ(job.notch_length, 5.0f);
    EXPECT_EQ(job.total_length, 10.0f);

    run = run_dialog(DLG_RUN, ::Run, {press(77), press(IDCANCEL)});
    EXPECT_EQ(run.after_init.at(212), "0.750");
    EXPECT_TRUE(run.ended);
    EXPECT_EQ(run.result, 0);
}

TEST_F(Dialogs, MoveAndUncalibratedMoveGiveTheDistanceTyped) {
    FakeWindowSystem ws;
    for (bool calibrated : {true, false}) {
        ws.scripts = {{type(208, "-12.5"), press(IDOK)}, {press(IDCANCEL)}};
        EXPECT_EQ(move_dialog(calibrated), -12.5f);
        EXPECT_EQ(ws.dialogs.back().template_id, calibrated ? DLG_MOVE : DLG_MEASURE);
        EXPECT_EQ(ws.dialogs.back().after_init.at(208), "48.000000");
        EXPECT_EQ(move_dialog(calibrated), std::nullopt);
    }
    EXPECT_EQ(job.total_length, 0.0f);  // the notching run's, untouched
}

TEST_F(Dialogs, LengthShowsTheMeasuredMaterial) {
    win.material_length = 39.8394f;
    auto run = run_dialog(DLG_LENGTH, Length, {press(IDOK)});
    EXPECT_EQ(run.after_init.at(222), "39.839");
    EXPECT_TRUE(run.ended);
}

TEST_F(Dialogs, ImageCountNeverCountsDownBelowOne) {
    job.repeat_count = 5;
    auto run = run_dialog(DLG_IMAGE_COUNT, Icount, {press(226), press(IDOK)});
    EXPECT_EQ(run.after_init.at(223), "1");
    EXPECT_EQ(run.at_end.at(223), "1");
    EXPECT_EQ(job.repeat_count, 1);

    run = run_dialog(DLG_IMAGE_COUNT, Icount, {press(225), press(225), press(IDOK)});
    EXPECT_EQ(run.at_end.at(223), "3");
    EXPECT_EQ(job.repeat_count, 3);
}

TEST_F(Dialogs, TabsButtonsSetTheTabAndClose) {
    for (auto [button, tab] : {std::pair{228, 1}, {229, 2}, {230, 3}, {231, 0}}) {
        settings.tab = 9;
        auto run = run_dialog(DLG_TABS, Tabs, {press(button)});
        EXPECT_TRUE(run.ended);
        EXPECT_EQ(settings.tab, tab);
    }
    settings.tab = 2;
    run_dialog(DLG_TABS, Tabs, {press(IDCANCEL)});
    EXPECT_EQ(settings.tab, 2);
}

TEST_F(Dialogs, LogShowsAndCorrectsTheCounters) {
    counters = Counters{5, 100, 40, 12, 5, 3, 20, 1234.5f};
    auto run = run_dialog(DLG_LOG, Log, {press(IDOK)});
    EXPECT_EQ(run.after_init.at(236), "             5");
    EXPECT_EQ(run.after_init.at(243), "            20");
    EXPECT_EQ(run.after_init.at(241), "102.875");
    EXPECT_EQ(read("log.dat"), "5 100 40 12 5 3 20 1234.500000");

    counters.inches = 100;  // shown as 8.333 feet, stored back from that
    run_dialog(DLG_LOG, Log, {press(IDOK)});
    EXPECT_EQ(counters.inches, 99.996f);

    run_dialog(DLG_LOG, Log,
               {type(236, "0"), type(237, "0"), type(238, "0"), type(239, "0"), type(240, "0"),
                type(242, "0"), type(243, "0"), type(241, "0"), press(IDOK)});
    EXPECT_EQ(counters.images, 0);
    EXPECT_EQ(read("log.dat"), "0 0 0 0 0 0 0 0.000000");
}

TEST_F(Dialogs, LogCancelChangesNothing) {
    counters.images = 7;
    run_dialog(DLG_LOG, Log, {type(236, "1"), press(IDCANCEL)});
    EXPECT_EQ(counters.images, 7);
    EXPECT_FALSE(file_exists(dir.file("log.dat")));
}

TEST_F(Dialogs, DrawingOpenDialog) {
    FakeWindowSystem ws;
    EXPECT_EQ(DxfFileOpen("/old/a.dxf"), std::nullopt);  // cancelled
    EXPECT_TRUE(ws.boxes.empty());

    ws.open_file_error = 12290;
    EXPECT_EQ(DxfFileOpen("/old/a.dxf"), std::nullopt);
    ASSERT_EQ(ws.boxes.size(), 1u);
    EXPECT_EQ(ws.boxes[0].text, "The Open dialog could not be shown (error 12290).");
    EXPECT_EQ(ws.boxes[0].caption, "Open drawing");

    ws.open_file_error = 0;
    ws.open_file_choice = "/new/b.dxf";
    EXPECT_EQ(DxfFileOpen("/old/a.dxf"), "/new/b.dxf");
    EXPECT_EQ(ws.invalidations, 1);
}

}  // namespace
