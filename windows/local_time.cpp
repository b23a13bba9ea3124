// platform/local_time.h on Windows, whose strftime names the time zone for
// %z instead of giving the offset: the offset is the local time read as UTC
// less the time itself.
#include "platform/local_time.h"

#include <cstdio>
#include <cstdlib>

std::string iso8601_local_time(std::time_t t) {
    std::tm local{};
    if (::localtime_s(&local, &t) != 0) return "";
    std::tm copy = local;
    long offset = static_cast<long>(::_mkgmtime(&copy) - t);
    char buf[40];
    if (std::strftime(buf, sizeof buf, "%Y-%m-%dT%H:%M:%S", &local) == 0) return "";
    long minutes = std::labs(offset) / 60;
    std::snprintf(buf + 19, sizeof buf - 19, "%c%02ld:%02ld", offset < 0 ? '-' : '+', minutes / 60,
                  minutes % 60);
    return buf;
}
