#include "records/job_table.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "platform/text.h"
#include "records/history.h"

std::vector<CsvRow> parse_csv(std::string_view text) {
    std::vector<CsvRow> rows;
    CsvRow row;
    std::string field;
    bool quoted = false, any = false;
    auto end_field = [&] {
        row.push_back(field);
        field.clear();
    };
    auto end_row = [&] {
        if (any || !field.empty() || !row.empty()) {
            end_field();
            rows.push_back(row);
        }
        row.clear();
        any = false;
    };
    for (std::size_t i = 0; i < text.size(); ++i) {
        char c = text[i];
        if (quoted) {
            if (c != '"') field += c;
            else if (i + 1 < text.size() && text[i + 1] == '"') field += '"', ++i;
            else quoted = false;
        } else if (c == '"') {
            quoted = any = true;
        } else if (c == ',') {
            end_field();
            any = true;
        } else if (c == '\n') {
            end_row();
        } else if (c != '\r' || i + 1 >= text.size() || text[i + 1] != '\n') {
            field += c;
        }
    }
    end_row();
    return rows;
}

std::string csv_line(const CsvRow& row) {
    std::string line;
    for (std::size_t i = 0; i < row.size(); ++i) line += (i ? "," : "") + csv_field(row[i]);
    return line + "\r\n";  // as jobs.csv ends its lines
}

const std::vector<JobColumnTitle>& job_column_titles() {
    static const std::vector<JobColumnTitle> titles{
        {"Start", "When the job began (local time)"},
        {"End", "When the job ended (local time)"},
        {"Drawing", "The drawing; empty for a notching run"},
        {"Figure", "The figure made, from 1"},
        {"Start point", "The figure's start, in drawing units"},
        {"Divide point", "The divide point; empty without one"},
        {"Walls", "Walls planned; for a notching run the notches made"},
        {"Inches of the letter",
         "The planned outline of the letter, in inches: what the letter itself takes"},
        {"Inches fed",
         "All the strip that went through the feeder, in inches: the letter, its tabs and the "
         "lead-in to the shear included, so more than the inches of the letter"},
        {"30° notches", "Strokes of the 30-degree notcher"},
        {"100° notches", "Strokes of the 100-degree notcher"},
        {"Dimples", "Strokes of the dimpler"},
        {"Indicates", "Strokes of the indicate marker"},
        {"Flange bends", "Strokes of the flange bender"},
        {"Shears", "Strokes of the shear"},
        {"Images", "1 when the letter was made whole, else 0"},
        {"Result", "How the job ended"},
        {"Inches in the log",
         "Inches of the letter fed, as the production log's footage counts them: all of them "
         "for a letter made whole, those fed for one that stopped part way"},
    };
    return titles;
}

std::string job_day(const CsvRow& row) {
    return row.empty() ? "" : row[kJobStart].substr(0, 10);
}

namespace {

bool number(const std::string& text, double& value) {
    if (text.empty()) return false;
    char* end = nullptr;
    value = std::strtod(text.c_str(), &end);
    return *end == '\0';
}

const std::string& field(const CsvRow& row, int column) {
    static const std::string none;
    return column >= 0 && column < static_cast<int>(row.size()) ? row[column] : none;
}

double value_of(const CsvRow& row, int column) {
    double v = 0;
    return number(field(row, column), v) ? v : 0;
}

// Numbers before text, numbers by value, text as text.
bool before(const std::string& a, const std::string& b) {
    double x = 0, y = 0;
    bool nx = number(a, x), ny = number(b, y);
    if (nx && ny) return x < y;
    if (nx != ny) return nx;
    return a < b;
}

}  // namespace

std::vector<CsvRow> filter_jobs(const std::vector<CsvRow>& rows, const JobFilter& filter) {
    std::vector<CsvRow> out;
    for (const CsvRow& row : rows)
        if ((filter.day.empty() || job_day(row) == filter.day) &&
            (filter.drawing.empty() || field(row, kJobDrawing) == filter.drawing))
            out.push_back(row);
    if (filter.column >= 0) {
        int c = filter.column;
        std::stable_sort(out.begin(), out.end(), [&](const CsvRow& a, const CsvRow& b) {
            return filter.descending ? before(field(b, c), field(a, c))
                                     : before(field(a, c), field(b, c));
        });
    }
    return out;
}

CsvRow job_row_shown(const CsvRow& row) {
    CsvRow narrow = row;
    if (narrow.size() > kJobDrawing) {
        std::string& start = narrow[kJobStart];
        if (start.size() >= 16 && start[10] == 'T') start = start.substr(0, 10) + " " + start.substr(11, 5);
        std::string& end = narrow[kJobEnd];
        if (end.size() >= 19 && end[10] == 'T') end = end.substr(11, 8);
        std::string& drawing = narrow[kJobDrawing];
        drawing = drawing.substr(drawing.find_last_of("/\\") + 1);
    }
    CsvRow shown;
    for (int column : kJobColumnsShown) shown.push_back(field(narrow, column));
    return shown;
}

bool parse_iso_time(const std::string& text, long long& seconds) {
    int y, mo, d, h, mi, s, oh, om;
    char sign;
    if (text.size() != 25 ||
        std::sscanf(text.c_str(), "%4d-%2d-%2dT%2d:%2d:%2d%c%2d:%2d", &y, &mo, &d, &h, &mi, &s,
                    &sign, &oh, &om) != 9 ||
        (sign != '+' && sign != '-') || mo < 1 || mo > 12 || d < 1 || d > 31)
        return false;
    // Days from the civil date (proleptic Gregorian), from 1970-01-01.
    y -= mo <= 2;
    long long era = (y >= 0 ? y : y - 399) / 400;
    long long yoe = y - era * 400;
    long long doy = (153 * (mo + (mo > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    long long doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    long long days = era * 146097 + doe - 719468;
    long long offset = (oh * 3600LL + om * 60LL) * (sign == '-' ? -1 : 1);
    seconds = days * 86400 + h * 3600LL + mi * 60LL + s - offset;
    return true;
}

JobTotals total_jobs(const std::vector<CsvRow>& rows) {
    JobTotals t;
    for (const CsvRow& row : rows) {
        ++t.jobs;
        t.planned += value_of(row, kJobPlanned);
        t.fed += value_of(row, kJobFed);
        t.counted += value_of(row, kJobCounted);
        for (int c = kJobFirstStroke; c <= kJobLastStroke; ++c)
            t.strokes += static_cast<long long>(value_of(row, c));
        long long start = 0, end = 0;
        if (parse_iso_time(field(row, kJobStart), start) &&
            parse_iso_time(field(row, kJobEnd), end) && end > start)
            t.seconds += end - start;
    }
    return t;
}

std::string totals_text(const JobTotals& t) {
    long long h = t.seconds / 3600, m = t.seconds / 60 % 60, s = t.seconds % 60;
    return strprintf("%d %s, %.1f in. of the letter (%.1f ft), %.1f in. fed, %.1f in. in the log, "
                     "%lld strokes, %lld h %02lld min %02lld s",
                     t.jobs, t.jobs == 1 ? "job" : "jobs", t.planned, t.planned / 12, t.fed,
                     t.counted, t.strokes, h, m, s);
}

std::string jobs_csv_text(const std::vector<CsvRow>& rows) {
    std::string text = std::string(kHistoryHeader) + "\r\n";
    for (const CsvRow& row : rows) text += csv_line(row);
    return text;
}
