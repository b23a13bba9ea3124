#include "platform/local_time.h"

std::string iso8601_local_time(std::time_t t) {
    std::tm local{};
    ::localtime_r(&t, &local);
    char buf[40];
    if (std::strftime(buf, sizeof buf, "%Y-%m-%dT%H:%M:%S%z", &local) == 0) return "";
    std::string s = buf;
    if (s.size() < 5) return s;
    return s.substr(0, s.size() - 2) + ":" + s.substr(s.size() - 2);  // +0100 -> +01:00
}
