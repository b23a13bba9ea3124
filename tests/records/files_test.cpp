// Settings, drawing units and production log files: formats, partial lines,
// missing files, and writes that fail without harming the old file.
#include <signal.h>
#include <sys/resource.h>

#include <cstring>
#include <filesystem>

#include "records/history.h"
#include "records/notice.h"
#include "records/prodlog.h"
#include "records/progdir.h"
#include "records/settings.h"
#include "records/units.h"
#include "tests/support/support.h"

namespace {

// Makes every file write past `bytes` fail (EFBIG), even for root.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        getrlimit(RLIMIT_FSIZE, &old_);
        old_handler_ = signal(SIGXFSZ, SIG_IGN);
        rlimit lim = old_;
        lim.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &lim);
    }
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &old_);
        signal(SIGXFSZ, old_handler_);
    }

private:
    rlimit old_{};
    sighandler_t old_handler_;
};

int files_in(const std::string& folder) {
    int n = 0;
    for ([[maybe_unused]] auto& e : std::filesystem::directory_iterator(folder)) ++n;
    return n;
}

void set_sample_settings() {
    settings = Settings{2546.479f, 0.125f, 0.5f, 30.0f, 1, 2,  0.25f, 6.0f, -60,
                        420,       3,      2.5f, 24.0f, 1,   1, 4,  6.5f,  1};
}

using SettingsFile = ProgramDirTest;
using LogFile = ProgramDirTest;

TEST_F(SettingsFile, AllEighteenFieldsRoundTrip) {
    set_sample_settings();
    ASSERT_TRUE(save_setup(SetupFields::all));
    EXPECT_EQ(read("setup.dat"),
              "2546.479004 0.125000 0.500000 30.000000 1 2 0.250000 6.000000 -60 420 3 "
              "2.500000 24.000000 1 1 4 6.500000 1");
    Settings saved = settings;
    reset_settings();
    ASSERT_TRUE(get_setup());
    EXPECT_EQ(settings.steps, 2546.479f);
    EXPECT_EQ(std::memcmp(&saved, &settings, sizeof saved), 0);
}

TEST_F(SettingsFile, LoadToolFormLeavesOperateOutAndOnAtNextStart) {
    set_sample_settings();
    ASSERT_TRUE(save_setup(SetupFields::without_operate));
    EXPECT_EQ(read("setup.dat"),
              "2546.479004 0.125000 0.500000 30.000000 1 2 0.250000 6.000000 -60 420 3 "
              "2.500000 24.000000 1 1 4 6.500000");
    reset_settings();
    ASSERT_TRUE(get_setup());
    EXPECT_EQ(settings.rw, 6.5f);
    EXPECT_EQ(settings.operate, 0);
}

TEST_F(SettingsFile, ShortOrMalformedLinesKeepTheRemainingValues) {
    settings.operate = 7;
    settings.model = 9;
    write("setup.dat", "1000 0.1 0.5\n2 2 2 2 2 2 2 2");
    EXPECT_FALSE(get_setup());  // three of eighteen: the operator is told
    EXPECT_EQ(settings.steps, 1000.0f);
    EXPECT_EQ(settings.arc_notch, 0.5f);
    EXPECT_EQ(settings.cutter, 0.0f);  // only the first line is read
    EXPECT_EQ(settings.model, 9);
    EXPECT_EQ(settings.operate, 7);
    EXPECT_EQ(take_notices().size(), 1u);

    reset_settings();
    settings.port = 3;
    write("setup.dat", "1000 0.1 0.5 30 1 x 0.25 6");
    EXPECT_FALSE(get_setup());
    EXPECT_EQ(settings.direction, 1);
    EXPECT_EQ(settings.port, 3);  // "x" is not taken
    EXPECT_EQ(settings.bit, 0.25f);  // the fields after it are
    EXPECT_EQ(settings.nd, 6.0f);
}

TEST_F(SettingsFile, OnlyTheFirst127CharactersAreRead) {
    // Seventeen fields fit; the eighteenth starts at character 128.
    std::string line = "1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 1 ";
    line += std::string(127 - line.size() - 1, '0') + "5 9";
    write("setup.dat", line);
    ASSERT_TRUE(get_setup());
    EXPECT_EQ(settings.rw, 5.0f);
    EXPECT_EQ(settings.operate, 0);
}

TEST_F(SettingsFile, MissingFileKeepsZeroesAndTellsTheOperator) {
    EXPECT_FALSE(get_setup());
    EXPECT_EQ(settings.steps, 0.0f);
    auto notes = take_notices();
    ASSERT_EQ(notes.size(), 1u);
    EXPECT_NE(notes[0].find("setup.dat"), std::string::npos);
}

TEST_F(SettingsFile, FailedWriteLeavesTheOldFileWhole) {
    write("setup.dat", "1000 0.1 0.5");
    set_sample_settings();
    {
        FileSizeLimit limit(20);
        EXPECT_FALSE(save_setup(SetupFields::all));
    }
    EXPECT_EQ(read("setup.dat"), "1000 0.1 0.5");
    EXPECT_EQ(files_in(dir.path()), 1);  // no temporary left behind
    auto notes = take_notices();
    ASSERT_EQ(notes.size(), 1u);
    EXPECT_NE(notes[0].find("not saved"), std::string::npos);
}

TEST_F(LogFile, ReadsTheEightCounters) {
    write("log.dat", "5 100 40 12 5 3 20 1234.500000");
    get_log();
    EXPECT_EQ(counters.images, 5);
    EXPECT_EQ(counters.notch30, 100);
    EXPECT_EQ(counters.notch100, 40);
    EXPECT_EQ(counters.indicates, 12);
    EXPECT_EQ(counters.sheers, 5);
    EXPECT_EQ(counters.dimples, 3);
    EXPECT_EQ(counters.flanges, 20);
    EXPECT_EQ(counters.inches, 1234.5f);
    EXPECT_FLOAT_EQ(counters.inches / 12.0, 102.875);
}

TEST_F(LogFile, ThreeNumbersSetThreeCounters) {
    write("log.dat", "7 8 9");
    get_log();
    EXPECT_EQ(counters.notch100, 9);
    EXPECT_EQ(counters.indicates, 0);
    EXPECT_EQ(counters.inches, 0.0f);
}

TEST_F(LogFile, MissingLogCountsFromZeroAndFirstWriteCreatesIt) {
    get_log();
    EXPECT_EQ(counters.images, 0);
    EXPECT_TRUE(take_notices().empty());
    counters.sheers = 2;
    counters.inches = 39.839f;
    ASSERT_TRUE(write_log());
    EXPECT_EQ(read("log.dat"), "0 0 0 0 2 0 0 39.839001");
}

TEST_F(LogFile, FailedWriteLeavesTheOldLogWhole) {
    write("log.dat", "5 100 40 12 5 3 20 1234.500000");
    get_log();
    counters.images = 6;
    {
        FileSizeLimit limit(10);
        EXPECT_FALSE(write_log());
    }
    EXPECT_EQ(read("log.dat"), "5 100 40 12 5 3 20 1234.500000");
    EXPECT_EQ(files_in(dir.path()), 1);
    EXPECT_EQ(take_notices().size(), 1u);
}

// Counts made while the disk was full reach it at the next chance once there
// is room, without another count; an end that still cannot save says so.
TEST_F(LogFile, CountsMadeOnAFullDiskAreSavedOnceThereIsRoom) {
    for (bool background : {false, true}) {
        SCOPED_TRACE(background);
        write_log_in_background(background);
        write("log.dat", "5 100 40 12 5 3 20 1234.500000");
        get_log();
        {
            FileSizeLimit limit(10);
            counters.notch30 += 83;
            write_log();
            flush_log();
            std::string said = unsaved_log_text();  // what the end prints
            EXPECT_NE(said.find("log.dat in " + dir.path() + " could not be saved"),
                      std::string::npos);
            EXPECT_NE(said.find("\"5 183 40 12 5 3 20 1234.500000\""), std::string::npos) << said;
        }
        EXPECT_EQ(read("log.dat"), "5 100 40 12 5 3 20 1234.500000");
        if (background) nudge_log_writer();  // the next wait for the controller
        flush_log();
        EXPECT_EQ(read("log.dat"), "5 183 40 12 5 3 20 1234.500000");
        EXPECT_EQ(unsaved_log_text(), "");
        write_log_in_background(false);
        take_notices();
    }
}

TEST_F(LogFile, ReplacementKeepsTheFilePermissions) {
    write("log.dat", "1");
    std::filesystem::permissions(dir.file("log.dat"), std::filesystem::perms(0640));
    ASSERT_TRUE(write_log());
    EXPECT_EQ(std::filesystem::status(dir.file("log.dat")).permissions(),
              std::filesystem::perms(0640));
}

using HistoryFile = ProgramDirTest;

// jobs.csv lines are whole or absent: a full disk leaves none of the line,
// and a line cut short by an earlier program is moved aside at the next start.
TEST_F(HistoryFile, AFullDiskLeavesNoPartOfALineAndAPartFoundAtStartIsMovedAside) {
    HistoryLine h;
    ASSERT_TRUE(append_history(h));
    const std::string whole = read("jobs.csv");
    h.drawing = std::string(300, 'd');
    {
        FileSizeLimit limit(whole.size() + 40);
        EXPECT_FALSE(append_history(h));
    }
    EXPECT_EQ(read("jobs.csv"), whole);
    write("jobs.csv", whole + "2026-12-07T14:05:09+01:00,2026-12");
    take_notices();
    repair_history();
    EXPECT_EQ(read("jobs.csv"), whole);
    EXPECT_EQ(read("jobs.csv.damaged"), "2026-12-07T14:05:09+01:00,2026-12\r\n");
    EXPECT_NE(take_notices().at(0).find("moved to jobs.csv.damaged"), std::string::npos);
    repair_history();  // whole lines are left as they are
    EXPECT_EQ(read("jobs.csv"), whole);
    EXPECT_TRUE(take_notices().empty());
}

using UnitsFile = ProgramDirTest;

TEST_F(UnitsFile, TheChoiceRoundTripsAndAnythingElseMeansInches) {
    get_unit_setting();  // no file: inches, nothing to tell
    EXPECT_EQ(unit_setting.choice, UnitChoice::inch);
    EXPECT_TRUE(take_notices().empty());
    unit_setting.choice = UnitChoice::declared;
    ASSERT_TRUE(save_unit_setting());
    EXPECT_EQ(read("units.dat"), "declared");
    reset_unit_setting();
    get_unit_setting();
    EXPECT_EQ(unit_setting.choice, UnitChoice::declared);
    // The join tolerance follows the choice when it is not the default.
    write("units.dat", "declared 0.002\n");
    get_unit_setting();
    EXPECT_EQ(unit_setting.join_tolerance, 0.002);
    write("units.dat", "declared 0.5\n");
    get_unit_setting();
    EXPECT_EQ(unit_setting.join_tolerance, kDefaultJoin);
    EXPECT_NE(take_notices().back().find("gives the join tolerance as \"0.5\""), std::string::npos);
    write("units.dat", "mm\n");
    get_unit_setting();
    EXPECT_EQ(unit_setting.choice, UnitChoice::inch);
    EXPECT_EQ(take_notices().back(),
              "Drawing units file units.dat says \"mm\", not inch or declared; drawings are "
              "read in inches");
    {
        FileSizeLimit limit(3);
        unit_setting.choice = UnitChoice::declared;
        EXPECT_FALSE(save_unit_setting());
    }
    EXPECT_EQ(read("units.dat"), "mm\n");
    EXPECT_EQ(files_in(dir.path()), 1);
}

}  // namespace
