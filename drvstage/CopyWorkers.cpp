#include "drvstage/CopyWorkers.h"

#include "foundation/platform/FileSystem.h"

#include <algorithm>

namespace {

// Copies of small files spend their time waiting on system calls, which overlap beyond the cores.
constexpr int kThreadsPerCore = 2;
constexpr int kMostThreads = 16;

} // namespace

CopyWorkers::CopyWorkers(int threads) {
    for (int i = 0; threads > 1 && i < threads; ++i)
        threads_.emplace_back([this] { Work(); });
}

CopyWorkers::~CopyWorkers() {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        stopping_ = true;
    }
    workGiven_.notify_all();
    for (std::thread& thread : threads_)
        thread.join();
}

void CopyWorkers::Start(size_t count, std::function<void(size_t)> piece) {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        piece_ = std::move(piece);
        done_.assign(count, 0);
        count_ = count;
        next_ = 0;
    }
    // A worker per piece at most: waking the others, or any for an empty batch, costs a switch for nothing.
    for (size_t i = 0; i < std::min(count, threads_.size()); ++i)
        workGiven_.notify_one();
}

void CopyWorkers::Take(size_t index) {
    std::unique_lock<std::mutex> lock(mutex_);
    if (threads_.empty()) {
        if (done_[index])
            return;
        done_[index] = 1;
        lock.unlock();
        piece_(index);
        return;
    }
    pieceDone_.wait(lock, [&] { return done_[index] != 0; });
}

void CopyWorkers::Finish() {
    std::unique_lock<std::mutex> lock(mutex_);
    next_ = count_;
    pieceDone_.wait(lock, [&] { return underWay_ == 0; });
    piece_ = nullptr;
    count_ = next_ = 0;
}

void CopyWorkers::Work() {
    std::unique_lock<std::mutex> lock(mutex_);
    for (;;) {
        workGiven_.wait(lock, [&] { return HasWork(); });
        if (stopping_)
            return;
        size_t index = next_++;
        ++underWay_;
        lock.unlock();
        piece_(index);
        lock.lock();
        --underWay_;
        done_[index] = 1;
        pieceDone_.notify_all();
    }
}

int CopyThreads(int threads) {
    if (&CurrentFileSystem() != &NativeFileSystem())
        return 1;
    if (threads > 0)
        return threads;
    int cores = static_cast<int>(std::thread::hardware_concurrency());
    return std::clamp(cores * kThreadsPerCore, 1, kMostThreads);
}
