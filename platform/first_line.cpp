// The first line of a record file, on every system: what the files seam reads.
#include <algorithm>

#include "platform/files.h"

bool read_first_line(const std::string& path, std::size_t max_chars, std::string& line,
                     std::string& why) {
    std::string content;
    if (!read_small_file(path, kRecordLimit, content, why)) return false;
    // As a line buffer of max_chars characters reads it.
    std::size_t end = std::min(content.find('\n'), max_chars - 1) + 1;
    line = content.substr(0, std::min(end, content.size()));
    line = line.substr(0, line.find('\0'));
    while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.pop_back();
    return true;
}
