// File copies on worker threads whose results are taken in the order the copies were given, so that a
// run's lines and its first failure are those of one copy after another.
#pragma once

#include "foundation/CString.h"
#include "foundation/FileOperations.h"

#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <thread>
#include <vector>

struct FileCopy {
    FileCopy(const CString& from, const CString& to, bool onlyWhenChanged = false)
        : source(from), destination(to), whenChanged(onlyWhenChanged) {}

    CString source;
    CString destination;
    bool whenChanged = false; // left alone when the destination has the source's size and time
    // The outcome, once taken.
    bool current = false; // whenChanged, and the destination was current: nothing was written
    bool copied = false;
    FileFailure failure;
};

// A copy is current when it has the source's size and modification time, as a copy sets them.
bool IsCurrentCopy(const CString& source, const CString& destination);

class CopyWorkers {
public:
    // With one thread no worker starts: each copy is made on the caller's thread when it is taken.
    explicit CopyWorkers(int threads);
    ~CopyWorkers();
    CopyWorkers(const CopyWorkers&) = delete;
    CopyWorkers& operator=(const CopyWorkers&) = delete;

    // Hands a folder's copies to the workers; copies stays the caller's, untouched until Finish.
    void Start(std::vector<FileCopy>& copies);
    // Whether the copy at index (one made whenChanged) was left alone as current: waits for it. Asked
    // before Take, so that with one thread the check, the caller's line and the copy come in that order.
    bool IsCurrent(size_t index);
    // The copy at index, made: waits for it.
    const FileCopy& Take(size_t index);
    // Drops the copies not begun, and waits for those under way: after a failure, or when all are taken.
    void Finish();

private:
    void Work();
    void WaitFor(size_t index);
    bool HasWork() const { return stopping_ || (copies_ && next_ < copies_->size()); }

    std::vector<std::thread> threads_;
    std::mutex mutex_;
    std::condition_variable workGiven_;
    std::condition_variable copyDone_;
    std::vector<FileCopy>* copies_ = nullptr;
    std::vector<uint8_t> done_;
    size_t next_ = 0;
    int underWay_ = 0;
    bool stopping_ = false;
};

// The worker threads of a run given /MT:threads (0: chosen from the machine). Copies are made one after
// another on any file system but the platform's own: a test's recording file system counts on the calls'
// order.
int CopyThreads(int threads);
