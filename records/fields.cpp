#include "records/fields.h"

#include <cmath>

#include "platform/text.h"

std::string number_text(double v) { return strprintf("%g", v); }

namespace {

std::string kind_fault(double v, Range::Kind kind) {
    switch (kind) {
    case Range::any: return "";
    case Range::not_negative: return v >= 0 ? "" : "it must be 0 or more";
    case Range::positive: return v > 0 ? "" : "it must be more than 0";
    case Range::nonzero: return v != 0 ? "" : "it must not be 0";
    case Range::yes_no: return v == 0 || v == 1 ? "" : "it must be 0 or 1";
    case Range::port: return v >= 1 && v <= 4 ? "" : "it must be 1, 2, 3 or 4";
    case Range::tab: return v >= 0 && v <= 3 ? "" : "it must be 0, 1, 2 or 3";
    case Range::pixels: return std::fabs(v) <= 32767 ? "" : "it must be from -32767 to 32767";
    }
    return "";
}

// The kinds that may have a largest value, with it.
std::string bounded_fault(double v, Range range) {
    std::string most = number_text(range.most);
    bool fits = std::fabs(v) <= range.most && kind_fault(v, range.kind).empty();
    if (fits) return "";
    switch (range.kind) {
    case Range::positive: return "it must be more than 0 and at most " + most;
    case Range::nonzero: return "it must be from -" + most + " to " + most + ", and not 0";
    default: return "it must be from 0 to " + most;
    }
}

}  // namespace

std::string out_of_range(double v, Range range) {
    if (!std::isfinite(v)) return "it must be a number";
    return range.most > 0 ? bounded_fault(v, range) : kind_fault(v, range.kind);
}

std::string range_text(Range range) {
    if (range.kind == Range::any && range.most <= 0) return "it may be any number";
    // The message for a value that no range of its kind allows.
    double outside = range.kind == Range::nonzero ? 0 : range.kind == Range::pixels ? 1e300 : -1;
    return out_of_range(outside, range);
}

namespace {

std::string unreadable(std::string_view text, bool whole) {
    if (split_words(text).empty()) return "is empty";
    float as_real = 0;
    if (whole && read_number(text, as_real))
        return std::string("\"") + std::string(text) + "\" is " +
               (std::fabs(as_real) >= 2147483648.0 ? "too large" : "not a whole number");
    return "\"" + std::string(text) + "\" is not a number";
}

template <typename T>
std::string read_checked(std::string_view text, T& v, Range range) {
    T value{};
    if (!read_number(text, value)) return unreadable(text, std::is_integral_v<T>);
    std::string why = out_of_range(value, range);
    if (!why.empty()) return "is " + number_text(value) + "; " + why;
    v = value;
    return "";
}

}  // namespace

std::string read_in_range(std::string_view text, float& v, Range range) {
    return read_checked(text, v, range);
}

std::string read_in_range(std::string_view text, int32_t& v, Range range) {
    return read_checked(text, v, range);
}

void add_fault(std::string& faults, const std::string& why) {
    faults += (faults.empty() ? "" : "; ") + why;
}
