// The job history's table: jobs.csv read back, filtered, sorted, totalled and
// written out again.
#include "records/job_table.h"
#include "tests/support/support.h"

namespace {

TEST(JobTable, ReadsCsvAsSpreadsheetsWriteIt) {
    struct Case {
        const char* text;
        std::vector<CsvRow> rows;
    } cases[] = {
        {"a,b\n1,2\n", {{"a", "b"}, {"1", "2"}}},
        {"a,b\r\n1,2", {{"a", "b"}, {"1", "2"}}},                       // CR LF, no last end
        {"\"x, y\",\"say \"\"hi\"\"\"\n", {{"x, y", "say \"hi\""}}},     // commas, quotes
        {"\"two\nlines\",z\n", {{"two\nlines", "z"}}},                   // a line end quoted
        {"a,,\n\n", {{"a", "", ""}}},                                    // empty fields, empty line
    };
    for (const Case& c : cases) {
        EXPECT_EQ(parse_csv(c.text), c.rows) << c.text;
        std::string again;
        for (const CsvRow& r : c.rows) again += csv_line(r);
        EXPECT_EQ(parse_csv(again), c.rows) << again;
    }
}

TEST(JobTable, ReadsTheTimesWithTheirOffset) {
    long long s = 0;
    ASSERT_TRUE(parse_iso_time("1970-01-01T00:00:00+00:00", s));
    EXPECT_EQ(s, 0);
    ASSERT_TRUE(parse_iso_time("2026-12-07T14:05:09+01:00", s));
    EXPECT_EQ(s, 1796648709LL);
    ASSERT_TRUE(parse_iso_time("2024-02-29T23:00:00-05:00", s));  // a leap day, west of Greenwich
    EXPECT_EQ(s, 1709265600LL);
    for (const char* bad : {"", "2026-12-07 14:05:09", "2026-13-07T14:05:09+01:00",
                            "2026-12-07T14:05:09Z"})
        EXPECT_FALSE(parse_iso_time(bad, s)) << bad;
}

CsvRow job(const char* start, const char* end, const char* drawing, const char* planned,
           const char* fed, const char* notches, const char* counted) {
    return {start, end, drawing, "1", "(0, 0)", "", "4", planned, fed, notches,
            "0", "0", "0", "2", "1", "1", "done", counted};
}

const std::vector<CsvRow> kJobs = {
    job("2026-12-06T08:00:00+01:00", "2026-12-06T08:02:00+01:00", "/d/a.dxf", "40.000", "52.000",
        "3", "40.000"),
    job("2026-12-07T09:00:00+01:00", "2026-12-07T09:01:30+01:00", "/d/b.dxf", "100.500",
        "112.500", "10", "100.500"),
    job("2026-12-07T10:00:00+01:00", "2026-12-07T10:00:30+01:00", "/d/a.dxf", "9.000", "21.000",
        "2", "9.000"),
};

TEST(JobTable, FiltersByDayAndDrawingAndSortsNumbersByValue) {
    struct Case {
        JobFilter filter;
        std::vector<std::string> starts_at;  // the hours of the rows, in order
    } cases[] = {
        {{}, {"08", "09", "10"}},
        {{"2026-12-07", "", -1, false}, {"09", "10"}},
        {{"", "/d/a.dxf", -1, false}, {"08", "10"}},
        {{"2026-12-07", "/d/a.dxf", -1, false}, {"10"}},
        {{"2026-12-08", "", -1, false}, {}},
        {{"", "", kJobPlanned, false}, {"10", "08", "09"}},  // 9 < 40 < 100.5, not as text
        {{"", "", kJobPlanned, true}, {"09", "08", "10"}},
        {{"", "", kJobDrawing, false}, {"08", "10", "09"}},  // equal ones keep their order
    };
    for (const Case& c : cases) {
        std::vector<std::string> hours;
        for (const CsvRow& r : filter_jobs(kJobs, c.filter)) hours.push_back(r[kJobStart].substr(11, 2));
        EXPECT_EQ(hours, c.starts_at) << c.filter.day << " " << c.filter.drawing << " "
                                      << c.filter.column;
    }
}

TEST(JobTable, ShowsARowNarrowerThanJobsCsvWithWhatIsReadFirstLeading) {
    EXPECT_EQ(job_row_shown(kJobs[0]),
              (CsvRow{"2026-12-06 08:00", "a.dxf", "1", "done", "40.000", "52.000", "40.000", "4",
                      "08:02:00", "3", "0", "0", "0", "2", "1", "1", "(0, 0)", ""}));
    EXPECT_EQ(job_row_shown(CsvRow(kJobColumns))[0], "");  // a notching run's empty fields
}

TEST(JobTable, TotalsTheRowsShown) {
    JobTotals t = total_jobs(filter_jobs(kJobs, {"2026-12-07", "", -1, false}));
    EXPECT_EQ(t.jobs, 2);
    EXPECT_DOUBLE_EQ(t.planned, 109.5);
    EXPECT_DOUBLE_EQ(t.fed, 133.5);
    EXPECT_EQ(t.strokes, (10 + 2 + 1) + (2 + 2 + 1));
    EXPECT_EQ(t.seconds, 120);
    EXPECT_EQ(totals_text(t), "2 jobs, 109.5 in. of the letter (9.1 ft), 133.5 in. fed, 109.5 in. "
                              "in the log, 18 strokes, 0 h 02 min 00 s");
}

TEST(JobTable, WritesTheRowsAsJobsCsvReadsThemBack) {
    std::string text = jobs_csv_text(kJobs);
    EXPECT_EQ(text.rfind("start,end,drawing,", 0), 0u);
    std::vector<CsvRow> back = parse_csv(text);
    back.erase(back.begin());
    EXPECT_EQ(back, kJobs);
}

}  // namespace
