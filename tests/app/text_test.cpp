// zel --text: letters from text measured and written as a drawing, and
// zel --fonts.
#include "tests/support/support.h"

namespace {

class TextCommand : public ::testing::Test {
protected:
    void SetUp() override {
        write_file(machine.file("setup.dat"),
                   "1000 0.125 0.5 30 1 1 0.25 6 60 420 0 2.5 24 1 1 3 6 0");
    }
    RunResult zel(std::vector<std::string> args) {
        args.insert(args.begin(), {"--dir", machine.path()});
        return run_zel(args);
    }
    TempDir machine, work;
};

TEST_F(TextCommand, MeasuredAsTheDrawingItExportsTo) {
    std::vector<std::string> text{"--text", "OPEN", "--font", "DejaVu Sans:style=Bold",
                                  "--height", "12"};
    auto args = text;
    args.push_back("--measure");
    RunResult measured = zel(args);
    ASSERT_EQ(measured.status, 0) << measured.err;
    // O and P with their counters, E, N: six figures and the total.
    EXPECT_EQ(std::count(measured.out.begin(), measured.out.end(), '\n'), 8) << measured.out;
    EXPECT_EQ(measured.out.rfind("figure elements walls inches\n1 ", 0), 0u) << measured.out;

    std::string out = work.file("open.dxf");
    args = text;
    args.insert(args.end(), {"--export-dxf", out});
    RunResult exported = zel(args);
    ASSERT_EQ(exported.status, 0) << exported.err;
    EXPECT_EQ(exported.out, "6 figures written to " + out + "\n");
    RunResult again = zel({"--measure", out});
    EXPECT_EQ(again.out, measured.out);

    // The same letters in millimetres, and wider apart.
    RunResult mm = zel({"--text", "OPEN", "--font", "DejaVu Sans:style=Bold", "--height",
                        "304.8", "--units", "mm", "--measure"});
    EXPECT_EQ(mm.out, measured.out);
    std::string spaced = work.file("spaced.dxf");
    args.insert(args.end(), {"--spacing", "2", "--export-dxf", spaced});
    ASSERT_EQ(zel(args).status, 0);
    EXPECT_NE(read_file(spaced), read_file(out));
    EXPECT_EQ(zel({"--measure", spaced}).out, measured.out);
}

TEST_F(TextCommand, RefusalsNameWhatCannotBeUsed) {
    struct Case {
        std::vector<std::string> args;
        int status;
        const char* says;
    };
    const Case cases[] = {
        {{"--text", "", "--measure"}, 1, "There is no text"},
        {{"--text", "A\xe6\xbc\xa2", "--measure"}, 1, "(U+6F22)"},
        {{"--text", "A", "--height", "0", "--measure"}, 1, "The letter height 0 in."},
        {{"--text", "A", "--height", "250", "--measure"}, 1, "The letter height 250 in."},
        {{"--text", "A", "--height", "x", "--measure"}, 2, "--height takes a number, not \"x\""},
        {{"--text", "A"}, 2, "--text goes with --measure or --export-dxf"},
        {{"--text", "A", "--measure", "letters.dxf"}, 2, "name no drawing"},
        {{"--height", "3", "--measure", "letters.dxf"}, 2, "go with --text"},
    };
    for (const Case& c : cases) {
        RunResult r = zel(c.args);
        EXPECT_EQ(r.status, c.status) << c.says;
        EXPECT_NE(r.err.find(c.says), std::string::npos) << r.err;
        EXPECT_EQ(r.out.find("total"), std::string::npos) << c.says;
    }
}

TEST_F(TextCommand, MissingFontReplacedWithANotice) {
    RunResult r = zel({"--text", "A", "--font", "Nonesuch Grotesk:style=Bold", "--measure"});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.err.find("The font \"Nonesuch Grotesk:style=Bold\" is not installed; the "
                         "closest, "),
              std::string::npos)
        << r.err;
}

TEST_F(TextCommand, FontsListed) {
    RunResult r = run_zel({"--fonts", "dejavu", "sans", "bold"});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("DejaVu Sans:style=Bold\t/"), std::string::npos) << r.out;
    EXPECT_EQ(r.out.find("Serif"), std::string::npos) << r.out;
    EXPECT_EQ(run_zel({"--fonts", "no such font at all"}).status, 1);
}

}  // namespace
