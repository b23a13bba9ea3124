#pragma once

// The string table and the program's name and version.
inline constexpr const char* kAppName = "zel";
inline constexpr const char* kVersionText = "ZEL Version 7.0";
