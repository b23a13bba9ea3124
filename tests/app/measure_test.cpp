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

TEST_F(MeasureCommand, SettingsThatCannotBeUsedAreNotMeasuredWith) {
    for (const char* setup : {"garbage", "nan 0.125 0.5 30 1 1 0.25 6 60 420 0 2.5 24 1 1 3 6 0"}) {
        SCOPED_TRACE(setup);
        write_file(machine.file("setup.dat"), setup);
        auto r = measure({drawing()});
        EXPECT_EQ(r.status, 1);
        EXPECT_EQ(r.out, "");
        EXPECT_NE(r.err.find("Settings file setup.dat in " + machine.path() + ": "),
                  std::string::npos)
            << r.err;
        EXPECT_NE(r.err.find("The settings in setup.dat cannot be used; nothing was measured"),
                  std::string::npos);
    }
    std::remove(machine.file("setup.dat").c_str());
    auto r = measure({drawing()});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("could not be read (No such file or directory)"), std::string::npos);
}

}  // namespace
