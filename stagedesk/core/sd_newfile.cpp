#include "stagedesk/core/sd_newfile.h"

#include "stagedesk/core/sd_sha256.h"

#include <algorithm>
#include <cerrno>
#include <memory>
#include <vector>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>
#include <windows.h>
#else
#include <cstdio> // renameat2
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace fs = std::filesystem;

namespace sd {

namespace {

// The system calls, by platform; each answers -1 with errno set on failure.
#ifdef _WIN32
int OpenToRead(const fs::path& path) {
    return _wopen(path.c_str(), _O_RDONLY | _O_BINARY);
}
int OpenNew(const fs::path& path) {
    return _wopen(path.c_str(), _O_WRONLY | _O_CREAT | _O_EXCL | _O_BINARY, _S_IREAD | _S_IWRITE);
}
long long ReadSome(int descriptor, char* data, long long size) {
    return _read(descriptor, data, unsigned(std::min<long long>(size, 1 << 30)));
}
long long WriteSome(int descriptor, const char* data, long long size) {
    return _write(descriptor, data, unsigned(std::min<long long>(size, 1 << 30)));
}
int Sync(int descriptor) {
    return _commit(descriptor);
}
int Close(int descriptor) {
    return _close(descriptor);
}
// The size and the permission bits of an open file; Windows keeps no permission bits worth copying
// (the new file was made writable).
sd_FileStamp StampOf(const struct _stat64& status) {
    return {status.st_size, qint64(status.st_mtime) * 1000000000, 0, 0};
}
int Stamp(int descriptor, sd_FileStamp& stamp) {
    struct _stat64 status {};
    if (_fstat64(descriptor, &status) != 0)
        return -1;
    stamp = StampOf(status);
    return 0;
}
int Stamp(const fs::path& path, sd_FileStamp& stamp) {
    struct _stat64 status {};
    if (_wstat64(path.c_str(), &status) != 0)
        return -1;
    stamp = StampOf(status);
    return 0;
}
int SizeAndMode(int descriptor, qint64& size, int& mode) {
    size = _filelengthi64(descriptor);
    mode = 0;
    return size < 0 ? -1 : 0;
}
int StampAndMode(int descriptor, sd_FileStamp& stamp, int& mode) {
    mode = 0;
    return Stamp(descriptor, stamp);
}
int SetMode(int, int) {
    return 0;
}
// The last write time as QFileInfo reads it: 100 ns ticks since 1601.
int ModifiedMs(int descriptor, qint64& ms) {
    FILETIME written;
    if (!GetFileTime(HANDLE(_get_osfhandle(descriptor)), nullptr, nullptr, &written)) {
        errno = EIO;
        return -1;
    }
    const qint64 ticks = (qint64(written.dwHighDateTime) << 32) | written.dwLowDateTime;
    ms = (ticks - 116444736000000000LL) / 10000;
    return 0;
}
#else
int OpenToRead(const fs::path& path) {
    return ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
}
int OpenNew(const fs::path& path) {
    return ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
}
long long ReadSome(int descriptor, char* data, long long size) {
    return ::read(descriptor, data, size_t(size));
}
long long WriteSome(int descriptor, const char* data, long long size) {
    return ::write(descriptor, data, size_t(size));
}
int Sync(int descriptor) {
    return ::fsync(descriptor);
}
int Close(int descriptor) {
    return ::close(descriptor);
}
qint64 Nanoseconds(const struct timespec& time) {
    return qint64(time.tv_sec) * 1000000000 + time.tv_nsec;
}
sd_FileStamp StampOf(const struct stat& status) {
    return {status.st_size, Nanoseconds(status.st_mtim), Nanoseconds(status.st_ctim), qint64(status.st_ino)};
}
int Stamp(const fs::path& path, sd_FileStamp& stamp) {
    struct stat status {};
    if (::stat(path.c_str(), &status) != 0)
        return -1;
    stamp = StampOf(status);
    return 0;
}
int SizeAndMode(int descriptor, qint64& size, int& mode) {
    struct stat status {};
    if (::fstat(descriptor, &status) != 0)
        return -1;
    size = status.st_size;
    mode = int(status.st_mode & 07777);
    return 0;
}
int StampAndMode(int descriptor, sd_FileStamp& stamp, int& mode) {
    struct stat status {};
    if (::fstat(descriptor, &status) != 0)
        return -1;
    stamp = StampOf(status);
    mode = int(status.st_mode & 07777);
    return 0;
}
// The source's bits, with the owner's read and write added.
int SetMode(int descriptor, int mode) {
    return ::fchmod(descriptor, mode_t(mode) | S_IRUSR | S_IWUSR);
}
// Whole milliseconds, as QFileInfo reads the time.
int ModifiedMs(int descriptor, qint64& ms) {
    struct stat status {};
    if (::fstat(descriptor, &status) != 0)
        return -1;
    ms = qint64(status.st_mtim.tv_sec) * 1000 + status.st_mtim.tv_nsec / 1000000;
    return 0;
}
#endif

std::error_code SystemError() {
    return std::error_code(errno, std::generic_category());
}

std::error_code WriteAll(int descriptor, const char* data, long long size) {
    while (size > 0) {
        const long long written = WriteSome(descriptor, data, size);
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return written < 0 ? SystemError() : std::make_error_code(std::errc::io_error);
        data += written;
        size -= written;
    }
    return {};
}

#ifdef __linux__
// Copies in the kernel, as cp does, which saves a pass through memory. False when this file system pair
// cannot (the caller copies the rest through a buffer); a first call that copies nothing gets the
// buffer too, as some file systems report no data that way.
bool CopyInKernel(int from, int to, std::error_code& error) {
    for (bool first = true;; first = false) {
        const ssize_t copied = ::copy_file_range(from, nullptr, to, nullptr, size_t(1) << 30, 0);
        if (copied > 0)
            continue;
        if (copied == 0)
            return !first;
        if (errno == EINTR)
            continue;
        if (errno == EXDEV || errno == EINVAL || errno == ENOSYS || errno == EOPNOTSUPP || errno == EBADF)
            return false;
        error = SystemError();
        return true;
    }
}
#endif

// A hashed copy reads through the buffer, and hashes each piece between its read and its write; the
// bytes that go through the buffer are counted.
std::error_code CopyData(int from, int to, sd_Sha256* hash, qint64& copied) {
#ifdef __linux__
    std::error_code error;
    if (!hash && CopyInKernel(from, to, error))
        return error;
#endif
    // One buffer per thread for all its copies: clearing a fresh megabyte for each small file would cost
    // more than the copy.
    thread_local std::vector<char> buffer(1024 * 1024);
    for (;;) {
        const long long got = ReadSome(from, buffer.data(), (long long)buffer.size());
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            return SystemError();
        if (got == 0)
            return {};
        if (hash)
            hash->Update(buffer.data(), got);
        if (const std::error_code error = WriteAll(to, buffer.data(), got))
            return error;
        copied += got;
    }
}

int CopyMode(int from, int to) {
    qint64 size = 0;
    int mode = 0;
    return SizeAndMode(from, size, mode) == 0 ? SetMode(to, mode) : -1;
}

// Closes the new file (its close can be the first to tell of a full disk) and removes it after any
// failure, the first of which is the answer.
std::error_code Finish(int descriptor, std::error_code error, const fs::path& target) {
    if (Close(descriptor) != 0 && !error)
        error = SystemError();
    if (error) {
        std::error_code ignored;
        fs::remove(target, ignored);
    }
    return error;
}

} // namespace

std::error_code CopyToNewFile(const fs::path& source, const fs::path& target, sd_CopiedFile* copied) {
    const int from = OpenToRead(source);
    if (from < 0)
        return SystemError();
    const int to = OpenNew(target);
    if (to < 0) {
        const std::error_code error = SystemError();
        Close(from);
        return error;
    }
    std::unique_ptr<sd_Sha256> hash = copied ? std::make_unique<sd_Sha256>() : nullptr;
    qint64 size = 0;
    std::error_code error = CopyData(from, to, hash.get(), size);
    if (!error && CopyMode(from, to) != 0)
        error = SystemError();
    qint64 modifiedMs = 0;
    if (!error && copied && ModifiedMs(to, modifiedMs) != 0)
        error = SystemError();
    if (!error && copied)
        *copied = {hash->HexDigest(), size, modifiedMs};
    Close(from);
    return Finish(to, error, target);
}

std::error_code WriteCopyToNewFile(const sd_SourceRead& read, const fs::path& target, sd_CopiedFile* copied) {
    const int to = OpenNew(target);
    if (to < 0)
        return SystemError();
    std::error_code error = WriteAll(to, read.bytes.constData(), read.bytes.size());
    if (!error && SetMode(to, read.mode) != 0)
        error = SystemError();
    qint64 modifiedMs = 0;
    if (!error && copied && ModifiedMs(to, modifiedMs) != 0)
        error = SystemError();
    if (!error && copied)
        *copied = {read.sha256, read.bytes.size(), modifiedMs};
    return Finish(to, error, target);
}

bool Unchanged(const fs::path& source, const sd_SourceRead& read) {
    sd_FileStamp now;
    return Stamp(source, now) == 0 && now == read.stamp;
}

bool ReadWholeFile(const fs::path& source, qint64 maxBytes, sd_SourceRead& read) {
    const int from = OpenToRead(source);
    if (from < 0)
        return false;
    bool whole = StampAndMode(from, read.stamp, read.mode) == 0 && read.stamp.size <= maxBytes;
    // One byte more than the size, to see the end in the same read when the file did not grow.
    read.bytes.resize(whole ? read.stamp.size + 1 : 0);
    qint64 got = 0;
    while (whole) {
        const long long some = ReadSome(from, read.bytes.data() + got, read.bytes.size() - got);
        if (some < 0 && errno == EINTR)
            continue;
        if (some <= 0) {
            whole = some == 0;
            break;
        }
        got += some;
        whole = got < read.bytes.size(); // grown since: the copy reads it itself
    }
    Close(from);
    if (whole)
        read.bytes.truncate(got);
    return whole;
}

std::error_code RenameNew(const fs::path& from, const fs::path& to) {
#ifdef _WIN32
    if (MoveFileExW(from.c_str(), to.c_str(), 0)) // without MOVEFILE_REPLACE_EXISTING
        return {};
    const DWORD code = GetLastError();
    if (code == ERROR_ALREADY_EXISTS || code == ERROR_FILE_EXISTS)
        return std::make_error_code(std::errc::file_exists);
    return std::error_code(int(code), std::system_category());
#else
    if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0)
        return {};
    if (errno != EINVAL && errno != ENOSYS)
        return SystemError();
    // A file system that cannot refuse in the same step: look first.
    struct stat status {};
    if (::lstat(to.c_str(), &status) == 0)
        return std::make_error_code(std::errc::file_exists);
    return ::rename(from.c_str(), to.c_str()) == 0 ? std::error_code() : SystemError();
#endif
}

std::error_code WriteNewFile(const fs::path& target, const QByteArray& bytes) {
    const int to = OpenNew(target);
    if (to < 0)
        return SystemError();
    std::error_code error = WriteAll(to, bytes.constData(), bytes.size());
    if (!error && Sync(to) != 0)
        error = SystemError();
    return Finish(to, error, target);
}

} // namespace sd
