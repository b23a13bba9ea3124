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

// The most a record the program reads back (setup.dat, log.dat, units.dat)
// may hold; each is one short line.
inline constexpr std::size_t kRecordLimit = 64 * 1024;

// Reads the whole file when it is a regular file of at most `limit` bytes.
// False when it cannot be read, is no regular file (a device such as
// /dev/zero, a named pipe) or holds more; `why` then holds the reason, and
// errno is ENOENT only for a file that is not there.
bool read_small_file(const std::string& path, std::size_t limit, std::string& content,
                     std::string& why);

// Why `path` cannot be read as a document: it is a folder, a device, a named
// pipe or a socket (opening some of these would wait for ever or never end).
// Empty for a regular file, and for a path that is not there or cannot be
// looked at, which opening it will report.
std::string not_a_regular_file(const std::string& path);

// Reads the first line of a record, at most `max_chars` characters (the rest
// of a longer line is left unread), without its line end. False when the
// file cannot be read as read_small_file reads it, within kRecordLimit; `why`
// then holds the reason.
bool read_first_line(const std::string& path, std::size_t max_chars, std::string& line,
                     std::string& why);

// Appends `line` to the file at `path` and flushes it to the disk; a new (or
// empty) file gets `header` first. False with the reason in `why`; the file
// is then as it was (a full disk leaves no part of the line).
bool append_line_durably(const std::string& path, const std::string& line,
                         const std::string& header, std::string& why);

// A file of lines whose last line has no line end (a write cut short) loses
// that tail: it is appended to `kept`, with a line end, then cut off. Returns
// how many bytes were moved; 0 when the file ends with a line end, is empty or
// is not there; -1 when the tail could not be moved (`why` says why; the file
// is then as it was).
long move_partial_last_line(const std::string& path, const std::string& kept, std::string& why);

// True when `path` is a file that can be opened for reading.
bool file_is_readable(const std::string& path);

// Keeps the last `copies` versions of a file before it is started afresh:
// name.txt becomes name.1.txt, name.1.txt name.2.txt, and so on; the oldest
// goes. Nothing happens when the file is not there or is not a plain file.
void keep_previous(const std::string& path, int copies);

// A file kept open for appending: each entry goes to the system with one
// write, so it is in the file even if the program is killed right after.
// The file is made when it is missing, at the first entry after a failure too.
class AppendFile {
public:
    AppendFile() = default;
    ~AppendFile() { close(); }
    AppendFile(const AppendFile&) = delete;
    AppendFile& operator=(const AppendFile&) = delete;
    bool append(const std::string& path, std::string_view text);
    void close();

private:
    int fd_ = -1;
    std::string path_;
};

// Takes the lock of `path` (a file made when missing, held with flock) for as
// long as the process lives, and writes the process id into it. False when
// another process holds it: `holder` is then the id that process wrote (0
// when it cannot be read). A file system without locks lets every process
// through, with the reason in `why`.
bool hold_lock_file(const std::string& path, long& holder, std::string& why);

// Renames `from` to `to`, replacing a file of that name; false with errno set.
bool move_file_over(const std::string& from, const std::string& to);

// Creates or truncates `path` and writes `text`.
bool write_new_file(const std::string& path, std::string_view text, std::string& why);

// The system's text for the current errno.
std::string errno_text();
