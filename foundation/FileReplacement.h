// Replacing a file whole or not at all. The new contents go to a temporary file beside the target, named
// prefix + eight hex digits + ".tmp", which is renamed over the target only after every write, the flush,
// the sync and the close succeeded. A failure, or an object destroyed before Commit, removes the temporary
// file and leaves the target byte for byte as it was. A process killed while writing cannot remove its
// temporary file; RemoveStaleReplacements recognises such files by their names.
#pragma once

#include "foundation/CString.h"
#include "foundation/platform/FileSystem.h"

#include <cstddef>
#include <memory>
#include <optional>
#include <string>

struct ReplacementOptions {
    CString prefix;      // start of the temporary file's name: one left by a killed run is recognised by it
    bool binary = false; // the bytes as given; otherwise a text stream (lines end in CR LF on Windows)
    // The contents are on the disk before the rename, so that a power cut leaves the old or the new file.
    // Copies of many files decline it for speed: a kill cannot cut a file that was renamed when complete.
    bool sync = true;
    // The target as written: a file whose name differs only in letter case is not replaced but left beside
    // it (FileSystem::RenameFileAsWritten), which spares copies a search per file.
    bool asWritten = false;
};

class FileReplacement {
public:
    // The file system must outlive the replacement.
    FileReplacement(FileSystem& fileSystem, const CString& target, ReplacementOptions options);
    ~FileReplacement(); // abandons a replacement that was not committed
    FileReplacement(const FileReplacement&) = delete;
    FileReplacement& operator=(const FileReplacement&) = delete;

    // Creates the temporary file under a name no other file has (exclusive create).
    bool Open();
    // Writes are buffered and checked; after a failure every further call fails.
    bool Write(const void* data, size_t size);
    bool WriteLine(const CString& text); // text and a newline
    // The temporary file itself, to copy into after what Write took; null when none is open.
    File* Output();
    // The times the new file takes (set before the rename); a file system that cannot set them is no
    // failure.
    void SetTimes(const FileTimes& times) { times_ = times; }
    // Flushes, syncs, closes and renames the temporary file over the target. On a failure the temporary
    // file is removed and the target is as it was.
    bool Commit();
    // Removes the temporary file; the target stays as it was.
    void Abandon();
    // Notes the system's reason for a failure met while writing through Output, then abandons.
    bool Fail();

    // The system's reason for the failure that ended the replacement ("No space left on device"); empty
    // before one, or when the system gave none.
    const std::string& FailureReason() const { return reason_; }
    const CString& Target() const { return target_; }
    const CString& TemporaryPath() const { return temporary_; }

private:
    bool FlushBuffer();

    FileSystem& fileSystem_;
    CString target_;
    ReplacementOptions options_;
    CString temporary_;
    std::unique_ptr<File> file_;
    std::string buffer_;
    std::optional<FileTimes> times_;
    std::string reason_;
    bool failed_ = false;
};

// Removes the temporary files that replacements with prefix left in folder (killed runs). Only for a
// folder in which no other live process replaces files with that prefix meanwhile: one that the run holds
// the lock of, or that no two runs share. False when folder cannot be searched or such a file cannot be
// removed.
bool RemoveStaleReplacements(FileSystem& fileSystem, const CString& folder, const CString& prefix);
