#include "platform/latest_file.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <sys/resource.h>
#include <unistd.h>
#endif

#include "platform/files.h"

LatestFile::~LatestFile() {
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    wake_.notify_all();
    if (thread_.joinable()) thread_.join();
}

void LatestFile::hand(const std::string& path, std::string content, bool wake_now) {
    {
        std::lock_guard lock(mutex_);
        path_ = path;
        content_ = std::move(content);
        waiting_ = true;
        if (!thread_.joinable()) thread_ = std::thread(&LatestFile::run, this);
    }
    if (wake_now) wake();
}

void LatestFile::wake() {
    {
        std::lock_guard lock(mutex_);
        if (!waiting_ || woken_) return;
        woken_ = true;
    }
    wake_.notify_one();
}

void LatestFile::flush() {
    wake();
    std::unique_lock lock(mutex_);
    done_.wait(lock, [this] { return !waiting_ && !writing_; });
}

std::string LatestFile::failure() const {
    std::lock_guard lock(mutex_);
    return failure_;
}

bool LatestFile::settled() const {
    std::lock_guard lock(mutex_);
    return !waiting_ && !writing_;
}

long LatestFile::writes() const {
    std::lock_guard lock(mutex_);
    return writes_;
}

void LatestFile::run() {
    // Behind the machine's work: the thread that talks to the controller goes
    // first when the two want the same processor.
#ifdef _WIN32
    ::SetThreadPriority(::GetCurrentThread(), THREAD_PRIORITY_BELOW_NORMAL);
#else
    ::setpriority(PRIO_PROCESS, static_cast<id_t>(::gettid()), 10);
#endif
    std::unique_lock lock(mutex_);
    for (;;) {
        wake_.wait(lock, [this] { return (waiting_ && woken_) || stopping_; });
        // Whatever is waiting is written before the writer stops.
        if (!waiting_) return;
        std::string path = path_, content = std::move(content_);
        waiting_ = false;
        woken_ = false;
        writing_ = true;
        lock.unlock();
        std::string why;
        bool ok = replace_file(path, content, why);
        lock.lock();
        writing_ = false;
        ++writes_;
        failure_ = ok ? "" : why;
        done_.notify_all();
    }
}
