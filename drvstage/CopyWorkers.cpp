#include "drvstage/CopyWorkers.h"

#include "foundation/platform/FileSystem.h"

#include <algorithm>

namespace {

// Copies of small files spend their time waiting on system calls, which overlap beyond the cores.
constexpr int kThreadsPerCore = 2;
constexpr int kMostThreads = 16;

void MakeCopy(FileCopy& copy) {
    if (copy.whenChanged && IsCurrentCopy(copy.source, copy.destination)) {
        copy.current = true;
        return;
    }
    copy.copied = CopyOneFile(copy.source, copy.destination, &copy.failure);
}

} // namespace

bool IsCurrentCopy(const CString& source, const CString& destination) {
    FileSystem& fileSystem = CurrentFileSystem();
    uint64_t sourceSize = 0;
    uint64_t destinationSize = 0;
    FileTimes sourceTimes;
    FileTimes destinationTimes;
    return fileSystem.FileSize(destination.Str(), destinationSize) &&
           fileSystem.FileSize(source.Str(), sourceSize) && sourceSize == destinationSize &&
           fileSystem.GetFileTimes(destination.Str(), destinationTimes) &&
           fileSystem.GetFileTimes(source.Str(), sourceTimes) &&
           sourceTimes.modificationNanoseconds == destinationTimes.modificationNanoseconds;
}

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

void CopyWorkers::Start(std::vector<FileCopy>& copies) {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        copies_ = &copies;
        done_.assign(copies.size(), 0);
        next_ = 0;
    }
    workGiven_.notify_all();
}

bool CopyWorkers::IsCurrent(size_t index) {
    FileCopy& copy = (*copies_)[index];
    if (threads_.empty())
        copy.current = IsCurrentCopy(copy.source, copy.destination);
    else
        WaitFor(index);
    return copy.current;
}

const FileCopy& CopyWorkers::Take(size_t index) {
    FileCopy& copy = (*copies_)[index];
    if (threads_.empty())
        copy.copied = CopyOneFile(copy.source, copy.destination, &copy.failure);
    else
        WaitFor(index);
    return copy;
}

void CopyWorkers::WaitFor(size_t index) {
    std::unique_lock<std::mutex> lock(mutex_);
    copyDone_.wait(lock, [&] { return done_[index] != 0; });
}

void CopyWorkers::Finish() {
    std::unique_lock<std::mutex> lock(mutex_);
    if (copies_)
        next_ = copies_->size();
    copyDone_.wait(lock, [&] { return underWay_ == 0; });
    copies_ = nullptr;
}

void CopyWorkers::Work() {
    std::unique_lock<std::mutex> lock(mutex_);
    for (;;) {
        workGiven_.wait(lock, [&] { return HasWork(); });
        if (stopping_)
            return;
        size_t index = next_++;
        FileCopy& copy = (*copies_)[index];
        ++underWay_;
        lock.unlock();
        MakeCopy(copy);
        lock.lock();
        --underWay_;
        done_[index] = 1;
        copyDone_.notify_all();
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
