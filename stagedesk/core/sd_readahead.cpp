#include "stagedesk/core/sd_readahead.h"

#include "stagedesk/core/sd_sha256.h"

sd_ReadAhead::sd_ReadAhead(sd_platform& platform) : platform_(platform) {
    for (int i = 0; i < kThreads; ++i)
        threads_.emplace_back([this] { Work(); });
}

sd_ReadAhead::~sd_ReadAhead() {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        ending_ = true;
    }
    changed_.notify_all();
    for (std::thread& thread : threads_)
        thread.join();
    for (Slot& slot : slots_)
        Discard(std::move(slot.read));
}

void sd_ReadAhead::Announce(const QStringList& sources, const QStringList& targets) {
    std::deque<Slot> dropped;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        sources_ = sources;
        targets_ = targets;
        next_ = 0;
        dropped.swap(slots_);
        bytesHeld_ = 0;
        ++announced_;
        refilling_ = false;
    }
    changed_.notify_all();
    for (Slot& slot : dropped)
        Discard(std::move(slot.read));
}

bool sd_ReadAhead::Full() const {
    return slots_.size() >= size_t(kFiles) || bytesHeld_ >= kBytes;
}

void sd_ReadAhead::NoteWhenFull() {
    refilling_ = refilling_ || Full();
}

bool sd_ReadAhead::MayRead() const {
    if (next_ + qsizetype(slots_.size()) >= sources_.size())
        return false;
    if (refilling_)
        return slots_.size() <= size_t(kFiles / 2) && bytesHeld_ <= kBytes / 2;
    return !Full();
}

std::vector<sd_ReadAhead::Started> sd_ReadAhead::ReadBatch() {
    std::vector<Started> batch;
    qint64 bytes = 0;
    std::unique_lock<std::mutex> lock(mutex_);
    changed_.wait(lock, [this] { return ending_ || MayRead(); });
    if (ending_)
        return batch;
    refilling_ = false;
    do {
        Started started;
        started.index = next_ + qsizetype(slots_.size());
        started.announced = announced_;
        started.target = targets_[started.index];
        const QString source = sources_[started.index];
        slots_.emplace_back();
        NoteWhenFull();
        lock.unlock();
        started.read = std::make_unique<sd_SourceRead>();
        if (!platform_.ReadSource(source, kLargestFile, *started.read))
            started.read.reset();
        bytes += started.read ? started.read->bytes.size() : 0;
        batch.push_back(std::move(started));
        lock.lock();
    } while (batch.size() < size_t(kBatchFiles) && bytes < kBatchBytes && !ending_ && MayRead());
    return batch;
}

void sd_ReadAhead::HashAndWrite(sd_SourceRead& read, const QString& target) {
    sd_Sha256 hash;
    hash.Update(read.bytes.constData(), read.bytes.size());
    read.sha256 = hash.HexDigest();
    platform_.WriteAhead(read, target); // when it cannot, the copy writes the bytes in its turn
}

void sd_ReadAhead::Publish(std::vector<Started>& batch) {
    std::vector<Started> dropped;
    std::unique_lock<std::mutex> lock(mutex_);
    for (Started& started : batch) {
        if (started.announced != announced_) {
            dropped.push_back(std::move(started));
            continue;
        }
        Slot& slot = slots_[size_t(started.index - next_)];
        bytesHeld_ += started.read ? started.read->bytes.size() : 0;
        slot.read = std::move(started.read);
        slot.done = true;
    }
    NoteWhenFull();
    const bool awaited = takerWaits_ && !slots_.empty() && slots_.front().done;
    lock.unlock();
    for (Started& started : dropped)
        Discard(std::move(started.read));
    if (awaited)
        changed_.notify_all();
}

void sd_ReadAhead::Work() {
    for (;;) {
        std::unique_lock<std::mutex> reading(reading_);
        std::vector<Started> batch = ReadBatch();
        reading.unlock();
        if (batch.empty())
            return;
        for (Started& started : batch) {
            if (started.read)
                HashAndWrite(*started.read, started.target);
        }
        Publish(batch);
    }
}

std::unique_ptr<sd_SourceRead> sd_ReadAhead::Take(const QString& source) {
    std::unique_lock<std::mutex> lock(mutex_);
    if (next_ >= sources_.size() || sources_[next_] != source)
        return nullptr;
    takerWaits_ = true;
    changed_.wait(lock, [this] { return !slots_.empty() && slots_.front().done; });
    takerWaits_ = false;
    std::unique_ptr<sd_SourceRead> read = std::move(slots_.front().read);
    slots_.pop_front();
    ++next_;
    bytesHeld_ -= read ? read->bytes.size() : 0;
    const bool wake = MayRead();
    lock.unlock();
    if (wake)
        changed_.notify_all();
    return read;
}

void sd_ReadAhead::Discard(std::unique_ptr<sd_SourceRead> read) {
    if (read && !read->temporary.isEmpty())
        platform_.RemoveFile(read->temporary);
}
