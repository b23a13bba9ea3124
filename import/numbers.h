#pragma once
#include <charconv>
#include <string>

#include "platform/text.h"

// A word of a drawing line as a number, the way formatted scanning reads it;
// `v` is left as it was when the word is none. Plain decimal numbers, nearly
// all a drawing holds, take the fast way; the same value comes out either way
// (both round to nearest). `word` ends with a NUL after `length` characters.
template <typename T>
bool scan_word(const char* word, int length, T& v) {
    const char* end = word + length;
    const char* digits = word + (word[0] == '-');
    bool plain = (*digits >= '0' && *digits <= '9') || *digits == '.';
    bool hex = digits[0] == '0' && (digits[1] == 'x' || digits[1] == 'X');
    if (plain && !hex) {
        T x;
        if (std::from_chars(word, end, x).ec == std::errc{}) {
            v = x;
            return true;
        }
    }
    return scan_one(std::string(word, end), v);
}
