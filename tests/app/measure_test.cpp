// zel --measure end to end: the drawing's figures, their walls and lengths.
#include <sys/stat.h>

#include <cstdio>

#include "tests/import/drawing.h"
#include "tests/support/support.h"

namespace {

class MeasureCommand : public ::testing::Test {
protected:
    void SetUp() override {
        write_file(machine.file("setup.dat"),
                   "1000 0.125 0.5 30 1 1 0.25 6 60 420 0 2.5 24 1 1 3 6 0");
        Drawing d;
        d.polyline().vertex(0, 0).vertex(10, 0).vertex(10, 10).vertex(0, 10).seqend();
        // A quarter circle of radius 2 and the two lines back, counter-clockwise.
        d.polyline().vertex("2.0", "0.0").code(42, "0.41421356237").vertex(0, 2).vertex(0, 0);
        d.seqend();
        write_file(drawing(), d.text());
    }
    std::string drawing() const { return work.file("letters.dxf"); }
    RunResult measure(std::vector<std::string> extra) {
        std::vector<std::string> args{"--measure", "--dir", machine.path()};
        args.insert(args.end(), extra.begin(), extra.end());
        return run_zel(args);
    }
    TempDir machine, work;
};

TEST_F(MeasureCommand, EveryFigureAndTheTotal) {
    auto r = measure({drawing()});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out,
              "figure elements walls inches\n"
              "1 4 4 39.839\n"
              "2 3 9 6.959\n"
              "total 46.798\n");
}

TEST_F(MeasureCommand, OneFigureLeavesItsReports) {
    auto r = measure({"--figure", "2", drawing()});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "figure elements walls inches\n2 3 9 6.959\ntotal 6.959\n");
    std::string segments = read_file(machine.file("segments.txt"));
    EXPECT_EQ(segments.rfind("Segment Length   Accumulative Length\n"
                             "     0.440               0.440   0.000\n",
                             0),
              0u);
    EXPECT_EQ(read_file(machine.file("curf.txt")), "0.064353 \n0.026823 \n0.000000 \n");
}

TEST_F(MeasureCommand, StartPointMovedAlongTheFigure) {
    // From (0,0): the square corner now ends the strip, and both sharper
    // corners beside the arc take their kerf loss.
    auto r = measure({"--figure", "2", "--start", "2", drawing()});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "figure elements walls inches\n2 3 9 6.884\ntotal 6.884\n");
    auto again = measure({"--figure", "2", "--start", "5", drawing()});  // a turn and two
    EXPECT_EQ(again.out, r.out);
}

// A 600 mm square drawn with LINE entities: 600 in. as a drawing unit is an
// inch, 23.622 in. read as the drawing declares it.
TEST_F(MeasureCommand, DrawingUnits) {
    Drawing d;
    d.header_variable("$INSUNITS", 4);
    d.line(0, 0, 600, 0).line(600, 0, 600, 600).line(600, 600, 0, 600).line(0, 600, 0, 0);
    write_file(work.file("mm.dxf"), d.text());
    auto r = measure({work.file("mm.dxf")});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "figure elements walls inches\n1 4 4 2399.839\ntotal 2399.839\n");
    EXPECT_NE(r.err.find("declares millimetres but is read in inches"), std::string::npos) << r.err;

    auto declared = measure({"--units", "declared", work.file("mm.dxf")});
    EXPECT_EQ(declared.out, "figure elements walls inches\n1 4 4 94.327\ntotal 94.327\n");
    EXPECT_EQ(declared.err, "");
    // Without --units, as the machine folder says.
    write_file(machine.file("units.dat"), "declared");
    EXPECT_EQ(measure({work.file("mm.dxf")}).out, declared.out);
    EXPECT_EQ(measure({"--units", "inch", work.file("mm.dxf")}).out, r.out);
}

TEST_F(MeasureCommand, DrawingsThatCannotBeMeasured) {
    auto r = measure({work.file("missing.dxf")});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("missing.dxf Failed to open"), std::string::npos) << r.err;

    write_file(work.file("text.dxf"),
               "  0\nSECTION\n  2\nENTITIES\n  0\nHATCH\n  0\nLINE\n 10\n0\n 20\n0\n 11\n1\n"
               " 21\n1\n  0\nENDSEC\n  0\nEOF\n");
    r = measure({work.file("text.dxf")});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("It holds 1 HATCH and 1 open chain (the widest gap"), std::string::npos)
        << r.err;
    EXPECT_EQ(r.out, "");

    r = measure({"--figure", "3", drawing()});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("no figure 3"), std::string::npos) << r.err;

    write_file(machine.file("setup.dat"), "1000 0.125 0 30 1 1 0.25 6 60 420 0 2.5 24 1 1 3 6 0");
    r = measure({drawing()});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("radius notch distance"), std::string::npos) << r.err;
}

TEST_F(MeasureCommand, DrawingsWithPointsOutOfBoundsAreRefused) {
    for (const char* x : {"1e308", "inf", "nan", "20000"}) {
        SCOPED_TRACE(x);
        Drawing d;
        d.polyline().vertex(0, 0).vertex(x, "0.0").vertex(0, 10).seqend();
        write_file(work.file("far.dxf"), d.text());
        auto r = measure({work.file("far.dxf")});
        EXPECT_EQ(r.status, 1);
        EXPECT_EQ(r.out, "");
        EXPECT_NE(r.err.find("The drawing was not loaded: figure 1, vertex 2 "), std::string::npos)
            << r.err;
    }
}

TEST_F(MeasureCommand, OnlyRegularFilesAreMeasured) {
    ASSERT_EQ(::mkfifo(work.file("pipe.dxf").c_str(), 0600), 0);
    for (const std::string& path : {work.file("pipe.dxf"), std::string("/dev/zero"), work.path()}) {
        auto r = measure({path});
        EXPECT_EQ(r.status, 1);
        EXPECT_NE(r.err.find(path + " was not opened: it is a "), std::string::npos) << r.err;
    }
}

// Only a wrong setting that planning reads stops a quote; another, such as the
// port, is named in a warning and measured past.
TEST_F(MeasureCommand, OnlyTheSettingsItUsesCanStopIt) {
    struct Case {
        const char* setup;
        bool measured;
        const char* says;
    };
    const Case cases[] = {
        {"1000 0.125 0.5 30 1 7 0.25 6 60 420 0 2.5 24 1 1 3 6 0", true,
         ": field 6, Communications Port is 7; it must be 1, 2, 3 or 4. It plays no part here; "
         "correct it in Tools, Setup\n"},
        {"nan 0.125 0.5 30 1 7 0.25 6 60 420 0 2.5 24 1 1 3 6 0", true,
         ": field 1, Steps per inch \"nan\" is not a number; field 6, Communications Port is 7; "
         "it must be 1, 2, 3 or 4. They play no part here; correct them in Tools, Setup\n"},
        {"1000 0.125 0.5 30 1 7 nan 6 60 420 0 2.5 24 1 1 3 6 0", false,
         ": field 6, Communications Port is 7; it must be 1, 2, 3 or 4; field 7, Router bit size "
         "\"nan\" is not a number. The settings that are wrong"},
        {"garbage", false, ": field 1, Steps per inch \"garbage\" is not a number; it holds 1 of"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.setup);
        write_file(machine.file("setup.dat"), c.setup);
        auto r = measure({drawing()});
        EXPECT_EQ(r.status, c.measured ? 0 : 1);
        EXPECT_EQ(r.out.empty(), !c.measured);
        EXPECT_EQ(r.err.find("zel: Settings file setup.dat in " + machine.path() + c.says), 0u)
            << r.err;
        EXPECT_EQ(r.err.find("The settings in setup.dat cannot be used; nothing was measured") ==
                      std::string::npos,
                  c.measured);
    }
    // Writing the drawing out reads it only: the router bit, wrong above, plays no part.
    write_file(machine.file("setup.dat"), cases[2].setup);
    auto exported =
        run_zel({"--export-dxf", work.file("out.dxf"), "--dir", machine.path(), drawing()});
    EXPECT_EQ(exported.status, 0) << exported.err;
    EXPECT_EQ(exported.out, "2 figures written to " + work.file("out.dxf") + "\n");
    std::remove(machine.file("setup.dat").c_str());
    auto r = measure({drawing()});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("could not be read (No such file or directory)"), std::string::npos);
}

}  // namespace
