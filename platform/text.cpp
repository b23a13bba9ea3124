#include "platform/text.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cmath>
#include <climits>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <vector>

std::string strprintf(const char* format, ...) {
    va_list args;
    va_start(args, format);
    va_list again;
    va_copy(again, args);
    int n = std::vsnprintf(nullptr, 0, format, args);
    va_end(args);
    std::string out;
    if (n > 0) {
        std::vector<char> buf(static_cast<std::size_t>(n) + 1);
        std::vsnprintf(buf.data(), buf.size(), format, again);
        out.assign(buf.data(), static_cast<std::size_t>(n));
    }
    va_end(again);
    return out;
}

namespace {

const char* skip_space(const char* p) {
    while (*p && std::isspace(static_cast<unsigned char>(*p))) ++p;
    return p;
}

float parse(const char* p, char** end, float*) { return std::strtof(p, end); }
double parse(const char* p, char** end, double*) { return std::strtod(p, end); }
int32_t parse(const char* p, char** end, int32_t*) {
    long long n = std::strtoll(p, end, 10);
    return static_cast<int32_t>(std::clamp<long long>(n, INT32_MIN, INT32_MAX));
}

}  // namespace

template <typename T>
bool FieldScanner::scan(T& v) {
    if (!ok_) return false;
    p_ = skip_space(p_);
    char* end = nullptr;
    T value = parse(p_, &end, static_cast<T*>(nullptr));
    if (end == p_) {
        ok_ = false;
        return false;
    }
    v = value;
    p_ = end;
    return true;
}

bool FieldScanner::next(float& v) { return scan(v); }
bool FieldScanner::next(double& v) { return scan(v); }
bool FieldScanner::next(int32_t& v) { return scan(v); }

std::vector<std::string> split_words(std::string_view line) {
    std::vector<std::string> words;
    std::size_t at = 0;
    for (;;) {
        while (at < line.size() && std::isspace(static_cast<unsigned char>(line[at]))) ++at;
        if (at == line.size()) return words;
        std::size_t end = at;
        while (end < line.size() && !std::isspace(static_cast<unsigned char>(line[end]))) ++end;
        words.emplace_back(line.substr(at, end - at));
        at = end;
    }
}

namespace {

// `text` without the blanks around it, as a C string for strtof and strtoll.
std::string trimmed(std::string_view text) {
    std::vector<std::string> words = split_words(text);
    return words.size() == 1 ? words[0] : std::string();
}

}  // namespace

bool read_number(std::string_view text, float& v) {
    std::string t = trimmed(text);
    if (t.empty()) return false;
    char* end = nullptr;
    float value = std::strtof(t.c_str(), &end);
    if (*end != '\0' || !std::isfinite(value)) return false;
    v = value;
    return true;
}

bool read_number(std::string_view text, int32_t& v) {
    std::string t = trimmed(text);
    if (t.empty()) return false;
    char* end = nullptr;
    errno = 0;
    long long value = std::strtoll(t.c_str(), &end, 10);
    if (*end != '\0' || errno == ERANGE || value < INT32_MIN || value > INT32_MAX) return false;
    v = static_cast<int32_t>(value);
    return true;
}

std::string digest(std::string_view data) {
    uint64_t h = 14695981039346656037ull;
    for (unsigned char c : data) {
        h ^= c;
        h *= 1099511628211ull;
    }
    return strprintf("%016llx", static_cast<unsigned long long>(h));
}

std::string utf8(char32_t c) {
    std::string s;
    if (c < 0x80) {
        s += static_cast<char>(c);
    } else if (c < 0x800) {
        s += static_cast<char>(0xC0 | (c >> 6));
        s += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        s += static_cast<char>(0xE0 | (c >> 12));
        s += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        s += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        s += static_cast<char>(0xF0 | (c >> 18));
        s += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        s += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        s += static_cast<char>(0x80 | (c & 0x3F));
    }
    return s;
}
