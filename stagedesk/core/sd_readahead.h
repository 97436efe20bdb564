// Copies the next files of a copy ahead of it, on threads of its own: each file is read whole, hashed
// and written to a temporary file beside its target, so that the copy itself only puts it in place.
// The reads go one at a time and in the copy's order, as a disc wants them; the hashing and writing of
// two files overlap. The renames and records stay on the copy's thread and in its order, so a stop, a
// failure or a kill leaves what it always left, besides temporary files (removed at the end, or by the
// next run into the same folders).
#pragma once

#include "stagedesk/core/sd_platform.h"

#include <QStringList>
#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

class sd_ReadAhead {
public:
    // How far the copying may run ahead of the copy, the largest file it reads whole (a larger one is
    // copied in its turn, piece by piece) and how many files it hashes and writes at once.
    static constexpr int kFiles = 32;
    static constexpr qint64 kBytes = qint64(64) << 20;
    static constexpr qint64 kLargestFile = qint64(16) << 20;
    static constexpr int kThreads = 2;
    // A thread reads a run of small files at a time, so that the threads take turns at the reading
    // once for the run rather than once for every file.
    static constexpr int kBatchFiles = 8;
    static constexpr qint64 kBatchBytes = qint64(1) << 20;

    explicit sd_ReadAhead(sd_platform& platform);
    // Removes the temporary files that were not taken.
    ~sd_ReadAhead();
    sd_ReadAhead(const sd_ReadAhead&) = delete;
    sd_ReadAhead& operator=(const sd_ReadAhead&) = delete;

    // The files to be copied next, in their order, with their targets; what was announced before is
    // dropped.
    void Announce(const QStringList& sources, const QStringList& targets);
    // The read of source when it is the next announced file and could be read whole, waiting while it
    // is made; null for a file that is not next or could not be read whole (its copy reads it). The
    // read holds the bytes or, once written ahead, the temporary file (sd_platform::CopyFileData).
    std::unique_ptr<sd_SourceRead> Take(const QString& source);
    // Removes the temporary file of a read that its copy did not put in place.
    void Discard(std::unique_ptr<sd_SourceRead> read);

private:
    struct Slot {
        std::unique_ptr<sd_SourceRead> read;
        bool done = false;
    };
    // A file that a thread read and still has to hash, write and give to its slot.
    struct Started {
        qsizetype index = 0;
        int announced = 0;
        QString target;
        std::unique_ptr<sd_SourceRead> read; // null when it cannot be read whole
    };

    void Work();
    // Whether another file may be started: one is left and there is room for it. Once the files filled
    // their room, it waits until half of it is free again, so that the threads wake once for a run of
    // files rather than once for every file taken.
    bool MayRead() const;
    bool Full() const;
    // Marks the room as full the moment it fills, so that a taker quick to free a little of it does not
    // let the next read in before half of it is free.
    void NoteWhenFull();
    // Starts the next files and reads them, waiting while there is no room; empty when ending. Called
    // with reading_ held.
    std::vector<Started> ReadBatch();
    void HashAndWrite(sd_SourceRead& read, const QString& target);
    // Gives the files of a batch to their slots at once, so that the copy wakes once for the batch; a
    // file whose list was dropped is dropped too.
    void Publish(std::vector<Started>& batch);

    sd_platform& platform_;
    std::mutex reading_; // held by the one thread that picks and reads the next file
    std::mutex mutex_;
    std::condition_variable changed_;
    QStringList sources_, targets_;
    qsizetype next_ = 0;      // the next file to take
    std::deque<Slot> slots_;  // the files from next_ on that were started, in order
    qint64 bytesHeld_ = 0;    // of reads not written ahead
    int announced_ = 0;       // counts the announcements, so that a file of a dropped list is dropped too
    bool refilling_ = false;  // the files filled their room and wait for half of it
    bool takerWaits_ = false; // Take() waits for the next file
    bool ending_ = false;
    std::vector<std::thread> threads_;
};
