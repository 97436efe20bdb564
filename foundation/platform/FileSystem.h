// The one interface through which the foundation reaches the operating system's file system.
// The real implementation (PosixFileSystem / WindowsFileSystem) is the process default; tests install a
// memory file system that records calls and can fail a chosen one.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

struct DirectoryEntry {
    std::string name;
    bool isDirectory = false;
    bool isLink = false; // a symbolic link (or junction); never followed out of a tree being deleted
};

struct FileTimes {
    int64_t accessNanoseconds = 0;
    int64_t modificationNanoseconds = 0;
};

enum class TransferResult {
    Done,        // the rest of the source is in the destination
    Failed,      // a read or write failed part-way
    Unsupported, // nothing was transferred; copy through a buffer instead
};

// An open file: binary reads and writes, like a C stream.
class File {
public:
    virtual ~File() = default;
    // Returns the bytes read (possibly fewer than size before the end); 0 at the end. readError is set
    // on a failure.
    virtual size_t Read(void* buffer, size_t size, bool& readError) = 0;
    virtual size_t Write(const void* buffer, size_t size) = 0;
    virtual bool Close() = 0;
    // Copies the rest of this file to destination inside the system, without passing the bytes through
    // the program, where the system can.
    virtual TransferResult TransferTo(File& destination) {
        (void)destination;
        return TransferResult::Unsupported;
    }
    // The times of the open file, without looking its path up again. False when they cannot be had.
    virtual bool GetTimes(FileTimes& times) {
        (void)times;
        return false;
    }
    // Sets the times of the open file; what was written before is in the file first, so that closing it
    // does not move them.
    virtual bool SetTimes(const FileTimes& times) {
        (void)times;
        return false;
    }
    // Puts what was written on the disk itself (not only in the system's cache), so that a file renamed
    // over another after this survives a power cut. False when that failed or cannot be done.
    virtual bool Sync() { return false; }
};

// An exclusive lock held on a lock file until this object is destroyed.
class FileLock {
public:
    virtual ~FileLock() = default;
};

class FileSystem {
public:
    virtual ~FileSystem() = default;

    // Entries of the directory part of pattern whose names match its last component (which may
    // hold * and ?). Returns false when the directory cannot be searched. "." and ".." are not given.
    virtual bool FindEntries(const std::string& pattern, std::vector<DirectoryEntry>& entries) = 0;
    virtual bool MakeDirectory(const std::string& path) = 0;
    virtual bool RemoveDirectory(const std::string& path) = 0; // only an empty directory
    virtual bool DeleteFile(const std::string& path) = 0;      // a file or a link itself
    virtual bool GetFileTimes(const std::string& path, FileTimes& times) = 0;
    virtual bool SetFileTimes(const std::string& path, const FileTimes& times) = 0;
    // The bytes of the file at path (of a link's target). False when it cannot be had.
    virtual bool FileSize(const std::string& path, uint64_t& size) {
        (void)path;
        (void)size;
        return false;
    }
    // The size and the times of the file at path (of a link's target) in one look where the system can.
    // False when they cannot be had.
    virtual bool FileSizeAndTimes(const std::string& path, uint64_t& size, FileTimes& times) {
        return FileSize(path, size) && GetFileTimes(path, times);
    }
    // Absolute form of path; empty when it cannot be made or is longer than the system allows.
    virtual std::string FullPath(const std::string& path) = 0;
    // mode is a C library mode text ("r", "w", "a", "rb", "wb", "w+", ...); null on failure.
    virtual std::unique_ptr<File> OpenFile(const std::string& path, const char* mode) = 0;
    // Creates a new file that must not exist yet (exclusive create); null when it exists or fails.
    virtual std::unique_ptr<File> CreateNewFile(const std::string& path) = 0;
    // Replaces target by source in one step (used for atomic saves).
    virtual bool RenameFile(const std::string& source, const std::string& target) = 0;
    // The same, for a target whose folder is known to exist: a file whose name differs from target only in
    // letter case is not looked for (and not replaced), as a file created under that name would stand
    // beside it too. Copies of many files take this; looking each name up ignoring case costs a search.
    virtual bool RenameFileAsWritten(const std::string& source, const std::string& target) {
        return RenameFile(source, target);
    }
    // An identity for the directory (device and node), to recognise a directory reached twice. Links are
    // followed and ".." is resolved by the system. Empty for a missing path or one that is no directory.
    virtual std::string DirectoryIdentity(const std::string& path) = 0;
    // The same for a file (or a directory): one file reached by two names, through a link or a hard link,
    // gives one text. Empty for a missing path, or where the system cannot tell.
    virtual std::string FileIdentity(const std::string& path) {
        (void)path;
        return {};
    }
    // True for the root of a mounted volume. By default: a directory that is its own parent.
    virtual bool IsVolumeRoot(const std::string& path);
    // Waits until this process holds the exclusive lock of the file at path, which is created (empty) when
    // missing and never removed, renamed or written through the lock. The lock is advisory: it keeps out
    // only others that ask for it, so processes that share a file agree to take this lock on a lock file
    // that stands for it (a lock on a file that a rename replaces would guard the old file only, and on
    // Windows a locked file cannot be read). Null when the lock file cannot be opened or locked.
    virtual std::unique_ptr<FileLock> LockFile(const std::string& path) {
        (void)path;
        return nullptr;
    }
    // The system's reason for the call of this thread that failed last ("No space left on device"), for a
    // message line; empty when none is known. Ask right after the failure: later calls may replace it.
    virtual std::string LastFailureReason() { return {}; }
};

// The real file system of the platform (PosixFileSystem.cpp or WindowsFileSystem.cpp).
FileSystem& NativeFileSystem();

// The file system that every foundation operation uses.
FileSystem& CurrentFileSystem();
// Installs a replacement (tests); null restores the real one. Returns the previous one.
FileSystem* SetFileSystem(FileSystem* fileSystem);
