// Work spread over worker threads and taken in the order it was given, so that a run's lines and its first
// failure are those of one piece after another.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

class CopyWorkers {
public:
    // With one thread no worker starts: each piece runs on the caller's thread when it is taken.
    explicit CopyWorkers(int threads);
    ~CopyWorkers();
    CopyWorkers(const CopyWorkers&) = delete;
    CopyWorkers& operator=(const CopyWorkers&) = delete;

    // Hands count pieces to the workers, piece(i) doing the i-th; what they work on stays the caller's,
    // untouched by it until Finish. One batch at a time.
    void Start(size_t count, std::function<void(size_t)> piece);
    // Waits until the piece at index has run.
    void Take(size_t index);
    // Drops the pieces not begun and waits for those under way: after a failure, or when all are taken.
    void Finish();

private:
    void Work();
    bool HasWork() const { return stopping_ || next_ < count_; }

    std::vector<std::thread> threads_;
    std::mutex mutex_;
    std::condition_variable workGiven_;
    std::condition_variable pieceDone_;
    std::function<void(size_t)> piece_;
    std::vector<uint8_t> done_;
    size_t count_ = 0;
    size_t next_ = 0;
    int underWay_ = 0;
    bool stopping_ = false;
};

// The worker threads of a run given /MT:threads (0: chosen from the machine). Work runs one piece after
// another on any file system but the platform's own: a test's recording file system counts on the calls'
// order.
int CopyThreads(int threads);
