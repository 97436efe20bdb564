// What one copy run has copied, for the manifests beside its destination folder (sd_manifest.h).
//
// Every copied file is added with its digest; the partial manifest is written after the first file,
// then every few seconds, at the end of each disc and at every stop, so a killed copy leaves a record of
// nearly all it did. A completed copy writes the final manifest and removes the partial one.
//
// Resuming: Unfinished() reads the partial manifest that an earlier run of the same item into the
// same folder left; after Resume() a file it lists is kept when its size and time still match.
#pragma once

#include "stagedesk/core/sd_copiedfile.h"
#include "stagedesk/core/sd_manifest.h"

#include <QElapsedTimer>
#include <QHash>
#include <QSet>
#include <QString>

class sd_platform;

class sd_CopyRecord {
public:
    sd_CopyRecord(sd_platform& platform, const QString& destinationFolder, const QString& itemFile);

    static constexpr int kFlushIntervalMs = 2000;

    // Whether an earlier run of this item into this folder stopped before completing.
    bool Unfinished();
    // The copy begins to change the folder: a manifest of an earlier completed copy no longer holds.
    void Start();
    // Takes over what the earlier run recorded; its files are then checked by Keep().
    void Resume();
    // Whether target is a file that the earlier run copied whole and nobody changed since (same size
    // and time); it is then recorded again without a copy.
    bool Keep(const QString& target, int disc);
    // Whether the earlier run copied every file of the disc and all of them are still as it left them;
    // they are then recorded again.
    bool KeepDisc(int disc);

    // Records a file found at target with its digest. Files outside the destination folder are not
    // part of the record.
    void Add(const QString& target, const QByteArray& sha256, int disc);
    // Records a file copied to target, as the copy described it.
    void Add(const QString& target, const sd_CopiedFile& copied, int disc);
    void CompleteDisc(int disc);
    // Writes the partial manifest when none was written yet or the last write is older than the interval.
    void SaveWhenDue();
    // Writes the partial manifest now. False with the reason when it cannot be written.
    bool SavePartial(QString& failure);
    // Writes the final manifest and removes the partial one.
    bool Finish(QString& failure);

    bool Inside(const QString& target) const { return !Relative(target).isEmpty(); }

private:
    QString Relative(const QString& target) const; // empty when outside the folder
    void Recorded(const sd_ManifestEntry& entry);
    // What to save: this run's record, with what the earlier run recorded that this one has not
    // recorded again (a later resume checks those files' size and time before it keeps any), and the
    // discs it completed that this run has not reached.
    sd_PartialCopy ToSave() const;
    bool Unchanged(const sd_ManifestEntry& entry) const;

    sd_platform& platform_;
    QString folder_;
    sd_PartialCopy record_;
    sd_PartialCopy previous_;
    QHash<QString, qsizetype> previousByPath_;
    QSet<QString> recordedPaths_;
    int reachedDisc_ = 0;
    QElapsedTimer sinceSave_;
};
