#include "windows/table_dialog.h"

#include <algorithm>
#include <commctrl.h>
#include <tuple>
#include <vector>

#include "windows/dialog.h"

namespace {

enum : int { kDayLabel = 100, kDay, kDrawingLabel, kDrawing, kList, kTotals, kExport };
constexpr int kWidestColumn = 240;  // pixels; a longer text is cut short

struct Table {
    TableSource& source;
    TableChoice choice;
    std::vector<std::string> days, drawings;  // what each filter's entries after "Every ..." stand for
    bool filled = false;
};

std::string file_name(const std::string& path) {
    return path.substr(path.find_last_of("/\\") + 1);
}

void fill_filters(HWND dialog, Table& t, const TableContent& c) {
    t.days = c.days;
    t.drawings = c.drawings;
    for (auto [id, every, values, named] :
         {std::tuple{kDay, L"Every day", &t.days, false},
          std::tuple{kDrawing, L"Every drawing", &t.drawings, true}}) {
        HWND box = ::GetDlgItem(dialog, id);
        ::SendMessageW(box, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(every));
        for (const std::string& v : *values)
            ::SendMessageW(box, CB_ADDSTRING, 0,
                           reinterpret_cast<LPARAM>(widen(named ? file_name(v) : v).c_str()));
        ::SendMessageW(box, CB_SETCURSEL, 0, 0);
    }
}

void fill(HWND dialog, Table& t) {
    TableContent c = t.source.content(t.choice);
    HWND list = ::GetDlgItem(dialog, kList);
    if (!t.filled) {
        fill_filters(dialog, t, c);
        for (std::size_t k = 0; k < c.headings.size(); ++k) {
            std::wstring heading = widen(c.headings[k]);
            LVCOLUMNW column{};
            column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
            column.pszText = heading.data();
            column.cx = 80;
            column.iSubItem = static_cast<int>(k);
            ::SendMessageW(list, LVM_INSERTCOLUMNW, k, reinterpret_cast<LPARAM>(&column));
        }
    }
    ::SendMessageW(list, WM_SETREDRAW, FALSE, 0);
    ::SendMessageW(list, LVM_DELETEALLITEMS, 0, 0);
    for (std::size_t r = 0; r < c.rows.size(); ++r)
        for (std::size_t k = 0; k < c.rows[r].size(); ++k) {
            std::wstring text = widen(c.rows[r][k]);
            LVITEMW item{};
            item.mask = LVIF_TEXT;
            item.iItem = static_cast<int>(r);
            item.iSubItem = static_cast<int>(k);
            item.pszText = text.data();
            ::SendMessageW(list, k == 0 ? LVM_INSERTITEMW : LVM_SETITEMTEXTW, r,
                           reinterpret_cast<LPARAM>(&item));
        }
    // The heading sorted by shows its arrow.
    HWND header = reinterpret_cast<HWND>(::SendMessageW(list, LVM_GETHEADER, 0, 0));
    for (std::size_t k = 0; k < c.headings.size(); ++k) {
        HDITEMW h{};
        h.mask = HDI_FORMAT;
        ::SendMessageW(header, HDM_GETITEMW, k, reinterpret_cast<LPARAM>(&h));
        h.fmt &= ~(HDF_SORTUP | HDF_SORTDOWN);
        if (static_cast<int>(k) == t.choice.column) h.fmt |= t.choice.descending ? HDF_SORTDOWN : HDF_SORTUP;
        ::SendMessageW(header, HDM_SETITEMW, k, reinterpret_cast<LPARAM>(&h));
    }
    if (!t.filled) {
        // Each column as wide as its heading and its widest text, up to kWidestColumn.
        auto width_of = [&](const std::string& text) {
            return static_cast<int>(::SendMessageW(list, LVM_GETSTRINGWIDTHW, 0,
                                                   reinterpret_cast<LPARAM>(widen(text).c_str())));
        };
        for (std::size_t k = 0; k < c.headings.size(); ++k) {
            int w = width_of(c.headings[k]);
            for (const auto& row : c.rows)
                if (k < row.size()) w = std::max(w, width_of(row[k]));
            ::SendMessageW(list, LVM_SETCOLUMNWIDTH, k, std::min(w + 16, kWidestColumn));
        }
    }
    ::SetDlgItemTextW(dialog, kTotals, widen(c.totals).c_str());
    ::SendMessageW(list, WM_SETREDRAW, TRUE, 0);
    ::InvalidateRect(list, nullptr, TRUE);
    t.filled = true;
}

// Made in the order the Tab key and the mnemonics follow.
void make_controls(HWND dialog) {
    HINSTANCE instance = ::GetModuleHandleW(nullptr);
    HFONT font = reinterpret_cast<HFONT>(::SendMessageW(dialog, WM_GETFONT, 0, 0));
    struct {
        int id;
        const wchar_t* cls;
        const wchar_t* text;
        DWORD style;
    } controls[] = {
        {kDayLabel, L"STATIC", L"&Day:", SS_LEFT},
        {kDay, WC_COMBOBOXW, L"", CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP},
        {kDrawingLabel, L"STATIC", L"D&rawing:", SS_LEFT},
        {kDrawing, WC_COMBOBOXW, L"", CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP},
        {kList, WC_LISTVIEWW, L"", LVS_REPORT | LVS_SHOWSELALWAYS | WS_BORDER | WS_TABSTOP},
        {kTotals, L"STATIC", L"", SS_LEFT | SS_NOPREFIX},
        {kExport, L"BUTTON", L"&Export shown as CSV...", BS_PUSHBUTTON | WS_TABSTOP},
        {IDCANCEL, L"BUTTON", L"Close", BS_DEFPUSHBUTTON | WS_TABSTOP},
    };
    for (const auto& c : controls) {
        HWND w = ::CreateWindowExW(0, c.cls, c.text, WS_CHILD | WS_VISIBLE | c.style, 0, 0, 10, 10,
                                   dialog, reinterpret_cast<HMENU>(static_cast<INT_PTR>(c.id)),
                                   instance, nullptr);
        ::SendMessageW(w, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    }
    ::SendMessageW(::GetDlgItem(dialog, kList), LVM_SETEXTENDEDLISTVIEWSTYLE, 0,
                   LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES);
}

void lay_out(HWND dialog, int w, int h) {
    constexpr int m = 8, row = 24, button_w = 160;
    auto place = [&](int id, int x, int y, int cx, int cy) {
        ::MoveWindow(::GetDlgItem(dialog, id), x, y, cx, cy, TRUE);
    };
    place(kDayLabel, m, m + 4, 40, 16);
    place(kDay, m + 44, m, 130, 300);
    place(kDrawingLabel, m + 190, m + 4, 60, 16);
    place(kDrawing, m + 254, m, 240, 300);
    int bottom = h - m - row;
    place(kList, m, m + row + 6, w - 2 * m, std::max(bottom - m - row - 12, 0));
    place(kTotals, m, bottom + 4, std::max(w - 3 * m - button_w - 90, 0), 16);
    place(kExport, w - 2 * m - button_w - 80, bottom, button_w, row);
    place(IDCANCEL, w - m - 80, bottom, 80, row);
}

// Resizable, 1000 x 560 or as much of that as the screen holds, over the middle of its owner.
void show_centred(HWND dialog) {
    ::SetWindowLongPtrW(dialog, GWL_STYLE, ::GetWindowLongPtrW(dialog, GWL_STYLE) | WS_THICKFRAME);
    RECT screen{}, owner{};
    ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &screen, 0);
    HWND parent = ::GetWindow(dialog, GW_OWNER);
    if (!parent || !::GetWindowRect(parent, &owner)) owner = screen;
    int w = std::min(1000, static_cast<int>(screen.right - screen.left));
    int h = std::min(560, static_cast<int>(screen.bottom - screen.top));
    int x = std::clamp(static_cast<int>(owner.left + owner.right - w) / 2,
                       static_cast<int>(screen.left), static_cast<int>(screen.right) - w);
    int y = std::clamp(static_cast<int>(owner.top + owner.bottom - h) / 2,
                       static_cast<int>(screen.top), static_cast<int>(screen.bottom) - h);
    ::SetWindowPos(dialog, nullptr, x, y, w, h, SWP_NOZORDER | SWP_FRAMECHANGED);
}

INT_PTR CALLBACK table_proc(HWND dialog, UINT message, WPARAM wp, LPARAM lp) {
    auto* t = reinterpret_cast<Table*>(::GetWindowLongPtrW(dialog, DWLP_USER));
    switch (message) {
    case WM_INITDIALOG:
        ::SetWindowLongPtrW(dialog, DWLP_USER, lp);
        make_controls(dialog);
        fill(dialog, *reinterpret_cast<Table*>(lp));
        show_centred(dialog);
        return TRUE;
    case WM_SIZE: lay_out(dialog, LOWORD(lp), HIWORD(lp)); return TRUE;
    case WM_NOTIFY: {
        const auto* n = reinterpret_cast<const NMLISTVIEW*>(lp);
        if (n->hdr.idFrom != kList || n->hdr.code != LVN_COLUMNCLICK) return FALSE;
        t->choice.descending = n->iSubItem == t->choice.column && !t->choice.descending;
        t->choice.column = n->iSubItem;
        fill(dialog, *t);
        return TRUE;
    }
    case WM_COMMAND:
        if (HIWORD(wp) == CBN_SELCHANGE) {
            auto picked = [&](int id, const std::vector<std::string>& values) {
                auto k = ::SendMessageW(::GetDlgItem(dialog, id), CB_GETCURSEL, 0, 0);
                return k > 0 && static_cast<std::size_t>(k) <= values.size() ? values[k - 1] : "";
            };
            t->choice.day = picked(kDay, t->days);
            t->choice.drawing = picked(kDrawing, t->drawings);
            fill(dialog, *t);
        } else if (LOWORD(wp) == kExport) {
            t->source.export_rows(t->choice);
        } else if (LOWORD(wp) == IDCANCEL || LOWORD(wp) == IDOK) {
            ::EndDialog(dialog, 0);
        }
        return TRUE;
    case WM_CLOSE: ::EndDialog(dialog, 0); return TRUE;
    default: return FALSE;
    }
}

}  // namespace

void run_table_dialog(HWND owner, const std::string& title, TableSource& source) {
    DialogTemplate frame{0, title.c_str(), 500, 280, "MS Shell Dlg", 8, {}};
    std::vector<uint16_t> words = dialog_template_words(frame);
    Table table{source, {}, {}, {}, false};
    ::DialogBoxIndirectParamW(::GetModuleHandleW(nullptr),
                              reinterpret_cast<LPCDLGTEMPLATEW>(words.data()), owner, table_proc,
                              reinterpret_cast<LPARAM>(&table));
}
