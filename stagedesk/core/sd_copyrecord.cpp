#include "stagedesk/core/sd_copyrecord.h"

#include "stagedesk/core/sd_paths.h"
#include "stagedesk/core/sd_platform.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

sd_ManifestEntry Stamped(const QString& target, const QString& relative, const QByteArray& sha256, int disc) {
    const QFileInfo info(target);
    return {relative, sha256, info.size(), info.lastModified().toMSecsSinceEpoch(), disc};
}

} // namespace

sd_CopyRecord::sd_CopyRecord(sd_platform& platform, const QString& destinationFolder, const QString& itemFile)
    : platform_(platform), folder_(QDir::cleanPath(destinationFolder)) {
    record_.itemFile = itemFile;
}

QString sd_CopyRecord::Relative(const QString& target) const {
    const QString relative = QDir(folder_).relativeFilePath(QDir::cleanPath(target));
    if (relative.isEmpty() || relative == "." || relative.startsWith("../") || relative == ".." ||
        QDir::isAbsolutePath(relative))
        return QString();
    return relative;
}

bool sd_CopyRecord::Unfinished() {
    QFile file(sd::PartialManifestPath(folder_));
    if (!QFileInfo(folder_).isDir() || !file.open(QIODevice::ReadOnly))
        return false;
    return sd::ParsePartial(file.readAll(), previous_) && previous_.itemFile == record_.itemFile;
}

void sd_CopyRecord::Start() {
    const QString manifest = sd::ManifestPath(folder_);
    if (QFileInfo::exists(manifest))
        platform_.RemoveFile(manifest);
}

void sd_CopyRecord::Resume() {
    previousByPath_.clear();
    for (qsizetype i = 0; i < previous_.files.size(); ++i)
        previousByPath_.insert(previous_.files[i].path, i);
}

bool sd_CopyRecord::Unchanged(const sd_ManifestEntry& entry) const {
    const QFileInfo info(folder_ + "/" + entry.path);
    return info.isFile() && info.size() == entry.size &&
           info.lastModified().toMSecsSinceEpoch() == entry.modifiedMs;
}

void sd_CopyRecord::Recorded(const sd_ManifestEntry& entry) {
    record_.files << entry;
    recordedPaths_.insert(entry.path);
    reachedDisc_ = qMax(reachedDisc_, entry.disc);
}

sd_PartialCopy sd_CopyRecord::ToSave() const {
    sd_PartialCopy saved = record_;
    if (previousByPath_.isEmpty())
        return saved;
    for (const sd_ManifestEntry& entry : previous_.files) {
        if (!recordedPaths_.contains(entry.path))
            saved.files << entry;
    }
    for (const int disc : previous_.completeDiscs) {
        if (disc > reachedDisc_)
            saved.completeDiscs.insert(disc);
    }
    return saved;
}

bool sd_CopyRecord::Keep(const QString& target, int disc) {
    const auto found = previousByPath_.constFind(Relative(target));
    if (found == previousByPath_.constEnd())
        return false;
    sd_ManifestEntry entry = previous_.files[*found];
    if (!Unchanged(entry))
        return false;
    entry.disc = disc;
    Recorded(entry);
    return true;
}

bool sd_CopyRecord::KeepDisc(int disc) {
    if (previousByPath_.isEmpty() || !previous_.completeDiscs.contains(disc))
        return false;
    QList<sd_ManifestEntry> kept;
    for (const sd_ManifestEntry& entry : previous_.files) {
        if (entry.disc != disc)
            continue;
        if (!Unchanged(entry))
            return false;
        kept << entry;
    }
    for (const sd_ManifestEntry& entry : kept)
        Recorded(entry);
    CompleteDisc(disc);
    return true;
}

void sd_CopyRecord::Add(const QString& target, const QByteArray& sha256, int disc) {
    const QString relative = Relative(target);
    if (relative.isEmpty())
        return;
    Recorded(Stamped(target, relative, sha256, disc));
}

void sd_CopyRecord::Add(const QString& target, const sd_CopiedFile& copied, int disc) {
    const QString relative = Relative(target);
    if (!relative.isEmpty())
        Recorded({relative, copied.sha256, copied.size, copied.modifiedMs, disc});
}

void sd_CopyRecord::CompleteDisc(int disc) {
    record_.completeDiscs.insert(disc);
    reachedDisc_ = qMax(reachedDisc_, disc);
    QString ignored;
    SavePartial(ignored);
}

void sd_CopyRecord::SaveWhenDue() {
    if (sinceSave_.isValid() && sinceSave_.elapsed() < kFlushIntervalMs)
        return;
    QString ignored; // the next save tries again; the copy itself goes on
    SavePartial(ignored);
}

bool sd_CopyRecord::SavePartial(QString& failure) {
    sinceSave_.start();
    const QString path = sd::PartialManifestPath(folder_);
    const sd_FsResult saved = platform_.SaveFile(path, sd::PartialText(ToSave()));
    if (!saved.ok())
        failure = "Unable to write " + sd::ShownPath(path) + ": " + saved.message;
    return saved.ok();
}

bool sd_CopyRecord::Finish(QString& failure) {
    const QString path = sd::ManifestPath(folder_);
    const sd_FsResult saved = platform_.SaveFile(path, sd::ManifestText(record_.files));
    if (!saved.ok()) {
        failure = "Unable to write " + sd::ShownPath(path) + ": " + saved.message;
        return false;
    }
    const QString partial = sd::PartialManifestPath(folder_);
    if (QFileInfo::exists(partial))
        platform_.RemoveFile(partial);
    return true;
}
