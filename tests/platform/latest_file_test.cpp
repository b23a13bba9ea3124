// The writer thread of the newest content: what is handed while a write is
// under way collapses into the newest, and a failure lasts until a write
// succeeds.
#include "platform/latest_file.h"
#include "tests/support/support.h"

namespace {

TEST(LatestFile, ContentsHandedDuringAWriteCollapseIntoTheNewest) {
    TempDir dir;
    LatestFile file;
    for (int k = 1; k <= 200; ++k) file.hand(dir.file("f"), std::to_string(k));
    file.flush();
    EXPECT_EQ(read_file(dir.file("f")), "200");
    EXPECT_LT(file.writes(), 200);
    EXPECT_EQ(file.failure(), "");
    file.hand(dir.file("missing/f"), "x");
    file.flush();
    EXPECT_NE(file.failure().find("missing/f"), std::string::npos);
    file.hand(dir.file("f"), "201");
    file.flush();
    EXPECT_EQ(file.failure(), "");
    EXPECT_EQ(read_file(dir.file("f")), "201");
}

}  // namespace
