// The job history's table on Win32, driven as the operator would: a heading
// clicked twice, a drawing picked, the rows shown exported, Esc.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "resources/resources.h"
#include "windows/table_dialog.h"  // windows.h before commctrl.h
#include <commctrl.h>

namespace {

struct Source : TableSource {
    std::vector<TableChoice> asked, exported;
    TableContent content(const TableChoice& c) override {
        asked.push_back(c);
        TableContent t;
        t.headings = {"Start", "Drawing"};
        t.tips = {"", ""};
        t.rows = {{"09:00", "C:/signs/one.dxf"}, {"10:00", "C:/signs/two.dxf"}};
        if (!c.drawing.empty()) t.rows.resize(1);
        t.totals = std::to_string(t.rows.size()) + " jobs";
        t.days = {"2026-12-07"};
        t.drawings = {"C:/signs/one.dxf", "C:/signs/two.dxf"};
        return t;
    }
    void export_rows(const TableChoice& c) override { exported.push_back(c); }
};

struct Seen {
    int rows_at_first = -1, rows_filtered = -1;
    std::wstring totals, second_drawing;
} seen;

std::wstring text_of(HWND w) {
    wchar_t text[128] = L"";
    ::GetWindowTextW(w, text, 128);
    return text;
}

void CALLBACK operator_acts(HWND, UINT, UINT_PTR timer, DWORD) {
    HWND dialog = ::FindWindowW(nullptr, L"Job history");
    if (!dialog) return;
    ::KillTimer(nullptr, timer);
    HWND list = ::FindWindowExW(dialog, nullptr, WC_LISTVIEWW, nullptr);
    HWND day = ::FindWindowExW(dialog, nullptr, WC_COMBOBOXW, nullptr);
    HWND drawing = ::FindWindowExW(dialog, day, WC_COMBOBOXW, nullptr);
    seen.rows_at_first = static_cast<int>(::SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
    NMLISTVIEW click{};
    click.hdr = {list, static_cast<UINT_PTR>(::GetDlgCtrlID(list)), LVN_COLUMNCLICK};
    click.iSubItem = 1;
    for (int k = 0; k < 2; ++k)
        ::SendMessageW(dialog, WM_NOTIFY, click.hdr.idFrom, reinterpret_cast<LPARAM>(&click));
    wchar_t name[64] = L"";
    ::SendMessageW(drawing, CB_GETLBTEXT, 2, reinterpret_cast<LPARAM>(name));
    seen.second_drawing = name;
    ::SendMessageW(drawing, CB_SETCURSEL, 2, 0);
    ::SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(::GetDlgCtrlID(drawing), CBN_SELCHANGE),
                   reinterpret_cast<LPARAM>(drawing));
    seen.rows_filtered = static_cast<int>(::SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
    for (HWND w = ::GetWindow(dialog, GW_CHILD); w; w = ::GetWindow(w, GW_HWNDNEXT)) {
        std::wstring text = text_of(w);
        if (text.find(L"jobs") != std::wstring::npos) seen.totals = text;
        if (text.rfind(L"&Export", 0) == 0)
            ::SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(::GetDlgCtrlID(w), BN_CLICKED),
                           reinterpret_cast<LPARAM>(w));
    }
    ::PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
}

TEST(Win32Table, SortsFiltersAndExportsWhatTheOperatorChose) {
    Source source;
    ::SetTimer(nullptr, 0, 50, operator_acts);
    run_table_dialog(nullptr, "Job history", source);
    EXPECT_EQ(seen.rows_at_first, 2);
    EXPECT_EQ(seen.second_drawing, L"two.dxf");  // the file's name, not its folder
    EXPECT_EQ(seen.rows_filtered, 1);
    EXPECT_EQ(seen.totals, L"1 jobs");
    ASSERT_EQ(source.asked.size(), 4u);  // opened, sorted twice, filtered
    EXPECT_EQ(source.asked[1].column, 1);
    EXPECT_FALSE(source.asked[1].descending);
    EXPECT_TRUE(source.asked[2].descending);
    ASSERT_EQ(source.exported.size(), 1u);
    EXPECT_EQ(source.exported[0].drawing, "C:/signs/two.dxf");
    EXPECT_EQ(source.exported[0].column, 1);
    EXPECT_TRUE(source.exported[0].descending);
}

}  // namespace
