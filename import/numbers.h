#pragma once
#include <cerrno>
#include <charconv>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <string>

#include "platform/text.h"

// Words of a drawing line as numbers.

// The longest word the reader took in full before values were read to their
// end; the line scanner still matches group codes and keywords on this much.
inline constexpr int kShortWord = 23;

namespace number_detail {

inline float parse(const char* s, char** end, float*) { return std::strtof(s, end); }
inline double parse(const char* s, char** end, double*) { return std::strtod(s, end); }
inline int parse(const char* s, char** end, int*) {
    long long v = std::strtoll(s, end, 10);
    return v < INT_MIN ? INT_MIN : v > INT_MAX ? INT_MAX : static_cast<int>(v);
}

}  // namespace number_detail

// The whole word as a number, as the C library's scanning reads it: false
// (and `v` left as it was) when the word is empty or anything in it is left
// over ("abc", "1.2.3x", "1e"). Plain decimal numbers, nearly all a drawing
// holds, take the fast way; the same value comes out either way (both round
// to nearest).
template <typename T>
bool scan_number(const char* word, int length, T& v) {
    if (length <= 0) return false;
    const char* end = word + length;
    const char* digits = word + (word[0] == '-');
    bool plain = digits < end && ((*digits >= '0' && *digits <= '9') || *digits == '.');
    bool hex = digits + 1 < end && digits[0] == '0' && (digits[1] == 'x' || digits[1] == 'X');
    if (plain && !hex) {
        T x;
        auto r = std::from_chars(word, end, x);
        if (r.ec == std::errc{} && r.ptr == end) {
            v = x;
            return true;
        }
    }
    char text[128];
    if (length >= static_cast<int>(sizeof text)) return false;
    std::memcpy(text, word, static_cast<std::size_t>(length));
    text[length] = '\0';
    char* stop = nullptr;
    T x = number_detail::parse(text, &stop, static_cast<T*>(nullptr));
    if (stop != text + length) return false;
    v = x;
    return true;
}

// Whether the characters of a long word past kShortWord are only digits of
// a decimal fraction beyond what a double holds: the word up to there is a
// plain decimal with a point and at least 17 significant digits.
inline bool only_spare_digits_past_short(const char* word, int length) {
    const char* p = word + (word[0] == '-' || word[0] == '+');
    const char* cut = word + kShortWord;
    bool point = false;
    int significant = 0;
    for (; p < cut; ++p) {
        if (*p == '.' && !point) point = true;
        else if (*p < '0' || *p > '9') return false;
        else if (significant > 0 || *p != '0') ++significant;
    }
    for (p = cut; p < word + length; ++p)
        if (*p < '0' || *p > '9') return false;
    return point && significant >= 17;
}

// A value word as the reader takes it: in full, except that a long decimal
// whose characters past kShortWord only add digits beyond double precision
// is read to kShortWord characters, as values always were.
template <typename T>
bool scan_value(const char* word, int length, T& v) {
    if (length > kShortWord && only_spare_digits_past_short(word, length)) length = kShortWord;
    return scan_number(word, length, v);
}
