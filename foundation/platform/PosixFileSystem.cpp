// The file system of POSIX systems. Paths may be written with '\' or '/'. Kits come from Windows media,
// where letter case does not tell names apart, so a path that does not exist as written is looked up once
// more with each missing component matched ignoring case.
#include "foundation/platform/FileSystem.h"
#include "foundation/platform/PathStyle.h"

#include <dirent.h>
#include <fcntl.h>
#include <limits.h>
#include <strings.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <system_error>

namespace {

// The error of this thread's call that failed last, kept at the failure: errno itself is changed by the
// calls that follow (a retry ignoring letter case, a close on the way out).
thread_local int lastFailure = 0;

// Records error as the reason of a failure (leaving it in errno too) and gives false.
bool Failed(int error) {
    lastFailure = error;
    errno = error;
    return false;
}

// The longest absolute path FullPath gives: PATH_MAX counts the terminator.
constexpr size_t kMaxFullPath = PATH_MAX - 1;

std::string WithSlashes(std::string path) {
    for (char& c : path) {
        if (c == '\\')
            c = '/';
    }
    return path;
}

std::string JoinName(const std::string& directory, const std::string& name) {
    if (directory.empty())
        return name;
    return directory.back() == '/' ? directory + name : directory + "/" + name;
}

bool Exists(const std::string& path) {
    struct stat status;
    return lstat(path.c_str(), &status) == 0;
}

bool IsDotName(const char* name) {
    return name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0'));
}

// The first entry of directory whose name equals name ignoring letter case.
bool FindNameIgnoringCase(const std::string& directory, const std::string& name, std::string& found) {
    DIR* search = opendir(directory.empty() ? "." : directory.c_str());
    if (!search)
        return false;
    bool matched = false;
    while (dirent* entry = readdir(search)) {
        if (strcasecmp(entry->d_name, name.c_str()) == 0) {
            found = entry->d_name;
            matched = true;
            break;
        }
    }
    closedir(search);
    return matched;
}

// path with every component that does not exist as written replaced by the entry of its folder that
// matches it ignoring case. From the first component that matches nothing on, the rest stays as written.
std::string ResolveLetterCase(const std::string& path) {
    std::string resolved = !path.empty() && path[0] == '/' ? "/" : "";
    size_t start = resolved.size();
    while (start <= path.size()) {
        size_t end = path.find('/', start);
        if (end == std::string::npos)
            end = path.size();
        std::string component = path.substr(start, end - start);
        start = end + 1;
        if (component.empty())
            continue;
        std::string candidate = JoinName(resolved, component);
        std::string found;
        if (component == "." || component == ".." || Exists(candidate)) {
            resolved = candidate;
        } else if (FindNameIgnoringCase(resolved, component, found)) {
            resolved = JoinName(resolved, found);
        } else {
            resolved = candidate + (end < path.size() ? path.substr(end) : "");
            return resolved;
        }
    }
    if (path.size() > 1 && path.back() == '/' && resolved.back() != '/')
        resolved += '/';
    return resolved;
}

// Runs operation(path); when it fails because a component is missing, runs it once more on the path
// resolved ignoring letter case. usedPath receives the path of the last attempt.
template <typename Operation>
bool WithLetterCase(const std::string& path, Operation operation, std::string* usedPath = nullptr) {
    std::string native = WithSlashes(path);
    if (usedPath)
        *usedPath = native;
    if (operation(native))
        return true;
    int error = errno;
    if (error != ENOENT && error != ENOTDIR)
        return Failed(error);
    std::string resolved = ResolveLetterCase(native);
    if (resolved == native)
        return Failed(error);
    if (usedPath)
        *usedPath = resolved;
    return operation(resolved) || Failed(errno);
}

// The open flags of a C library mode text; false for a mode that names no access.
bool OpenFlags(const char* mode, int& flags) {
    switch (mode[0]) {
    case 'r':
        flags = O_RDONLY;
        break;
    case 'w':
        flags = O_WRONLY | O_CREAT | O_TRUNC;
        break;
    case 'a':
        flags = O_WRONLY | O_CREAT | O_APPEND;
        break;
    default:
        return false;
    }
    for (const char* c = mode + 1; *c; ++c) {
        if (*c == '+')
            flags = (flags & ~O_WRONLY) | O_RDWR;
        else if (*c == 'x')
            flags |= O_EXCL;
    }
    flags |= O_CLOEXEC;
    return true;
}

int64_t Nanoseconds(const timespec& time) {
    return int64_t(time.tv_sec) * 1000000000 + time.tv_nsec;
}

timespec TimeSpec(int64_t nanoseconds) {
    timespec time;
    time.tv_sec = nanoseconds / 1000000000;
    time.tv_nsec = nanoseconds % 1000000000;
    if (time.tv_nsec < 0) {
        time.tv_nsec += 1000000000;
        --time.tv_sec;
    }
    return time;
}

FileTimes TimesOf(const struct stat& status) {
    return {Nanoseconds(status.st_atim), Nanoseconds(status.st_mtim)};
}

class PosixFile : public File {
public:
    explicit PosixFile(int descriptor) : descriptor_(descriptor) {}
    ~PosixFile() override { Close(); }

    size_t Read(void* buffer, size_t size, bool& readError) override {
        for (;;) {
            ssize_t count = read(descriptor_, buffer, size);
            if (count >= 0)
                return static_cast<size_t>(count);
            if (errno != EINTR) {
                readError = true;
                Failed(errno);
                return 0;
            }
        }
    }

    size_t Write(const void* buffer, size_t size) override {
        size_t written = 0;
        while (written < size) {
            ssize_t count = write(descriptor_, static_cast<const char*>(buffer) + written, size - written);
            if (count < 0 && errno == EINTR)
                continue;
            if (count <= 0) {
                // A write that takes nothing without an error has found no room.
                Failed(count < 0 ? errno : ENOSPC);
                break;
            }
            written += static_cast<size_t>(count);
        }
        return written;
    }

    bool Close() override {
        if (descriptor_ < 0)
            return false;
        int result = close(descriptor_);
        descriptor_ = -1;
        return result == 0 || Failed(errno);
    }

    TransferResult TransferTo(File& destination) override;

    bool GetTimes(FileTimes& times) override {
        struct stat status;
        if (fstat(descriptor_, &status) != 0)
            return Failed(errno);
        times = TimesOf(status);
        return true;
    }

    // Writes go straight to the system here, so nothing is pending.
    bool SetTimes(const FileTimes& times) override {
        timespec both[2] = {TimeSpec(times.accessNanoseconds), TimeSpec(times.modificationNanoseconds)};
        return futimens(descriptor_, both) == 0 || Failed(errno);
    }

    bool Sync() override {
        for (;;) {
            if (fsync(descriptor_) == 0)
                return true;
            if (errno != EINTR)
                return Failed(errno);
        }
    }

    bool Lock() {
        for (;;) {
            if (flock(descriptor_, LOCK_EX) == 0)
                return true;
            if (errno != EINTR)
                return Failed(errno);
        }
    }

private:
    int descriptor_;
};

TransferResult PosixFile::TransferTo(File& destination) {
#ifdef __linux__
    auto* target = dynamic_cast<PosixFile*>(&destination);
    if (!target)
        return TransferResult::Unsupported;
    constexpr size_t kChunk = size_t(1) << 30;
    bool transferredAny = false;
    for (;;) {
        ssize_t count = copy_file_range(descriptor_, nullptr, target->descriptor_, nullptr, kChunk, 0);
        if (count > 0) {
            transferredAny = true;
            continue;
        }
        if (count == 0) {
            if (transferredAny)
                return TransferResult::Done;
            // Some files (of /proc, for one) report no bytes here although they have some.
            struct stat status;
            bool empty = fstat(descriptor_, &status) == 0 && status.st_size == 0;
            return empty ? TransferResult::Done : TransferResult::Unsupported;
        }
        if (errno == EINTR)
            continue;
        if (!transferredAny)
            return TransferResult::Unsupported;
        Failed(errno);
        return TransferResult::Failed;
    }
#else
    (void)destination;
    return TransferResult::Unsupported;
#endif
}

// The open lock file holds the lock; closing it releases the lock.
class PosixFileLock : public FileLock {
public:
    explicit PosixFileLock(int descriptor) : file_(descriptor) {}
    bool Lock() { return file_.Lock(); }

private:
    PosixFile file_;
};

std::unique_ptr<File> OpenDescriptor(const std::string& path, int flags) {
    int descriptor = -1;
    bool opened = WithLetterCase(path, [&](const std::string& candidate) {
        descriptor = open(candidate.c_str(), flags, 0666);
        return descriptor >= 0;
    });
    if (!opened)
        return nullptr;
    // A folder is no file, as the C library of Windows also says.
    struct stat status;
    if (fstat(descriptor, &status) != 0 || S_ISDIR(status.st_mode)) {
        Failed(S_ISDIR(status.st_mode) ? EISDIR : errno);
        close(descriptor);
        return nullptr;
    }
    return std::make_unique<PosixFile>(descriptor);
}

std::string LastComponent(const std::string& path) {
    size_t end = path.find_last_not_of('/');
    if (end == std::string::npos)
        return path.empty() ? path : "/";
    size_t start = path.find_last_of('/', end);
    return path.substr(start == std::string::npos ? 0 : start + 1,
                       end + 1 - (start == std::string::npos ? 0 : start + 1));
}

DirectoryEntry MakeEntry(const char* name, const struct stat& linkStatus, int directory,
                         const char* statPath) {
    DirectoryEntry entry;
    entry.name = name;
    entry.isLink = S_ISLNK(linkStatus.st_mode);
    entry.isDirectory = S_ISDIR(linkStatus.st_mode);
    struct stat targetStatus;
    if (entry.isLink && fstatat(directory, statPath, &targetStatus, 0) == 0)
        entry.isDirectory = S_ISDIR(targetStatus.st_mode);
    return entry;
}

// One entry for a path without wildcards.
bool FindExact(const std::string& path, std::vector<DirectoryEntry>& entries) {
    struct stat status;
    std::string used;
    if (!WithLetterCase(
            path, [&](const std::string& candidate) { return lstat(candidate.c_str(), &status) == 0; },
            &used))
        return errno == ENOENT || errno == ENOTDIR; // searched; nothing there (or a file on the way)
    entries.push_back(MakeEntry(LastComponent(used).c_str(), status, AT_FDCWD, used.c_str()));
    return true;
}

bool SearchDirectory(const std::string& directory, const std::string& pattern,
                     std::vector<DirectoryEntry>& entries) {
    DIR* search = nullptr;
    bool opened = WithLetterCase(directory.empty() ? "." : directory, [&](const std::string& candidate) {
        search = opendir(candidate.c_str());
        return search != nullptr;
    });
    if (!opened)
        return false;
    bool matchAll = pattern == "*" || pattern == "*.*";
    int descriptor = dirfd(search);
    for (;;) {
        errno = 0;
        dirent* found = readdir(search);
        if (!found)
            break;
        if (IsDotName(found->d_name) || (!matchAll && !MatchesWildcard(found->d_name, pattern)))
            continue;
        struct stat status {};
        if (found->d_type == DT_DIR)
            status.st_mode = S_IFDIR;
        else if (found->d_type == DT_REG)
            status.st_mode = S_IFREG;
        else if (found->d_type != DT_LNK &&
                 fstatat(descriptor, found->d_name, &status, AT_SYMLINK_NOFOLLOW) != 0)
            continue; // gone since it was listed
        if (found->d_type == DT_LNK)
            status.st_mode = S_IFLNK;
        entries.push_back(MakeEntry(found->d_name, status, descriptor, found->d_name));
    }
    int error = errno;
    closedir(search);
    return error == 0 || Failed(error);
}

// Removes "." and ".." and doubled separators from an absolute path, as the Windows full-path service does.
std::string RemoveDotSegments(const std::string& path) {
    std::vector<std::string> components;
    size_t start = 1;
    while (start <= path.size()) {
        size_t end = path.find('/', start);
        if (end == std::string::npos)
            end = path.size();
        std::string component = path.substr(start, end - start);
        start = end + 1;
        if (component == "..") {
            if (!components.empty())
                components.pop_back();
        } else if (!component.empty() && component != ".") {
            components.push_back(component);
        }
    }
    std::string result;
    for (const std::string& component : components)
        result += "/" + component;
    if (result.empty() || path.back() == '/')
        result += '/';
    return result;
}

class PosixFileSystem : public FileSystem {
public:
    bool FindEntries(const std::string& pattern, std::vector<DirectoryEntry>& entries) override {
        entries.clear();
        std::string native = WithSlashes(pattern);
        size_t slash = native.find_last_of('/');
        std::string name = slash == std::string::npos ? native : native.substr(slash + 1);
        if (name.empty() || !HasWildcards(name))
            return FindExact(native, entries);
        std::string directory = slash == std::string::npos ? "" : native.substr(0, slash == 0 ? 1 : slash);
        return SearchDirectory(directory, name, entries);
    }

    bool MakeDirectory(const std::string& path) override {
        return WithLetterCase(path, [](const std::string& p) { return mkdir(p.c_str(), 0777) == 0; });
    }

    // A link to a directory goes as a directory entry, as on Windows; its target is left alone.
    bool RemoveDirectory(const std::string& path) override {
        return WithLetterCase(path, [](const std::string& p) {
            if (rmdir(p.c_str()) == 0)
                return true;
            int error = errno;
            struct stat linkStatus, targetStatus;
            if (error == ENOTDIR && lstat(p.c_str(), &linkStatus) == 0 && S_ISLNK(linkStatus.st_mode) &&
                stat(p.c_str(), &targetStatus) == 0 && S_ISDIR(targetStatus.st_mode))
                return unlink(p.c_str()) == 0;
            errno = error;
            return false;
        });
    }

    bool DeleteFile(const std::string& path) override {
        return WithLetterCase(path, [](const std::string& p) { return unlink(p.c_str()) == 0; });
    }

    bool FileSize(const std::string& path, uint64_t& size) override {
        struct stat status;
        if (!WithLetterCase(path, [&](const std::string& p) { return stat(p.c_str(), &status) == 0; }))
            return false;
        size = static_cast<uint64_t>(status.st_size);
        return true;
    }

    bool GetFileTimes(const std::string& path, FileTimes& times) override {
        struct stat status;
        if (!WithLetterCase(path, [&](const std::string& p) { return stat(p.c_str(), &status) == 0; }))
            return false;
        times = TimesOf(status);
        return true;
    }

    bool FileSizeAndTimes(const std::string& path, uint64_t& size, FileTimes& times) override {
        struct stat status;
        if (!WithLetterCase(path, [&](const std::string& p) { return stat(p.c_str(), &status) == 0; }))
            return false;
        size = static_cast<uint64_t>(status.st_size);
        times = TimesOf(status);
        return true;
    }

    bool SetFileTimes(const std::string& path, const FileTimes& times) override {
        timespec both[2] = {TimeSpec(times.accessNanoseconds), TimeSpec(times.modificationNanoseconds)};
        return WithLetterCase(
            path, [&](const std::string& p) { return utimensat(AT_FDCWD, p.c_str(), both, 0) == 0; });
    }

    // Lexical, like the Windows service: the path need not exist. At most PATH_MAX - 1 characters.
    std::string FullPath(const std::string& path) override {
        if (path.empty())
            return {};
        std::string native = WithSlashes(path);
        if (native[0] != '/') {
            char directory[PATH_MAX];
            if (!getcwd(directory, sizeof directory)) {
                Failed(errno);
                return {};
            }
            native = JoinName(directory, native);
        }
        std::string full = RemoveDotSegments(native);
        if (full.size() <= kMaxFullPath)
            return full;
        Failed(ENAMETOOLONG);
        return {};
    }

    std::unique_ptr<File> OpenFile(const std::string& path, const char* mode) override {
        int flags = 0;
        if (!mode || !OpenFlags(mode, flags)) {
            Failed(EINVAL);
            return nullptr;
        }
        return OpenDescriptor(path, flags);
    }

    std::unique_ptr<File> CreateNewFile(const std::string& path) override {
        return OpenDescriptor(path, O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC);
    }

    // An existing target of another letter case is the one replaced, as it would be on Windows.
    bool RenameFile(const std::string& source, const std::string& target) override {
        std::string nativeTarget = WithSlashes(target);
        if (!Exists(nativeTarget))
            nativeTarget = ResolveLetterCase(nativeTarget);
        return WithLetterCase(
            source, [&](const std::string& p) { return rename(p.c_str(), nativeTarget.c_str()) == 0; });
    }

    // A folder written in another letter case than the disk has is found as RenameFile finds it.
    bool RenameFileAsWritten(const std::string& source, const std::string& target) override {
        if (rename(WithSlashes(source).c_str(), WithSlashes(target).c_str()) == 0)
            return true;
        if (errno != ENOENT && errno != ENOTDIR)
            return Failed(errno);
        return RenameFile(source, target);
    }

    std::string DirectoryIdentity(const std::string& path) override {
        struct stat status;
        if (!WithLetterCase(path, [&](const std::string& p) { return stat(p.c_str(), &status) == 0; }) ||
            !S_ISDIR(status.st_mode))
            return {};
        return IdentityText(status);
    }

    std::string FileIdentity(const std::string& path) override {
        struct stat status;
        if (!WithLetterCase(path, [&](const std::string& p) { return stat(p.c_str(), &status) == 0; }))
            return {};
        return IdentityText(status);
    }

    static std::string IdentityText(const struct stat& status) {
        char text[64];
        std::snprintf(text, sizeof text, "%llx:%llx", static_cast<unsigned long long>(status.st_dev),
                      static_cast<unsigned long long>(status.st_ino));
        return text;
    }

    // flock, not fcntl: an fcntl lock goes with any close of the file by this process, and flock locks of
    // two descriptors exclude each other also within one process.
    std::unique_ptr<FileLock> LockFile(const std::string& path) override {
        int descriptor = -1;
        bool opened = WithLetterCase(path, [&](const std::string& candidate) {
            descriptor = open(candidate.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
            return descriptor >= 0;
        });
        if (!opened)
            return nullptr;
        auto lock = std::make_unique<PosixFileLock>(descriptor);
        return lock->Lock() ? std::move(lock) : nullptr;
    }

    // The system's text of the error (strerror's, without its thread-safety trap).
    std::string LastFailureReason() override {
        return lastFailure == 0 ? std::string() : std::generic_category().message(lastFailure);
    }

    // A mount point lies on another device than its parent; "/" is its own parent.
    bool IsVolumeRoot(const std::string& path) override {
        struct stat status, parentStatus;
        std::string used;
        if (!WithLetterCase(
                path, [&](const std::string& p) { return stat(p.c_str(), &status) == 0; }, &used) ||
            !S_ISDIR(status.st_mode) || stat(JoinName(used, "..").c_str(), &parentStatus) != 0)
            return false;
        return status.st_dev != parentStatus.st_dev || status.st_ino == parentStatus.st_ino;
    }
};

} // namespace

FileSystem& NativeFileSystem() {
    static PosixFileSystem fileSystem;
    return fileSystem;
}
