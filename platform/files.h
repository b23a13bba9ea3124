#pragma once
#include <string>
#include <string_view>

// Replaces the file at `path` with `content` so that a crash or power cut
// leaves either the old or the new content: the text goes to a temporary
// file in the same folder, is flushed to disk and renamed over the old one.
// On failure the old file is untouched and `why` says what went wrong.
bool replace_file(const std::string& path, std::string_view content, std::string& why);

// Removes the temporary files an interrupted replace_file of `path` may have
// left beside it (`path` followed by a dot and six letters or digits).
// Returns how many were removed.
int remove_interrupted_saves(const std::string& path);

// Reads the whole file. False when it cannot be read; `why` then holds the reason.
bool read_whole_file(const std::string& path, std::string& content, std::string& why);

// Why `path` cannot be read as a document: it is a folder, a device, a named
// pipe or a socket (opening some of these would wait for ever or never end).
// Empty for a regular file, and for a path that is not there or cannot be
// looked at, which opening it will report.
std::string not_a_regular_file(const std::string& path);

// Reads the first line of a text file, at most `max_chars` characters
// (the rest of a longer line is left unread), without its line end.
// False when the file cannot be opened; `why` then holds the reason.
bool read_first_line(const std::string& path, std::size_t max_chars, std::string& line,
                     std::string& why);

// Appends `text` to the file at `path`, opening and closing it for this one
// entry so that everything written is in the file even if the program ends.
bool append_to_file(const std::string& path, std::string_view text);

// Creates or truncates `path` and writes `text`.
bool write_new_file(const std::string& path, std::string_view text, std::string& why);

// The system's text for the current errno.
std::string errno_text();
