#include "stagedesk/core/sd_readahead.h"

sd_ReadAhead::sd_ReadAhead(sd_platform& platform) : platform_(platform), thread_([this] { Work(); }) {}

sd_ReadAhead::~sd_ReadAhead() {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        ending_ = true;
    }
    changed_.notify_all();
    thread_.join();
}

void sd_ReadAhead::Announce(const QStringList& sources) {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        sources_ = sources;
        next_ = 0;
        ready_.clear();
        bytesHeld_ = 0;
        ++announced_;
        refilling_ = false;
    }
    changed_.notify_all();
}

bool sd_ReadAhead::MayRead() const {
    if (next_ + qsizetype(ready_.size()) >= sources_.size())
        return false;
    if (refilling_)
        return ready_.size() <= size_t(kFiles / 2) && bytesHeld_ <= kBytes / 2;
    return ready_.size() < size_t(kFiles) && bytesHeld_ < kBytes;
}

void sd_ReadAhead::Work() {
    std::unique_lock<std::mutex> lock(mutex_);
    for (;;) {
        refilling_ = refilling_ || ready_.size() >= size_t(kFiles) || bytesHeld_ >= kBytes;
        changed_.wait(lock, [this] { return ending_ || MayRead(); });
        if (ending_)
            return;
        refilling_ = false;
        const QString source = sources_[next_ + qsizetype(ready_.size())];
        const int announced = announced_;
        lock.unlock();
        auto read = std::make_unique<sd_SourceRead>();
        if (!platform_.ReadSource(source, kLargestFile, *read))
            read.reset();
        lock.lock();
        if (announced != announced_)
            continue;
        bytesHeld_ += read ? read->bytes.size() : 0;
        ready_.push_back(std::move(read));
        changed_.notify_all();
    }
}

std::unique_ptr<sd_SourceRead> sd_ReadAhead::Take(const QString& source) {
    std::unique_lock<std::mutex> lock(mutex_);
    if (next_ >= sources_.size() || sources_[next_] != source)
        return nullptr;
    changed_.wait(lock, [this] { return !ready_.empty(); });
    std::unique_ptr<sd_SourceRead> read = std::move(ready_.front());
    ready_.pop_front();
    ++next_;
    bytesHeld_ -= read ? read->bytes.size() : 0;
    const bool wake = MayRead();
    lock.unlock();
    if (wake)
        changed_.notify_all();
    return read;
}
