// The file system of Windows, through the ANSI entry points of the Windows API (paths are 8-bit texts).
// Windows compares names ignoring letter case by itself, so no case resolution is needed here.
#include "foundation/platform/FileSystem.h"
#include "foundation/platform/PathStyle.h"

#include <windows.h>

#include <fcntl.h>
#include <io.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstring>

// windows.h maps these names onto its own functions; the interface uses them as method names.
#undef DeleteFile
#undef RemoveDirectory

namespace {

// The failure of this thread's call that failed last: a system error code, or the C library's errno for
// the calls made through its streams. Kept at the failure, as later calls replace both.
struct Failure {
    bool fromLibrary = false;
    unsigned long code = 0;
};
thread_local Failure lastFailure;

bool FailedSystemCall() {
    lastFailure = {false, GetLastError()};
    return false;
}

bool FailedLibraryCall() {
    lastFailure = {true, static_cast<unsigned long>(errno)};
    return false;
}

// The system's message of code without its closing period and line end: "Access is denied".
std::string SystemMessage(unsigned long code) {
    char buffer[512];
    DWORD length = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code,
                                  0, buffer, sizeof buffer, nullptr);
    std::string message(buffer, length);
    while (!message.empty() &&
           (std::isspace(static_cast<unsigned char>(message.back())) || message.back() == '.'))
        message.pop_back();
    if (message.empty())
        message = "Windows error " + std::to_string(code);
    return message;
}

// FileTimes counts nanoseconds from 1970 on every system; FILETIME counts 100 ns ticks from 1601.
constexpr int64_t kTicksFrom1601To1970 = 116444736000000000LL;

int64_t ToNanoseconds(const FILETIME& time) {
    uint64_t ticks = (static_cast<uint64_t>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
    return (static_cast<int64_t>(ticks) - kTicksFrom1601To1970) * 100;
}

FILETIME ToFileTime(int64_t nanoseconds) {
    uint64_t ticks = static_cast<uint64_t>(nanoseconds / 100 + kTicksFrom1601To1970);
    return {static_cast<DWORD>(ticks), static_cast<DWORD>(ticks >> 32)};
}

bool IsDotName(const char* name) {
    return name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0'));
}

// Every reparse point counts as a link (symbolic links, junctions, mounted folders): a tree walk that
// deletes must never pass through one. The reparse tag is not trusted, as not every system fills it in.
bool IsLink(DWORD attributes) {
    return (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
}

// The text after the last separator: "" for "C:\dir\", "b.ini" for "C:/a/b.ini", "C:" for "C:".
std::string LastComponent(const std::string& path) {
    size_t separator = path.find_last_of("\\/");
    return separator == std::string::npos ? path : path.substr(separator + 1);
}

bool IsDrive(const std::string& name) {
    return name.size() == 2 && name[1] == ':';
}

// A search that found nothing has run; a search in a missing folder has not. A name without wildcards
// is looked up rather than searched for, so a missing folder or a file on its way only means it is not
// there (systems tell the file on the way as a bad folder name or as an invalid name), as does a name
// that no file can have.
bool IsMissing(DWORD error, bool searched) {
    return error == ERROR_FILE_NOT_FOUND ||
           (!searched &&
            (error == ERROR_PATH_NOT_FOUND || error == ERROR_DIRECTORY || error == ERROR_INVALID_NAME));
}

// The answer of a lookup that the system refused with error: true (searched, nothing there) or false.
bool SearchedNothing(bool searched) {
    FailedSystemCall();
    return IsMissing(lastFailure.code, searched);
}

DirectoryEntry MakeEntry(const std::string& name, DWORD attributes) {
    DirectoryEntry entry;
    entry.name = name;
    entry.isDirectory = (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    entry.isLink = IsLink(attributes);
    return entry;
}

// A path that ends with a separator ("C:\dir\"), a root ("C:\", "\\server\share\") or a drive ("C:"):
// the directory itself, which the directory search of the system does not report.
bool FindDirectoryItself(const std::string& path, std::vector<DirectoryEntry>& entries) {
    DWORD attributes = GetFileAttributesA(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return SearchedNothing(false);
    if (!(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
        lastFailure = {false, ERROR_DIRECTORY};
        return false;
    }
    size_t end = path.find_last_not_of("\\/");
    std::string trimmed = end == std::string::npos ? path : path.substr(0, end + 1);
    std::string name = LastComponent(trimmed);
    entries.push_back(MakeEntry(name.empty() ? path : name, attributes));
    return true;
}

// A C library stream, so the mode texts keep their Windows meaning (text mode unless "b" is given).
class StdioFile : public File {
public:
    explicit StdioFile(FILE* stream) : stream_(stream) {}
    ~StdioFile() override { Close(); }

    size_t Read(void* buffer, size_t size, bool& readError) override {
        TurnTo(Direction::Reading);
        size_t count = std::fread(buffer, 1, size, stream_);
        if (count < size && std::ferror(stream_)) {
            readError = true;
            FailedLibraryCall();
        }
        return count;
    }

    size_t Write(const void* buffer, size_t size) override {
        TurnTo(Direction::Writing);
        size_t written = std::fwrite(buffer, 1, size, stream_);
        if (written < size)
            FailedLibraryCall();
        return written;
    }

    // A write that failed when the buffer was emptied early still fails the close: the C library drops
    // what it could not write.
    bool Close() override {
        if (!stream_)
            return false;
        bool closed = std::fclose(stream_) == 0 || FailedLibraryCall();
        stream_ = nullptr;
        return closed && !flushFailed_;
    }

    bool GetTimes(FileTimes& times) override {
        FILETIME access, modification;
        if (!GetFileTime(Handle(), nullptr, &access, &modification))
            return FailedSystemCall();
        times.accessNanoseconds = ToNanoseconds(access);
        times.modificationNanoseconds = ToNanoseconds(modification);
        return true;
    }

    // The stream's buffer goes first: written at closing, it would count as a later change.
    bool SetTimes(const FileTimes& times) override {
        if (!FlushStream())
            return false;
        FILETIME access = ToFileTime(times.accessNanoseconds);
        FILETIME modification = ToFileTime(times.modificationNanoseconds);
        return SetFileTime(Handle(), nullptr, &access, &modification) != 0 || FailedSystemCall();
    }

    bool Sync() override { return FlushStream() && (FlushFileBuffers(Handle()) != 0 || FailedSystemCall()); }

private:
    enum class Direction { None, Reading, Writing };

    // An update stream ("w+", "r+") must be positioned between a write and a read, and back.
    void TurnTo(Direction direction) {
        if (last_ != Direction::None && last_ != direction)
            std::fseek(stream_, 0, SEEK_CUR);
        last_ = direction;
    }

    HANDLE Handle() const { return reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(stream_))); }

    bool FlushStream() {
        if (std::fflush(stream_) == 0)
            return true;
        flushFailed_ = true;
        return FailedLibraryCall();
    }

    FILE* stream_;
    Direction last_ = Direction::None;
    bool flushFailed_ = false;
};

// A handle opened for attribute work only; directories need the backup-semantics flag to be opened at all.
HANDLE OpenForAttributes(const std::string& path, DWORD access) {
    return CreateFileA(path.c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                       OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
}

// The path that path leads to after every link: "C:\a\link" -> "C:\b\target". Empty when it cannot be
// opened.
std::string FinalPath(const std::string& path) {
    HANDLE handle = OpenForAttributes(path, 0);
    if (handle == INVALID_HANDLE_VALUE)
        return {};
    std::string final(MAX_PATH, '\0');
    DWORD length = GetFinalPathNameByHandleA(handle, final.data(), static_cast<DWORD>(final.size()), 0);
    if (length >= final.size()) {
        final.resize(length);
        length = GetFinalPathNameByHandleA(handle, final.data(), static_cast<DWORD>(final.size()), 0);
    }
    CloseHandle(handle);
    final.resize(length < final.size() ? length : 0);
    // The system answers in its long-path form: \\?\C:\b or \\?\UNC\server\share\b.
    if (final.rfind("\\\\?\\UNC\\", 0) == 0)
        return "\\\\" + final.substr(8);
    if (final.rfind("\\\\?\\", 0) == 0)
        return final.substr(4);
    return final;
}

// path with each ".." taken from the folder that the part before it really is, after links, as other
// systems resolve it; the Windows path functions drop "link\.." lexically instead.
std::string WithPhysicalParents(const std::string& path) {
    std::string result;
    size_t start = 0;
    for (;;) {
        size_t end = path.find_first_of("\\/", start);
        std::string component =
            path.substr(start, end == std::string::npos ? std::string::npos : end - start);
        if (component == ".." && !result.empty()) {
            std::string final = FinalPath(result);
            if (!final.empty())
                result = final + "\\";
        }
        result += component;
        if (end == std::string::npos)
            return result;
        result += '\\';
        start = end + 1;
    }
}

bool SameFolder(std::string a, std::string b) {
    for (std::string* path : {&a, &b}) {
        while (path->size() > 1 && (path->back() == '\\' || path->back() == '/'))
            path->pop_back();
    }
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}

// The whole of a lock file locked through its handle; closing the handle would release it too.
class WindowsFileLock : public FileLock {
public:
    explicit WindowsFileLock(HANDLE handle) : handle_(handle) {}
    ~WindowsFileLock() override {
        if (locked_) {
            OVERLAPPED start = {};
            UnlockFileEx(handle_, 0, MAXDWORD, MAXDWORD, &start);
        }
        CloseHandle(handle_);
    }

    bool Lock() {
        OVERLAPPED start = {};
        locked_ = LockFileEx(handle_, LOCKFILE_EXCLUSIVE_LOCK, 0, MAXDWORD, MAXDWORD, &start) != 0;
        return locked_ || FailedSystemCall();
    }

private:
    HANDLE handle_;
    bool locked_ = false;
};

// A file created by the system only when no file of that name exists, used as a stream of mode.
std::unique_ptr<File> OpenNew(const std::string& path, const std::string& mode) {
    bool update = mode.find('+') != std::string::npos;
    HANDLE handle = CreateFileA(path.c_str(), GENERIC_WRITE | (update ? GENERIC_READ : 0), FILE_SHARE_READ,
                                nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        FailedSystemCall();
        return nullptr;
    }
    // Without a "b" the stream is a text stream, as fopen would make it: lines end in CR LF on disk.
    int translation = mode.find('b') == std::string::npos ? _O_TEXT : _O_BINARY;
    int descriptor =
        _open_osfhandle(reinterpret_cast<intptr_t>(handle), (update ? _O_RDWR : _O_WRONLY) | translation);
    if (descriptor < 0) {
        FailedLibraryCall();
        CloseHandle(handle);
        return nullptr;
    }
    FILE* stream = _fdopen(descriptor, mode.c_str());
    if (!stream) {
        FailedLibraryCall();
        _close(descriptor);
        return nullptr;
    }
    return std::make_unique<StdioFile>(stream);
}

class WindowsFileSystem : public FileSystem {
public:
    bool FindEntries(const std::string& pattern, std::vector<DirectoryEntry>& entries) override {
        entries.clear();
        std::string name = LastComponent(pattern);
        if (name.empty() || IsDrive(name))
            return FindDirectoryItself(pattern, entries);
        WIN32_FIND_DATAA data;
        HANDLE search = FindFirstFileA(pattern.c_str(), &data);
        if (search == INVALID_HANDLE_VALUE)
            return SearchedNothing(HasWildcards(name));
        do {
            // The system also matches the short 8.3 names ("*.ini" finds "a.inix"); only whole names count.
            if (IsDotName(data.cFileName) || (HasWildcards(name) && !MatchesWildcard(data.cFileName, name)))
                continue;
            entries.push_back(MakeEntry(data.cFileName, data.dwFileAttributes));
        } while (FindNextFileA(search, &data));
        bool complete = GetLastError() == ERROR_NO_MORE_FILES || FailedSystemCall();
        FindClose(search);
        return complete;
    }

    bool MakeDirectory(const std::string& path) override {
        return CreateDirectoryA(path.c_str(), nullptr) != 0 || FailedSystemCall();
    }

    bool RemoveDirectory(const std::string& path) override {
        return RemoveDirectoryA(path.c_str()) != 0 || FailedSystemCall();
    }

    bool DeleteFile(const std::string& path) override {
        DWORD attributes = GetFileAttributesA(path.c_str());
        if (attributes == INVALID_FILE_ATTRIBUTES)
            return FailedSystemCall();
        if (attributes & FILE_ATTRIBUTE_DIRECTORY) {
            // A link to a directory is removed as a directory entry; its target is left alone.
            if (!IsLink(attributes)) {
                lastFailure = {false, ERROR_ACCESS_DENIED};
                return false;
            }
            return RemoveDirectoryA(path.c_str()) != 0 || FailedSystemCall();
        }
        if (DeleteFileA(path.c_str()))
            return true;
        FailedSystemCall();
        // A read-only file in a writable folder goes, as it does on other systems.
        if (!(attributes & FILE_ATTRIBUTE_READONLY) ||
            !SetFileAttributesA(path.c_str(), attributes & ~FILE_ATTRIBUTE_READONLY))
            return false;
        if (DeleteFileA(path.c_str()))
            return true;
        FailedSystemCall();
        SetFileAttributesA(path.c_str(), attributes);
        return false;
    }

    // The times of what a link leads to, as for every other operation on the file.
    bool FileSize(const std::string& path, uint64_t& size) override {
        HANDLE handle = OpenForAttributes(path, FILE_READ_ATTRIBUTES);
        if (handle == INVALID_HANDLE_VALUE)
            return FailedSystemCall();
        LARGE_INTEGER bytes;
        bool known = GetFileSizeEx(handle, &bytes) != 0 || FailedSystemCall();
        CloseHandle(handle);
        if (known)
            size = static_cast<uint64_t>(bytes.QuadPart);
        return known;
    }

    bool GetFileTimes(const std::string& path, FileTimes& times) override {
        HANDLE handle = OpenForAttributes(path, FILE_READ_ATTRIBUTES);
        if (handle == INVALID_HANDLE_VALUE)
            return FailedSystemCall();
        FILETIME access, modification;
        bool known = GetFileTime(handle, nullptr, &access, &modification) != 0 || FailedSystemCall();
        CloseHandle(handle);
        if (!known)
            return false;
        times.accessNanoseconds = ToNanoseconds(access);
        times.modificationNanoseconds = ToNanoseconds(modification);
        return true;
    }

    bool FileSizeAndTimes(const std::string& path, uint64_t& size, FileTimes& times) override {
        HANDLE handle = OpenForAttributes(path, FILE_READ_ATTRIBUTES);
        if (handle == INVALID_HANDLE_VALUE)
            return FailedSystemCall();
        LARGE_INTEGER bytes;
        FILETIME access, modification;
        bool known = (GetFileSizeEx(handle, &bytes) != 0 &&
                      GetFileTime(handle, nullptr, &access, &modification) != 0) ||
                     FailedSystemCall();
        CloseHandle(handle);
        if (!known)
            return false;
        size = static_cast<uint64_t>(bytes.QuadPart);
        times.accessNanoseconds = ToNanoseconds(access);
        times.modificationNanoseconds = ToNanoseconds(modification);
        return true;
    }

    bool SetFileTimes(const std::string& path, const FileTimes& times) override {
        HANDLE handle = OpenForAttributes(path, FILE_WRITE_ATTRIBUTES);
        if (handle == INVALID_HANDLE_VALUE)
            return FailedSystemCall();
        FILETIME access = ToFileTime(times.accessNanoseconds);
        FILETIME modification = ToFileTime(times.modificationNanoseconds);
        bool set = SetFileTime(handle, nullptr, &access, &modification) != 0 || FailedSystemCall();
        CloseHandle(handle);
        return set;
    }

    // The full-path service of the system within MAX_PATH (260 characters with the terminator).
    std::string FullPath(const std::string& path) override {
        if (path.empty())
            return {};
        char buffer[MAX_PATH];
        DWORD length = GetFullPathNameA(path.c_str(), MAX_PATH, buffer, nullptr);
        if (length == 0) {
            FailedSystemCall();
            return {};
        }
        if (length >= MAX_PATH) {
            lastFailure = {false, ERROR_FILENAME_EXCED_RANGE};
            return {};
        }
        return std::string(buffer, length);
    }

    // The Windows C library has no "x" (exclusive create), so a mode with "x" is served by the system.
    std::unique_ptr<File> OpenFile(const std::string& path, const char* mode) override {
        if (!mode) {
            lastFailure = {true, EINVAL};
            return nullptr;
        }
        std::string streamMode = mode;
        streamMode.erase(std::remove(streamMode.begin(), streamMode.end(), 'x'), streamMode.end());
        if (streamMode.size() != std::strlen(mode))
            return OpenNew(path, streamMode);
        FILE* stream = std::fopen(path.c_str(), mode);
        if (!stream) {
            FailedLibraryCall();
            return nullptr;
        }
        return std::make_unique<StdioFile>(stream);
    }

    std::unique_ptr<File> CreateNewFile(const std::string& path) override { return OpenNew(path, "w+"); }

    // A file that another process holds open for a moment (one looking at it, a virus scanner) cannot be
    // replaced: the rename waits for it a little, up to about a second, before it fails.
    bool RenameFile(const std::string& source, const std::string& target) override {
        constexpr int kAttempts = 50;
        constexpr DWORD kWaitMilliseconds = 20;
        for (int attempt = 1;; ++attempt) {
            if (MoveFileExA(source.c_str(), target.c_str(),
                            MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
                return true;
            DWORD error = GetLastError();
            if ((error != ERROR_ACCESS_DENIED && error != ERROR_SHARING_VIOLATION) || attempt == kAttempts)
                return FailedSystemCall();
            Sleep(kWaitMilliseconds);
        }
    }

    // Others may read and write the lock file; only the lock is exclusive.
    std::unique_ptr<FileLock> LockFile(const std::string& path) override {
        HANDLE handle = CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                    OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (handle == INVALID_HANDLE_VALUE) {
            FailedSystemCall();
            return nullptr;
        }
        auto lock = std::make_unique<WindowsFileLock>(handle);
        return lock->Lock() ? std::move(lock) : nullptr;
    }

    std::string LastFailureReason() override {
        if (lastFailure.code == 0)
            return {};
        return lastFailure.fromLibrary ? std::strerror(static_cast<int>(lastFailure.code))
                                       : SystemMessage(lastFailure.code);
    }

    // A drive or share root, or a folder on which a volume is mounted, also when reached through a link.
    bool IsVolumeRoot(const std::string& path) override {
        std::string final = FinalPath(path);
        if (final.empty() || DirectoryIdentity(final).empty())
            return false;
        char volume[MAX_PATH];
        return GetVolumePathNameA(final.c_str(), volume, MAX_PATH) && SameFolder(final, volume);
    }

    // Volume serial number and file index: the same directory reached by two paths gives the same text.
    // Links are followed, and ".." leads to the parent of the folder a link leads to.
    std::string DirectoryIdentity(const std::string& path) override { return Identity(path, true); }

    std::string FileIdentity(const std::string& path) override { return Identity(path, false); }

    static std::string Identity(const std::string& path, bool directoryOnly) {
        HANDLE handle = OpenForAttributes(WithPhysicalParents(path), 0);
        if (handle == INVALID_HANDLE_VALUE)
            return {};
        BY_HANDLE_FILE_INFORMATION info;
        bool known = GetFileInformationByHandle(handle, &info) != 0;
        CloseHandle(handle);
        if (!known || (directoryOnly && !(info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)))
            return {};
        char text[64];
        std::snprintf(text, sizeof text, "%lx:%lx:%lx", static_cast<unsigned long>(info.dwVolumeSerialNumber),
                      static_cast<unsigned long>(info.nFileIndexHigh),
                      static_cast<unsigned long>(info.nFileIndexLow));
        return text;
    }
};

} // namespace

FileSystem& NativeFileSystem() {
    static WindowsFileSystem fileSystem;
    return fileSystem;
}
