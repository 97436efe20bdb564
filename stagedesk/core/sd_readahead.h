// Reads the next files of a copy whole, and hashes them, on a thread of its own while the copy writes
// the earlier ones. Only the reading goes ahead: the copy's writes, renames and records stay on the
// copy's thread and in its order, so a stop, a failure or a kill leaves what it always left.
#pragma once

#include "stagedesk/core/sd_platform.h"

#include <QStringList>
#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>
#include <thread>

class sd_ReadAhead {
public:
    // How far the reading may run ahead of the copy, and the largest file it reads whole (a larger one
    // is copied as it is read, piece by piece).
    static constexpr int kFiles = 32;
    static constexpr qint64 kBytes = qint64(64) << 20;
    static constexpr qint64 kLargestFile = qint64(16) << 20;

    explicit sd_ReadAhead(sd_platform& platform);
    ~sd_ReadAhead();
    sd_ReadAhead(const sd_ReadAhead&) = delete;
    sd_ReadAhead& operator=(const sd_ReadAhead&) = delete;

    // The files to be copied next, in their order; what was announced before is dropped.
    void Announce(const QStringList& sources);
    // The read of source when it is the next announced file and could be read whole, waiting while it
    // is read; null for a file that is not next or could not be read whole (its copy reads it).
    std::unique_ptr<sd_SourceRead> Take(const QString& source);

private:
    void Work();
    // Whether the reading may go on: a file is left to read and there is room for it. Once the reads
    // filled their room, it waits until half of it is free again, so that it wakes once for a run of
    // files rather than once for every file taken.
    bool MayRead() const;

    sd_platform& platform_;
    std::mutex mutex_;
    std::condition_variable changed_;
    QStringList sources_;
    qsizetype next_ = 0;                               // the next file to take
    std::deque<std::unique_ptr<sd_SourceRead>> ready_; // the reads of the files from next_ on
    qint64 bytesHeld_ = 0;
    int announced_ = 0;      // counts the announcements, so that a read of a dropped list is dropped too
    bool refilling_ = false; // the reads filled their room and wait for half of it
    bool ending_ = false;
    std::thread thread_;
};
