#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// printf-style formatting into a string of whatever length the result needs.
#ifdef __MINGW32__
// MinGW's own C99 printf (__USE_MINGW_ANSI_STDIO), not the system's.
#define ZEL_PRINTF_FORMAT gnu_printf
#else
#define ZEL_PRINTF_FORMAT printf
#endif
std::string strprintf(const char* format, ...) __attribute__((format(ZEL_PRINTF_FORMAT, 1, 2)));

// Reads numbers from a line the way the C library's formatted scanning does
// ("%f%d..."): each field skips leading white space; the first field that is
// not a number stops the scan, and it and every later field are left as they
// were. Integers out of range are clamped instead of being undefined.
class FieldScanner {
public:
    explicit FieldScanner(const char* text) : p_(text) {}
    bool next(float& v);
    bool next(double& v);
    bool next(int32_t& v);
    bool ok() const { return ok_; }

private:
    template <typename T>
    bool scan(T& v);
    const char* p_;
    bool ok_ = true;
};

// One field on its own, as a dialog's edit control is read: false (and `v`
// unchanged) when the text does not start with a number.
template <typename T>
bool scan_one(const std::string& text, T& v) {
    FieldScanner s(text.c_str());
    return s.next(v);
}

// The words of a line: its runs of characters between blanks.
std::vector<std::string> split_words(std::string_view line);

// The whole of `text`, blanks around it aside, as one number: false (and `v`
// unchanged) when it is empty, holds anything more than the number, is not
// finite, or (a whole number) does not fit in 32 bits.
bool read_number(std::string_view text, float& v);
bool read_number(std::string_view text, int32_t& v);

// A code point as UTF-8.
std::string utf8(char32_t c);

// A short fingerprint of `data` (64-bit FNV-1a, 16 hex digits): two texts
// that differ almost surely differ in it.
std::string digest(std::string_view data);
