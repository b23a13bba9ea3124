#pragma once
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// What a number in setup.dat or log.dat, or in a dialog that edits one, may be.
struct Range {
    enum Kind {
        any,           // any finite number
        not_negative,  // a distance or a count: 0 or more
        positive,      // more than 0
        nonzero,       // anything but 0
        yes_no,        // 0 (no) or 1 (yes)
        port,          // 1 to 4: COM1 to COM4
        tab,           // 0 to 3
        pixels,        // a place in the window, -32767 to 32767
    };
    // `largest`, for a distance or a count (`not_negative`, `positive` or
    // `nonzero`, where it bounds either way): 0 for none.
    Range(Kind k, double largest = 0) : kind(k), most(largest) {}
    Kind kind;
    double most;
};

// A value as the messages show it.
std::string number_text(double v);

// Why `v` is outside `range` ("it must be 1, 2, 3 or 4"); empty when inside.
std::string out_of_range(double v, Range range);

// What `range` allows, as its messages say it: "it must be from 0 to 120".
std::string range_text(Range range);

// Reads `text` as a number in `range`. Empty when `v` took it; else what is
// wrong, worded to follow the field's name ("is 7; it must be 1, 2, 3 or 4",
// "\"abc\" is not a number"), and `v` is unchanged.
std::string read_in_range(std::string_view text, float& v, Range range);
std::string read_in_range(std::string_view text, int32_t& v, Range range);

// One number of a record (the settings, the counters) as its file and its
// dialog hold it.
template <typename Record>
struct Field {
    const char* label;           // as its dialog names it; every message names it so
    int control;                 // its edit control in the dialog; 0 when not shown
    float Record::*real;         // the member it fills: one of these two
    int32_t Record::*whole;
    Range range;
};

// Reads `text` into field `f` of `r`: empty when taken, else "<label> <what is wrong>".
template <typename Record>
std::string take(const Field<Record>& f, std::string_view text, Record& r) {
    std::string why = f.real ? read_in_range(text, r.*f.real, f.range)
                             : read_in_range(text, r.*f.whole, f.range);
    return why.empty() ? why : std::string(f.label) + " " + why;
}

// Checks the value field `f` holds in `r`: empty when it is in range.
template <typename Record>
std::string range_fault(const Field<Record>& f, const Record& r) {
    double v = f.real ? static_cast<double>(r.*f.real) : r.*f.whole;
    std::string why = out_of_range(v, f.range);
    return why.empty() ? why : std::string(f.label) + " is " + number_text(v) + "; " + why;
}

// Adds `why` to a list of faults, "; " between them.
void add_fault(std::string& faults, const std::string& why);

// Reads the words of a record's file line into `r`, field by field, as far as
// both go; every fault, each after "field <n>, " when `numbered`.
template <typename Record, std::size_t N>
std::string take_words(const std::array<Field<Record>, N>& fields,
                       const std::vector<std::string>& words, Record& r, bool numbered) {
    std::string faults;
    for (std::size_t k = 0; k < N && k < words.size(); ++k) {
        std::string why = take(fields[k], words[k], r);
        if (!why.empty())
            add_fault(faults, (numbered ? "field " + std::to_string(k + 1) + ", " : "") + why);
    }
    return faults;
}
