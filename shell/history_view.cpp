#include <set>

#include "platform/files.h"
#include "platform/text.h"
#include "platform/window_system.h"
#include "records/job_table.h"
#include "records/notice.h"
#include "records/progdir.h"
#include "shell/status.h"
#include "shell/window.h"
#include "shell/work.h"

namespace {

// Years of jobs stay far under this.
constexpr std::size_t kHistoryLimit = 64 * 1024 * 1024;

// The table's columns stand in the order of kJobColumnsShown.
JobFilter filter_of(const TableChoice& c) {
    int column = c.column >= 0 && c.column < kJobColumns ? kJobColumnsShown[c.column] : -1;
    return {c.day, c.drawing, column, c.descending};
}

class HistorySource : public TableSource {
public:
    explicit HistorySource(std::vector<CsvRow> rows) : rows_(std::move(rows)) {}

    TableContent content(const TableChoice& choice) override {
        TableContent t;
        for (int column : kJobColumnsShown) {
            const JobColumnTitle& title = job_column_titles()[column];
            t.headings.push_back(title.heading);
            t.tips.push_back(title.tip);
        }
        std::vector<CsvRow> rows = filter_jobs(rows_, filter_of(choice));
        t.totals = totals_text(total_jobs(rows));
        for (const CsvRow& row : rows) t.rows.push_back(job_row_shown(row));
        std::set<std::string> days, drawings;
        for (const CsvRow& row : rows_) {
            days.insert(job_day(row));
            if (row.size() > kJobDrawing && !row[kJobDrawing].empty())
                drawings.insert(row[kJobDrawing]);
        }
        t.days.assign(days.rbegin(), days.rend());
        t.drawings.assign(drawings.begin(), drawings.end());
        return t;
    }

    // The rows shown, with jobs.csv's header, replacing a file of the same
    // name whole.
    void export_rows(const TableChoice& choice) override {
        std::string path = program_file("jobs-shown.csv");
        long error = 0;
        if (!window_system().get_save_csv_name(path, error)) {
            if (error != 0) notice(strprintf("The save dialog failed (error %ld)", error));
            show_notices();
            return;
        }
        std::vector<CsvRow> shown = filter_jobs(rows_, filter_of(choice));
        std::string why;
        if (!replace_file(path, jobs_csv_text(shown), why)) {
            notice(path + " was not written: " + why);
            show_notices();
            return;
        }
        status_line.work = strprintf("%zu jobs of the history written to ", shown.size()) + path;
        show_status();
    }

private:
    std::vector<CsvRow> rows_;
};

}  // namespace

void show_job_history() {
    std::string path = program_file("jobs.csv");
    std::string text, why;
    if (!file_is_readable(path)) {
        notice("No job has been recorded yet: " + path + " is made when the first job ends.");
        return;
    }
    if (!read_small_file(path, kHistoryLimit, text, why)) {
        notice(path + " cannot be read: " + why);
        return;
    }
    std::vector<CsvRow> rows = parse_csv(text);
    if (!rows.empty()) rows.erase(rows.begin());  // the header
    HistorySource source(std::move(rows));
    window_system().run_table("Job history", source);
    show_notices();
}
