// The operating-system services under the configurator's file services, in one narrow interface.
//
// Real() uses std::filesystem for files and folders (its error codes tell an input/output failure from
// a missing folder) and QStorageInfo for volumes. Tests derive from sd_platform and override one call to
// inject a fault; every other call keeps its real behaviour.
#pragma once

#include "stagedesk/core/sd_copiedfile.h"
#include "stagedesk/core/sd_sourceread.h"

#include <QString>
#include <QStringList>

enum class sd_FsStatus { Ok, Missing, IoError, AccessDenied, Exists, Other };

struct sd_FsResult {
    sd_FsStatus status = sd_FsStatus::Ok;
    QString message; // the system's own text of the failure
    bool ok() const { return status == sd_FsStatus::Ok; }
};

// What the volume holding a path reports; valid is false when no volume answers for the path.
struct sd_Volume {
    bool valid = false;
    QString root; // the volume's root as the user knows it ("C:" on Windows, its mount point elsewhere)
    qint64 freeBytes = 0; // available to this user
    qint64 totalBytes = 0;
    QString error; // why it is not valid
};

class sd_platform {
public:
    virtual ~sd_platform() = default;

    // The shared real implementation.
    static sd_platform& Real();

    // The folders and the files directly inside folder (full paths, each list sorted by name ignoring
    // case). Links to folders are skipped so that a listing can never loop.
    virtual sd_FsResult ListFolder(const QString& folder, QStringList& folders, QStringList& files);
    // Copies one file to a target that must not exist yet (Exists otherwise). The data goes to a
    // temporary name in the target's folder (sd_temporary.h), which is renamed to the target once the
    // copy is complete: a failed copy leaves nothing behind, a killed one at most the temporary file.
    // The copy is writable by its owner. With copied given, it receives the SHA-256 of the data, hashed
    // from the copy's reads, and the copy's size and time. With read given (ReadSource's read of
    // source), the data is written from it, or the temporary file that WriteAhead made of it is put in
    // place, unless the source changed since it was read; that temporary file is gone afterwards either
    // way (read->temporary is cleared).
    virtual sd_FsResult CopyFileData(const QString& source, const QString& target, sd_CopiedFile* copied,
                                     sd_SourceRead* read = nullptr);
    // Reads a file of at most maxBytes whole; false when it is bigger or cannot be read (the copy then
    // reads it itself and meets the failure in its turn). Safe on any thread.
    virtual bool ReadSource(const QString& source, qint64 maxBytes, sd_SourceRead& read);
    // Writes a read (with its digest) to a temporary name beside target, which does not exist yet, so
    // that its copy only renames it: read.temporary and read.made then name and describe that file, and
    // the bytes are dropped. False, keeping the bytes, when target exists or the file cannot be written
    // (the copy then meets that in its turn). Safe on any thread.
    virtual bool WriteAhead(sd_SourceRead& read, const QString& target);
    // Replaces (or creates) the file with bytes, whole or not at all: they go to a temporary name beside
    // it, every write, the sync to disk and the close are checked, and only then is it renamed over the
    // file, keeping the old file's permissions. A failure leaves the old file as it was.
    virtual sd_FsResult SaveFile(const QString& path, const QByteArray& bytes);
    // Creates a folder and its missing parents.
    // Appends bytes to the file, creating it (not its folder) when it is missing.
    virtual sd_FsResult AppendToFile(const QString& path, const QByteArray& bytes);
    virtual sd_FsResult MakeFolder(const QString& path);
    // Gives the file or folder normal attributes: writable by its owner (clears read-only on Windows).
    virtual sd_FsResult MakeNormal(const QString& path);
    // Removes a folder with everything below it, making read-only entries writable first. Never
    // follows a link out of the tree.
    virtual sd_FsResult RemoveTree(const QString& path);
    virtual sd_FsResult RemoveFile(const QString& path);
    // Whether path is folder or lies somewhere below it, both as the file system resolves them: links
    // followed, letter case as the file system compares names (the folders' identities are compared).
    // False when either does not exist.
    virtual bool IsSameOrInside(const QString& path, const QString& folder);
    virtual sd_Volume VolumeOf(const QString& path);
    virtual void Sleep(int milliseconds);
};
