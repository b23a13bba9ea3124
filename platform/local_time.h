#pragma once
#include <ctime>
#include <string>

// `t` as local time in ISO 8601 with the offset from UTC, e.g.
// "2024-03-05T14:07:09+01:00"; empty when it cannot be told.
std::string iso8601_local_time(std::time_t t);
