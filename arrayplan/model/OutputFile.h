// An output file of a run, replaced whole or not at all: what the run writes goes to a temporary file
// beside it, which replaces it only when complete, so a failed or killed run leaves the file as it was
// (or absent, when it was absent) and never a cut one. Runs that share the file take its lock file (its
// name with ".lock" added, left in place) from open to commit or abandon, so that their read-check-write
// steps never interleave and a temporary file that a killed run left is removed without touching a live
// run's.
#pragma once

#include "foundation/CString.h"
#include "foundation/FileReplacement.h"

#include <memory>
#include <string>

class RunSettings;

class OutputFile {
public:
    // The temporary files are named prefix + the file's own name + "~" + eight hex digits + ".tmp", so that
    // those of two output files in one folder never mix.
    OutputFile(const CString& path, const char* prefix);
    ~OutputFile(); // abandons what was not committed
    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;

    // Takes the lock (whose file is created beside the output when missing, so that a folder that takes
    // no new file fails here), removes the temporary files of this output that killed runs left and checks
    // that a file already there opens for appending, which leaves it as it is. False, with failureLine()
    // set, when one of these fails.
    bool open(const RunSettings& settings);
    // Creates the temporary file that receives the new contents, on the file system of open's settings;
    // false with failureLine() set.
    bool begin();
    FileReplacement& contents() { return *replacement_; }
    bool existedBefore() const { return existed_; }
    // Renames the complete temporary file over the file and releases the lock. False, with failureLine()
    // set and the file as it was, when a write, the sync, the close or the rename failed.
    bool commit();
    // After a failure met while writing the contents: sets failureLine() and abandons. Returns false.
    bool fail();
    // Removes the temporary file (the file stays as it was) and releases the lock.
    void abandon();

    const CString& path() const { return path_; }
    // "<path>: <the system's reason>" after a failed open or commit.
    const std::string& failureLine() const { return failureLine_; }

private:
    bool failWith(const std::string& reason);

    CString path_;
    CString prefix_;
    CString folder_;
    bool existed_ = false;
    FileSystem* fileSystem_ = nullptr; // the run's, from open
    std::unique_ptr<FileLock> lock_;
    std::unique_ptr<FileReplacement> replacement_;
    std::string failureLine_;
};
