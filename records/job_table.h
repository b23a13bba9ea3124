#pragma once
#include <array>
#include <string>
#include <string_view>
#include <vector>

// The job history as the window's table: jobs.csv read back, its rows kept to
// a day and a drawing, sorted by a column, totalled, and written out again.

using CsvRow = std::vector<std::string>;

// The records of RFC 4180 text (quoted fields may hold commas, quotes and line
// ends); a line end of CR LF or LF ends a record, and an empty line is none.
std::vector<CsvRow> parse_csv(std::string_view text);

// One line of CSV text, with its line end (CR LF, as RFC 4180 has it).
std::string csv_line(const CsvRow& row);

// The columns of jobs.csv, by number, that the table reads.
enum JobColumn {
    kJobStart = 0, kJobEnd = 1, kJobDrawing = 2, kJobFigure = 3, kJobStartPoint = 4,
    kJobDividePoint = 5, kJobWalls = 6, kJobPlanned = 7, kJobFed = 8, kJobFirstStroke = 9,
    kJobLastStroke = 14, kJobImages = 15, kJobResult = 16, kJobCounted = 17, kJobColumns = 18,
};

// The columns of jobs.csv in the order the table shows them: what the
// operator reads first (when, what, how it ended, how much) leads, so that it
// is on the screen without scrolling.
inline constexpr std::array<int, kJobColumns> kJobColumnsShown{
    kJobStart, kJobDrawing, kJobFigure, kJobResult, kJobPlanned, kJobFed, kJobCounted, kJobWalls,
    kJobEnd, 9, 10, 11, 12, 13, 14, kJobImages, kJobStartPoint, kJobDividePoint,
};

// The operator's heading and tip of each column of jobs.csv, by its number.
struct JobColumnTitle {
    const char* heading;
    const char* tip;
};
const std::vector<JobColumnTitle>& job_column_titles();

struct JobFilter {
    std::string day;      // "2026-12-07"; empty for every day
    std::string drawing;  // the drawing's path as jobs.csv holds it; empty for all
    int column = -1;      // sorted by this column; -1 as recorded
    bool descending = false;
};

// The day a row started on, as its start field writes it.
std::string job_day(const CsvRow& row);

// The rows of the filter, sorted: numbers by value, other text as text; rows
// equal in that column stay in their order. The header is not among `rows`.
std::vector<CsvRow> filter_jobs(const std::vector<CsvRow>& rows, const JobFilter& filter);

struct JobTotals {
    int jobs = 0;
    double planned = 0, fed = 0, counted = 0;  // inches
    long long strokes = 0;                     // of every tool
    long long seconds = 0;                     // from start to end
};
JobTotals total_jobs(const std::vector<CsvRow>& rows);

// "12 jobs, 1,234.5 in. of the letter, ..." for the foot of the table.
std::string totals_text(const JobTotals& t);

// Seconds since the epoch of "2026-12-07T14:05:09+01:00"; false when the text
// is not such a time.
bool parse_iso_time(const std::string& text, long long& seconds);

// A row as the table shows it, its fields in the order of kJobColumnsShown
// and narrower than jobs.csv: the start without its offset and seconds
// ("2026-12-07 14:05"), the end's time of day, the drawing's file name.
CsvRow job_row_shown(const CsvRow& row);

// The header and the rows as jobs.csv holds them.
std::string jobs_csv_text(const std::vector<CsvRow>& rows);
