#include "stagedesk/core/sd_IOManip.h"

#include "stagedesk/core/sd_paths.h"
#include "stagedesk/core/sd_prompt.h"
#include "stagedesk/core/sd_temporary.h"
#include "stagedesk/core/sd_text.h"

#include <QFileInfo>

sd_IOManip::sd_IOManip(sd_platform& platform, sd_prompt& prompt) : platform_(platform), prompt_(prompt) {}

bool sd_IOManip::Succeeded(const sd_FsResult& result, const QString& failed, const QString& path) {
    if (result.ok())
        return true;
    failureLine_ = "Unable to " + failed + " " + sd::ShownPath(path) + ": " + result.message;
    return false;
}

sd_IOManip::ListOutcome sd_IOManip::ListWithRetries(const QString& folder, QStringList& folders,
                                                    QStringList& files) {
    for (int attempt = 0;; ++attempt) {
        if (Stopped())
            return ListOutcome::Stopped;
        const sd_FsResult listed = platform_.ListFolder(folder, folders, files);
        if (Succeeded(listed, "list directory", folder))
            return ListOutcome::Listed;
        if (listed.status == sd_FsStatus::Missing)
            return ListOutcome::Vanished;
        if (listed.status == sd_FsStatus::IoError && attempt < kListingRetries) {
            platform_.Sleep(1000);
            continue;
        }
        prompt_.Show(listed.message, SearchSubdirectories ? "Exception Occurred" : "Exception Encountered",
                     sd_prompt::Icon::Error);
        return ListOutcome::Failed;
    }
}

// Depth first: a folder, then each of its subfolders with everything below it, in listing order.
sd_IOManip::ListOutcome sd_IOManip::Walk(const QString& folder, QList<QStringList>& filesByFolder) {
    QStringList folders, files;
    ListOutcome outcome = ListWithRetries(folder, folders, files);
    if (outcome != ListOutcome::Listed)
        return outcome;
    QStringList matching;
    for (const QString& file : files) {
        if (sd::WildcardMatch(QFileInfo(file).fileName(), FileFilter))
            matching << file;
    }
    filesByFolder << matching;
    if (!SearchSubdirectories)
        return ListOutcome::Listed;
    for (const QString& child : folders) {
        DirectoryList << child;
        outcome = Walk(child, filesByFolder);
        if (outcome != ListOutcome::Listed)
            return outcome;
    }
    return ListOutcome::Listed;
}

bool sd_IOManip::GetAllFiles() {
    const QString root = sd::TrimTrailingSeparators(SourceDirectory);
    DirectoryList = QStringList{root};
    FileList.clear();
    QList<QStringList> filesByFolder;
    if (Walk(root, filesByFolder) != ListOutcome::Listed)
        return false;
    for (const QStringList& files : filesByFolder)
        FileList << files;
    return true;
}

bool sd_IOManip::CreateNewDirectory(const QString& path) {
    return Succeeded(platform_.MakeFolder(path), "create directory", path) &&
           Succeeded(platform_.MakeNormal(path), "create directory", path);
}

bool sd_IOManip::CreateDirectories(const QString& sourceRoot, const QString& targetRoot) {
    const QString from = sd::TrimTrailingSeparators(sourceRoot);
    const QString to = sd::TrimTrailingSeparators(targetRoot);
    for (const QString& folder : DirectoryList) {
        const QString below = sd::TrimTrailingSeparators(folder).mid(from.size());
        const QString target = sd::JoinPath(to, below);
        if (!CreateNewDirectory(target))
            return false;
        sd::RemoveTemporariesIn(platform_, target);
    }
    return CreateNewDirectory(to);
}

bool sd_IOManip::RemoveDirectory(const QString& path) {
    const sd_FsResult removed = platform_.RemoveTree(path);
    if (Succeeded(removed, "remove directory", path))
        return true;
    if (removed.status == sd_FsStatus::AccessDenied) {
        prompt_.Show("Some files contained within:\n\n" + sd::ShownPath(path) +
                         "\n\nwere unable to be deleted. You must delete these files manually to continue.",
                     "Error Deleting Files", sd_prompt::Icon::Information);
    } else {
        prompt_.Show(removed.message, "An Exception Occurred", sd_prompt::Icon::Error);
    }
    return false;
}

bool sd_IOManip::RemoveFile(const QString& path) {
    return Succeeded(platform_.RemoveFile(path), "remove file", path);
}

sd_FsResult sd_IOManip::CopyFile(const QString& source, const QString& target, sd_CopiedFile* copied,
                                 sd_SourceRead* read) {
    // The platform's copy is writable by its owner already.
    const sd_FsResult result = platform_.CopyFileData(source, target, copied, read);
    if (result.status == sd_FsStatus::Exists)
        return {};
    // A folder is not copied as a file; that is not a failure.
    if (!result.ok() && QFileInfo(source).isDir())
        return {};
    Succeeded(result, "copy", sd::ShownPath(source) + " to " + target);
    return result;
}

bool sd_IOManip::CheckDriveFreespace(const QString& path, double neededMegabytes) {
    const sd_Volume volume = platform_.VolumeOf(path);
    const qint64 freeMegabytes = volume.valid ? volume.freeBytes / 1024 / 1024 : 0;
    return !(neededMegabytes > double(freeMegabytes));
}

qint64 sd_IOManip::GetDriveSize(const QString& path) {
    const sd_Volume volume = platform_.VolumeOf(path);
    if (!volume.valid) {
        prompt_.Show(volume.error, "An Exception Occurred", sd_prompt::Icon::Error);
        return 0;
    }
    return volume.totalBytes / 1048576;
}

QString sd_IOManip::DriveOf(const QString& path) {
    const sd_Volume volume = platform_.VolumeOf(path);
    return volume.valid ? volume.root : sd::ShownPath(path);
}
