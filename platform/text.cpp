#include "platform/text.h"

#include <cctype>
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
}  // namespace

bool FieldScanner::next(float& v) {
    if (!ok_) return false;
    p_ = skip_space(p_);
    char* end = nullptr;
    float f = std::strtof(p_, &end);
    if (end == p_) {
        ok_ = false;
        return false;
    }
    v = f;
    p_ = end;
    return true;
}

bool FieldScanner::next(double& v) {
    if (!ok_) return false;
    p_ = skip_space(p_);
    char* end = nullptr;
    double d = std::strtod(p_, &end);
    if (end == p_) {
        ok_ = false;
        return false;
    }
    v = d;
    p_ = end;
    return true;
}

bool FieldScanner::next(int32_t& v) {
    if (!ok_) return false;
    p_ = skip_space(p_);
    char* end = nullptr;
    long long n = std::strtoll(p_, &end, 10);
    if (end == p_) {
        ok_ = false;
        return false;
    }
    if (n > INT32_MAX) n = INT32_MAX;
    if (n < INT32_MIN) n = INT32_MIN;
    v = static_cast<int32_t>(n);
    p_ = end;
    return true;
}
