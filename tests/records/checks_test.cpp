// Settings and production log as they are checked when read and before they
// are saved: fields that are no numbers or out of range, damaged logs kept
// beside, temporaries of interrupted saves.
#include <cmath>
#include <cstring>
#include <filesystem>

#include "platform/text.h"
#include "records/notice.h"
#include "records/prodlog.h"
#include "records/settings.h"
#include "records/units.h"
#include "tests/support/support.h"

namespace {

// Sound settings, none of them 0.
const char* kSound =
    "2546.479004 0.125000 0.500000 30.000000 1 1 0.250000 6.000000 60 420 3 2.500000 "
    "24.000000 1 1 3 6.000000 1";

// kSound with field `k` (from 0) replaced by `text`.
std::string with_field(const char* line, std::size_t k, const std::string& text) {
    std::vector<std::string> words = split_words(line);
    words[k] = text;
    std::string out;
    for (const std::string& w : words) out += (out.empty() ? "" : " ") + w;
    return out;
}

using SettingsCheck = ProgramDirTest;
using LogCheck = ProgramDirTest;

TEST_F(SettingsCheck, AWrongFieldIsNamedAndKeptAndTheOthersAreTaken) {
    struct Case {
        std::size_t field;
        const char* text;
        const char* says;
    };
    const Case cases[] = {
        {0, "abc", "field 1, Steps per inch \"abc\" is not a number"},
        {0, "nan", "Steps per inch \"nan\" is not a number"},
        {0, "-2000", "Steps per inch is -2000; it must be more than 0 and at most 100000"},
        {0, "0", "Steps per inch is 0; it must be more than 0 and at most 100000"},
        {0, "1e30", "Steps per inch is 1e+30; it must be more than 0 and at most 100000"},
        {2, "13", "Radius notch distance is 13; it must be from 0 to 12"},
        {3, "inf", "Distance from bender to sheer \"inf\" is not a number"},
        {3, "1e30", "Distance from bender to sheer is 1e+30; it must be from 0 to 120"},
        {5, "7", "field 6, Communications Port is 7; it must be 1, 2, 3 or 4"},
        {5, "1.5", "Communications Port \"1.5\" is not a whole number"},
        {5, "1e0", "Communications Port \"1e0\" is not a whole number"},
        {5, "99999999999", "Communications Port \"99999999999\" is too large"},
        {8, "40000", "X Offset is 40000; it must be from -32767 to 32767"},
        {6, "1e30", "Router bit size is 1e+30; it must be from 0 to 1"},
        {7, "49", "Distance between notchers is 49; it must be from 0 to 48"},
        {10, "4", "Tabs is 4; it must be 0, 1, 2 or 3"},
        {11, "1e30", "Home to 30 degree notcher is 1e+30; it must be from 0 to 120"},
        {12, "-24", "Distance between photo cells is -24; it must be from 0 to 120"},
        {16, "120.5", "Rewind Distance is 120.5; it must be from 0 to 120"},
        {13, "2", "Bender Output 1=YES 0=NO is 2; it must be 0 or 1"},
        {17, "5", "Notch/Flange 1=OFF 0=ON is 5; it must be 0 or 1"},
    };
    write("setup.dat", kSound);
    ASSERT_TRUE(get_setup());
    const Settings sound = settings;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        reset_settings();
        write("setup.dat", with_field(kSound, c.field, c.text));
        EXPECT_FALSE(get_setup());
        auto notes = take_notices();
        ASSERT_EQ(notes.size(), 1u);
        EXPECT_NE(notes[0].find("setup.dat in " + dir.path() + ": "), std::string::npos);
        EXPECT_NE(notes[0].find(c.says), std::string::npos) << notes[0];
        // Only the wrong field kept its value (0); every other one was taken.
        for (const auto& f : setting_fields()) {
            bool same = f.real ? settings.*f.real == sound.*f.real
                               : settings.*f.whole == sound.*f.whole;
            EXPECT_EQ(same, &f != &setting_fields()[c.field]) << f.label;
        }
    }
}

TEST_F(SettingsCheck, SettingsOutOfRangeAreNotSaved) {
    write("setup.dat", kSound);
    ASSERT_TRUE(get_setup());
    settings.port = 0;
    EXPECT_FALSE(save_setup(SetupFields::all));
    EXPECT_EQ(read("setup.dat"), kSound);
    auto notes = take_notices();
    ASSERT_EQ(notes.size(), 1u);
    EXPECT_EQ(notes[0], "Settings were not saved: Communications Port is 0; it must be 1, 2, 3 "
                        "or 4. Correct it in Tools, Setup");
    settings.port = 4;
    settings.rw = std::nanf("");
    EXPECT_FALSE(save_setup(SetupFields::without_operate));
    EXPECT_NE(take_notices().at(0).find("Rewind Distance is nan; it must be a number"),
              std::string::npos);
}

TEST_F(SettingsCheck, TemporariesOfInterruptedSavesGoAtTheNextStart) {
    for (const char* name : {"setup.dat.Ab12Cd", "log.dat.x9Y8z7", "setup.dat.bak",
                             "setup.dat.Ab12C", "setup.dat.Ab12Cde", "my.setup.dat.Ab12Cd"})
        write(name, "1 2 3");
    std::filesystem::create_directory(dir.file("log.dat.folder"));
    write("setup.dat", kSound);
    get_setup();
    get_log();
    for (const char* gone : {"setup.dat.Ab12Cd", "log.dat.x9Y8z7"})
        EXPECT_FALSE(file_exists(dir.file(gone))) << gone;
    for (const char* kept : {"setup.dat.bak", "setup.dat.Ab12C", "setup.dat.Ab12Cde",
                             "my.setup.dat.Ab12Cd", "log.dat.folder"})
        EXPECT_TRUE(file_exists(dir.file(kept))) << kept;
}

TEST_F(LogCheck, ADamagedLogIsKeptBesideAndTheOperatorTold) {
    struct Case {
        const char* line;
        const char* says;
    };
    const Case cases[] = {
        {"5 100 abc 12 5 3 20 1234.5", "100 Degree notches \"abc\" is not a number"},
        {"5 100 40 -12 5 3 20 1234.5", "Indicates is -12; it must be 0 or more"},
        {"5 100 40 12 99999999999 3 20 1234.5", "Sheers \"99999999999\" is too large"},
        {"5 100 40 12 5 3 20 inf", "Footage of material \"inf\" is not a number"},
        {"5 100 40 12 5 3 20 nan", "Footage of material \"nan\" is not a number"},
        {"5 100 40", "it holds 3 of the 8 counts"},
        {"", "it holds 0 of the 8 counts"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        reset_counters();
        std::string content = std::string(c.line) + "\nthe rest of the file\n";
        write("log.dat", content);
        get_log();
        EXPECT_EQ(counters.images, 5 * (c.line[0] != '\0'));  // what could be read is taken
        auto notes = take_notices();
        ASSERT_EQ(notes.size(), 1u);
        EXPECT_NE(notes[0].find("Production log log.dat in " + dir.path() + " is damaged: "),
                  std::string::npos)
            << notes[0];
        EXPECT_NE(notes[0].find(c.says), std::string::npos) << notes[0];
        EXPECT_NE(notes[0].find("It was kept as log.dat.damaged"), std::string::npos);
        EXPECT_EQ(read("log.dat.damaged"), content);
        EXPECT_EQ(read("log.dat"), content);  // until the next count replaces it
    }
    write("log.dat", "5 100 40 12 5 3 20 1234.5");
    get_log();
    EXPECT_EQ(counters.flanges, 20);
    EXPECT_TRUE(take_notices().empty());
}

// A record that never ends (a link to /dev/zero) or is far too large is
// refused unread with a message, and changes nothing; a log is moved aside.
TEST_F(LogCheck, RecordsThatNeverEndAreRefusedUnread) {
    write("setup.dat", kSound);
    ASSERT_TRUE(get_setup());
    const Settings sound = settings;
    write("log.dat", "5 100 40 12 5 3 20 1234.5");
    get_log();
    const std::string counts = format_log();
#ifdef _WIN32
    const bool cases[] = {false};  // no device to link a record to
#else
    const bool cases[] = {true, false};
#endif
    for (bool device : cases) {
        SCOPED_TRACE(device);
        for (const char* name : {"setup.dat", "log.dat", "units.dat"}) {
            std::filesystem::remove(dir.file(name));
            if (device)
                std::filesystem::create_symlink("/dev/zero", dir.file(name));
            else
                std::filesystem::resize_file((write(name, ""), dir.file(name)), 1LL << 31);
        }
        EXPECT_FALSE(get_setup());
        get_log();
        get_unit_setting();
        auto told = take_notices();
        ASSERT_EQ(told.size(), 3u);
        for (const std::string& t : told)
            EXPECT_NE(t.find(device ? "it is a device" : "more than 65536 bytes"), t.npos) << t;
        EXPECT_EQ(std::memcmp(&settings, &sound, sizeof sound), 0);
        EXPECT_EQ(format_log(), counts);
        std::filesystem::rename(dir.file("log.dat.damaged"), dir.file("log.dat"));  // moved aside
    }
}

TEST_F(LogCheck, ALogThatCannotBeReadIsMovedAside) {
    std::filesystem::create_directory(dir.file("log.dat"));
    get_log();
    EXPECT_TRUE(std::filesystem::is_directory(dir.file("log.dat.damaged")));
    EXPECT_FALSE(file_exists(dir.file("log.dat")));
    EXPECT_NE(take_notices().at(0).find("It was kept as log.dat.damaged"), std::string::npos);
    counters.images = 1;
    EXPECT_TRUE(write_log());
}

}  // namespace
