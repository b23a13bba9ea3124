#pragma once
#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>

// Keeps one file at the newest content handed to it, written on a thread of
// its own so that the caller never waits for the disk. Each write replaces
// the file atomically (replace_file), so the file always holds a whole
// content; contents handed over while a write is in flight collapse into the
// newest. The writer owns only copies of what it writes.
class LatestFile {
public:
    LatestFile() = default;
    ~LatestFile();
    LatestFile(const LatestFile&) = delete;
    LatestFile& operator=(const LatestFile&) = delete;

    // Hands `content` for `path` to the writer; any content still waiting is
    // dropped for it. With `wake` false the writer is not woken now but at the
    // next wake(), when the caller is about to wait anyway.
    void hand(const std::string& path, std::string content, bool wake = true);
    void wake();
    // Returns once everything handed over has been written, or has failed.
    void flush();
    // Why the last write failed; empty when it succeeded.
    std::string failure() const;
    // Nothing is waiting to be written and no write is under way.
    bool settled() const;
    // Writes made so far (tests).
    long writes() const;

private:
    void run();

    mutable std::mutex mutex_;
    std::condition_variable wake_, done_;
    std::thread thread_;
    std::string path_, content_;
    bool waiting_ = false;   // content_ has not been taken yet
    bool woken_ = false;     // the writer may take it
    bool writing_ = false;
    bool stopping_ = false;
    std::string failure_;
    long writes_ = 0;
};
