// A file system in memory for tests: folders and files in a map, a record of what was made, created,
// removed and renamed, and failures injected into a chosen call. Paths may use '\' or '/'; "C:" and
// "\\server\share" are roots like any other folder. Names compare exactly (letter case counts).
#pragma once

#include "foundation/platform/FileSystem.h"

#include <map>
#include <string>
#include <vector>

class MemoryFileSystem : public FileSystem {
public:
    enum class Call {
        FindEntries,
        MakeDirectory,
        RemoveDirectory,
        DeleteFile,
        GetFileTimes, // by path or of an open file
        SetFileTimes, // by path or of an open file
        OpenForReading,
        OpenForWriting, // OpenFile with "w", "a" or "+"
        CreateNewFile,
        RenameFile, // matched on the target path
        Write,      // a write to an open file writes nothing
        Close,
        Sync,
    };

    MemoryFileSystem();

    // Both make the folders above as needed.
    void AddDirectory(const std::string& path);
    void AddFile(const std::string& path, const std::string& content, FileTimes times = {});

    bool IsDirectory(const std::string& path) const;
    bool IsFile(const std::string& path) const;
    std::string Content(const std::string& path) const; // empty when there is no such file
    FileTimes Times(const std::string& path) const;
    // Every path held, in order, as "/a", "/a/b.txt", ... (separators '/').
    std::vector<std::string> AllPaths() const;

    // Makes the nth call (from 1) of that kind fail, counting only calls on path when path is not empty;
    // nth 0 makes every such call fail. LastFailureReason then gives reason, or when it is empty the
    // reason a full disk gives for a Write, Close or Sync and "Input/output error" for the others.
    void FailCall(Call call, int nth, const std::string& path = "", const std::string& reason = "");

    // Successful changes in call order, with the paths as they were passed.
    std::vector<std::string> directoriesMade;
    std::vector<std::string> directoriesRemoved;
    std::vector<std::string> filesCreated;
    std::vector<std::string> filesRemoved;
    std::vector<std::string> renamed; // "source -> target"

    bool FindEntries(const std::string& pattern, std::vector<DirectoryEntry>& entries) override;
    bool MakeDirectory(const std::string& path) override;
    bool RemoveDirectory(const std::string& path) override;
    bool DeleteFile(const std::string& path) override;
    bool GetFileTimes(const std::string& path, FileTimes& times) override;
    bool FileSize(const std::string& path, uint64_t& size) override;
    bool SetFileTimes(const std::string& path, const FileTimes& times) override;
    std::string FullPath(const std::string& path) override;
    std::unique_ptr<File> OpenFile(const std::string& path, const char* mode) override;
    std::unique_ptr<File> CreateNewFile(const std::string& path) override;
    bool RenameFile(const std::string& source, const std::string& target) override;
    std::string DirectoryIdentity(const std::string& path) override;
    // "/", "C:" and "\\server\share" (any folder without a parent) are volume roots.
    bool IsVolumeRoot(const std::string& path) override;
    // Nothing else runs at the same time here: every lock is granted at once.
    std::unique_ptr<FileLock> LockFile(const std::string& path) override;
    std::string LastFailureReason() override { return lastFailure_; }

private:
    friend class MemoryFile;
    struct Node {
        bool directory = false;
        std::string content;
        FileTimes times;
    };
    struct Fault {
        Call call;
        int nth;
        std::string path; // normalized; empty for any path
        std::string reason;
        int seen = 0;
    };

    static std::string Normalize(const std::string& path);
    static std::string Parent(const std::string& normalized);
    bool Fails(Call call, const std::string& path);
    bool Refuse(const char* reason); // a failure of the file system itself (no such file, ...)
    bool HasChildren(const std::string& normalized) const;
    std::unique_ptr<File> Create(const std::string& path, const std::string& key, bool truncate);

    std::map<std::string, Node> nodes_;
    std::vector<Fault> faults_;
    std::string lastFailure_;
};

// Installs a file system for the lifetime of the object.
class ScopedFileSystem {
public:
    explicit ScopedFileSystem(FileSystem& fileSystem) : previous_(SetFileSystem(&fileSystem)) {}
    ~ScopedFileSystem() { SetFileSystem(previous_); }
    ScopedFileSystem(const ScopedFileSystem&) = delete;
    ScopedFileSystem& operator=(const ScopedFileSystem&) = delete;

private:
    FileSystem* previous_;
};
