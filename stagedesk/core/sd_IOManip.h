// File system services of the copy engine: tree listing, folder creation and removal, single-file
// copy, and the free space, size and readiness of the volume that holds a path.
//
// Failures are shown through the prompt where the service has a message and answered with false, 0
// or an empty list; the services never stop a copy themselves. Each failed call of the file system
// also leaves FailureLine(), which names the path and the system's reason, for the copy's status box.
// When a copy flag is watched and gets cleared (the window stopped the copy), a running listing ends
// quietly.
#pragma once

#include "stagedesk/core/sd_platform.h"

#include <QString>
#include <QStringList>
#include <atomic>

class sd_prompt;

class sd_IOManip {
public:
    sd_IOManip(sd_platform& platform, sd_prompt& prompt);

    // Listing: GetAllFiles() reads these three and fills the two lists.
    QString SourceDirectory;
    QString FileFilter = "*";
    bool SearchSubdirectories = true;
    QStringList DirectoryList; // the source directory, then every folder below it, depth first
    QStringList FileList;      // the files matching the filter, folder by folder in DirectoryList order

    // A listing that meets an input/output failure waits a second and tries again, at most this many
    // times; then it fails with the failure's message.
    static constexpr int kListingRetries = 3;

    // Fills both lists. False when a folder vanished (the file list is left empty), when the listing
    // failed (after its message) or when the watched copy flag was cleared.
    bool GetAllFiles();
    // Creates the folder with its missing parents and gives it normal attributes.
    bool CreateNewDirectory(const QString& path);
    // Creates, under targetRoot, every folder of DirectoryList with sourceRoot replaced by targetRoot,
    // and removes from each what an interrupted copy left there under a temporary name.
    bool CreateDirectories(const QString& sourceRoot, const QString& targetRoot);
    // Removes the folder and everything below it; shows "Error Deleting Files" when access is denied.
    bool RemoveDirectory(const QString& path);
    bool RemoveFile(const QString& path);
    // Copies a file unless the target exists (then does nothing and succeeds) or the source is a
    // folder; the copy gets normal attributes, so files from read-only media become writable. With
    // copied given, a copied file's digest, size and time are put there (it is left as it was when
    // nothing was copied). With read given (source read ahead), the copy writes it.
    sd_FsResult CopyFile(const QString& source, const QString& target, sd_CopiedFile* copied = nullptr,
                         sd_SourceRead* read = nullptr);
    // False when neededMegabytes is more than the free megabytes (bytes / 1024 / 1024, whole) of the
    // volume that holds path.
    bool CheckDriveFreespace(const QString& path, double neededMegabytes);
    // Whole megabytes of the volume that holds path; 0 after a message when no volume answers.
    qint64 GetDriveSize(const QString& path);
    // The root of the volume that holds path ("C:" on Windows), for messages.
    QString DriveOf(const QString& path);

    void WatchCopyFlag(const std::atomic<bool>* copyFlag) { copyFlag_ = copyFlag; }

    // The last failure of the file system, as one line: "Unable to copy A to B: No space left on
    // device", "Unable to create directory D: ...", "Unable to list directory D: ...", "Unable to
    // remove directory D: ...", "Unable to remove file F: ...". Empty before the first failure.
    const QString& FailureLine() const { return failureLine_; }

private:
    enum class ListOutcome { Listed, Vanished, Failed, Stopped };
    ListOutcome ListWithRetries(const QString& folder, QStringList& folders, QStringList& files);
    ListOutcome Walk(const QString& folder, QList<QStringList>& filesByFolder);
    bool Stopped() const { return copyFlag_ && !copyFlag_->load(); }
    // Keeps the failure's line; true when the call succeeded.
    bool Succeeded(const sd_FsResult& result, const QString& failed, const QString& path);

    sd_platform& platform_;
    sd_prompt& prompt_;
    const std::atomic<bool>* copyFlag_ = nullptr;
    QString failureLine_;
};
