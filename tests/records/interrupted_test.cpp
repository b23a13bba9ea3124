// The interrupted-job record: read back as written, and a damaged one put
// aside rather than offered.
#include "records/interrupted.h"
#include "records/progdir.h"
#include "tests/support/support.h"

namespace {

using InterruptedRecord = ProgramDirTest;

TEST_F(InterruptedRecord, ReadsBackAsWrittenAndADamagedOneIsPutAside) {
    Interrupted r;
    r.work = Interrupted::Work::job;
    r.drawing = "/shop/letters, final.dxf";
    r.drawing_digest = "0123456789abcdef";
    r.units = "inches";
    r.figure = 3;
    r.figure_digest = "fedcba9876543210";
    r.start_point = "(1.500, -2.250)";
    r.divide_point = 7;
    r.image = 2;
    r.images = 5;
    r.settings = "1000.000000 0.125000 0.500000 30.000000 1 1 0.250000 6.000000 60 420 3";
    r.answered = 123;
    r.wall = 70;
    r.walls = 202;
    r.element = 31;
    r.planned = 132.527f;
    r.fed = 0.1f;
    r.counted = 132.527f;
    r.letter_counted = true;
    r.counts = Counters{3, 10, 4, 2, 1, 1, 5, 1234.567f};
    Interrupted back;
    ASSERT_EQ(scan_interrupted(format_interrupted(r), back), "");
    EXPECT_EQ(format_interrupted(back), format_interrupted(r));
    EXPECT_EQ(back.fed, 0.1f);  // every float exactly

    const struct {
        const char* what;
        std::string text;
        const char* told;
    } damaged[] = {
        {"cut short", format_interrupted(r).substr(0, 200), "cut short"},
        {"a field lost", format_interrupted(r).erase(format_interrupted(r).find("answered")),
         "\"answered\""},
        {"another file", "3 10 4 2 1 1 5 100.000000\n", "does not begin with"},
    };
    for (const auto& d : damaged) {
        SCOPED_TRACE(d.what);
        write(kInterruptedFile, d.text);
        std::string why;
        EXPECT_FALSE(read_interrupted(back, why));
        EXPECT_NE(why.find(d.told), std::string::npos) << why;
        EXPECT_FALSE(file_exists(dir.file(kInterruptedFile)));
        EXPECT_EQ(read("job-interrupted.damaged"), d.text);
    }
    std::string why;
    EXPECT_FALSE(read_interrupted(back, why));  // none at all: nothing to say
    EXPECT_EQ(why, "");
}

}  // namespace
