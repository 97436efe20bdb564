#include "stagedesk/core/sd_verify.h"

#include "stagedesk/core/sd_manifest.h"
#include "stagedesk/core/sd_paths.h"
#include "stagedesk/core/sd_sha256.h"
#include "stagedesk/core/sd_tasks.h"
#include "stagedesk/core/sd_temporary.h"

#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QSet>

#include <algorithm>
#include <atomic>
#include <thread>
#include <vector>

namespace {

constexpr int kProgressIntervalMs = 200;

enum class FileState { Same, Changed, Missing };

QStringList FilesBelow(const QString& folder) {
    QStringList files;
    QDirIterator it(folder, QDir::Files | QDir::Hidden | QDir::System, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        if (!sd::IsTemporaryName(it.fileName()))
            files << QDir(folder).relativeFilePath(path);
    }
    return files;
}

// Hashes the listed files with one worker per processor; the calling thread is one of them and
// reports the progress.
std::vector<FileState> HashAll(const QString& folder, const QList<sd_ManifestEntry>& entries, qint64 total,
                               const std::function<void(qint64, qint64)>& progress) {
    std::vector<FileState> states(size_t(entries.size()), FileState::Same);
    std::atomic<qsizetype> next{0};
    std::atomic<qint64> hashed{0};
    auto work = [&](bool reports) {
        QElapsedTimer sinceReport;
        sinceReport.start();
        for (qsizetype i = next++; i < entries.size(); i = next++) {
            const QString path = folder + "/" + entries[i].path;
            QByteArray sha256;
            QString error;
            if (!QFileInfo(path).isFile() || !sd::HashFile(path, sha256, error))
                states[size_t(i)] = FileState::Missing;
            else if (sha256 != entries[i].sha256)
                states[size_t(i)] = FileState::Changed;
            hashed += QFileInfo(path).size();
            if (reports && sinceReport.elapsed() >= kProgressIntervalMs) {
                progress(hashed.load(), total);
                sinceReport.restart();
            }
        }
    };
    const unsigned workers = std::clamp(std::thread::hardware_concurrency(), 1u, 16u);
    std::vector<std::thread> others;
    for (unsigned w = 1; w < workers; ++w)
        others.emplace_back(work, false);
    work(true);
    for (std::thread& other : others)
        other.join();
    progress(hashed.load(), total);
    return states;
}

} // namespace

namespace sd {

QStringList FoldersWithManifests(const QString& taskFolder) {
    QStringList folders;
    const QStringList names = QDir(taskFolder).entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name);
    for (const QString& name : names) {
        const QString folder = JoinPath(taskFolder, name);
        if (QFileInfo(ManifestPath(folder)).isFile())
            folders << folder;
    }
    return folders;
}

QStringList KitFoldersWithManifests(sd_xml& xml, const QString& baseDirectory) {
    QStringList folders;
    for (const sd_Task task : {sd_Task::InstallationFiles, sd_Task::DriverFiles, sd_Task::ApplicationFiles,
                               sd_Task::UtilityFiles, sd_Task::PrebootFiles}) {
        const QString taskFolder = TaskFolder(xml, task);
        if (!taskFolder.isEmpty())
            folders << FoldersWithManifests(JoinPath(KitPath(baseDirectory), taskFolder));
    }
    return folders;
}

sd_ItemCheck VerifyFolder(const QString& folder, const std::function<void(qint64, qint64)>& progress) {
    sd_ItemCheck check;
    check.folder = folder;
    QFile manifest(ManifestPath(folder));
    QList<sd_ManifestEntry> entries;
    int badLine = 0;
    if (!manifest.open(QIODevice::ReadOnly)) {
        check.error = "Unable to read " + ShownPath(manifest.fileName()) + ": " + manifest.errorString();
        return check;
    }
    if (!ParseManifest(manifest.readAll(), entries, badLine)) {
        check.error = ShownPath(manifest.fileName()) + ", line " + QString::number(badLine) +
                      ": not a line of the form \"<SHA-256>  <file>\"";
        return check;
    }
    check.files = int(entries.size());
    QSet<QString> listed;
    for (const sd_ManifestEntry& entry : entries) {
        listed.insert(entry.path);
        check.bytes += QFileInfo(folder + "/" + entry.path).size();
    }
    const std::vector<FileState> states = HashAll(folder, entries, check.bytes, progress);
    for (qsizetype i = 0; i < entries.size(); ++i) {
        if (states[size_t(i)] == FileState::Changed)
            check.changed << entries[i].path;
        if (states[size_t(i)] == FileState::Missing)
            check.missing << entries[i].path;
    }
    for (const QString& file : FilesBelow(folder)) {
        if (!listed.contains(file))
            check.added << file;
    }
    check.changed.sort();
    check.missing.sort();
    check.added.sort();
    return check;
}

QString VerifySummary(const QList<sd_ItemCheck>& checks) {
    if (checks.isEmpty())
        return "No copied item of the kit has a manifest.";
    const auto differing = std::count_if(checks.begin(), checks.end(),
                                         [](const sd_ItemCheck& check) { return !check.Matches(); });
    if (differing == 0)
        return "All items match their manifests (" + QString::number(checks.size()) + " checked).";
    return QString::number(differing) + " of " + QString::number(checks.size()) +
           " items differ from their manifests.";
}

QStringList CheckReport(const sd_ItemCheck& check) {
    const QString name = ShownPath(check.folder);
    if (!check.error.isEmpty())
        return {name + ": " + check.error};
    if (check.Matches())
        return {name + ": all " + QString::number(check.files) + " files match"};
    QStringList lines{name + ": " + QString::number(check.changed.size()) + " changed, " +
                      QString::number(check.missing.size()) + " missing, " +
                      QString::number(check.added.size()) + " added"};
    for (const QString& path : check.changed)
        lines << "  changed: " + path;
    for (const QString& path : check.missing)
        lines << "  missing: " + path;
    for (const QString& path : check.added)
        lines << "  added: " + path;
    return lines;
}

} // namespace sd
