#pragma once

// The string table and the program's name and version.
inline constexpr const char* kAppName = "zel";
// The program's name as the operator knows it: the caption of its messages.
inline constexpr const char* kProductName = "ZEL";
inline constexpr const char* kVersionText = "ZEL Version 7.0";
