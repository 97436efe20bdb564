#include "stagedesk/core/sd_platform.h"

#include "stagedesk/core/sd_newfile.h"
#include "stagedesk/core/sd_paths.h"
#include "stagedesk/core/sd_temporary.h"

#include <QFile>
#include <QFileInfo>
#include <QStorageInfo>
#include <QThread>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <system_error>

namespace fs = std::filesystem;

namespace {

fs::path ToFs(const QString& path) {
#ifdef _WIN32
    return fs::path(path.toStdWString());
#else
    return fs::path(QFile::encodeName(path).toStdString());
#endif
}

QString FromFs(const fs::path& path) {
#ifdef _WIN32
    return QString::fromStdWString(path.native());
#else
    return QFile::decodeName(QByteArray::fromStdString(path.native()));
#endif
}

sd_FsResult Failure(const std::error_code& error) {
    sd_FsResult result;
    if (!error)
        return result;
    result.message = QString::fromLocal8Bit(error.message());
    if (error == std::errc::io_error)
        result.status = sd_FsStatus::IoError;
    else if (error == std::errc::no_such_file_or_directory || error == std::errc::not_a_directory)
        result.status = sd_FsStatus::Missing;
    else if (error == std::errc::permission_denied || error == std::errc::operation_not_permitted)
        result.status = sd_FsStatus::AccessDenied;
    else if (error == std::errc::file_exists)
        result.status = sd_FsStatus::Exists;
    else
        result.status = sd_FsStatus::Other;
    return result;
}

// Makes a new file with make() under a fresh temporary name in folder. A temporary name that exists
// already is someone else's: another is taken.
std::error_code MakeTemporary(const QString& folder,
                              const std::function<std::error_code(const fs::path&)>& make,
                              fs::path& temporary) {
    std::error_code error = std::make_error_code(std::errc::file_exists);
    for (int attempt = 0; attempt < 8 && error == std::errc::file_exists; ++attempt) {
        temporary = ToFs(sd::TemporaryPathIn(folder));
        error = make(temporary);
    }
    return error;
}

// Whether the new name may replace what is there, or is taken only where nothing is (file_exists
// otherwise).
enum class Placing { Replace, OnlyIfFree };

// Gives the complete temporary file the target's name; a failure removes it.
std::error_code PutInPlace(const fs::path& temporary, const fs::path& target, Placing placing) {
    std::error_code error;
    if (placing == Placing::OnlyIfFree)
        error = sd::RenameNew(temporary, target);
    else
        fs::rename(temporary, target, error);
    if (error) {
        std::error_code ignored;
        fs::remove(temporary, ignored);
    }
    return error;
}

// Makes a new file with make() under a temporary name in folder and gives it the target's name when it
// is complete.
sd_FsResult MakeThenRename(const QString& folder, const fs::path& target,
                           const std::function<std::error_code(const fs::path&)>& make, Placing placing) {
    fs::path temporary;
    const std::error_code error = MakeTemporary(folder, make, temporary);
    // No free temporary name: that is not the target's, which would mean "keep it".
    if (error == std::errc::file_exists)
        return {sd_FsStatus::Other, QString::fromLocal8Bit(error.message())};
    return Failure(error ? error : PutInPlace(temporary, target, placing));
}

// Whether something is at path, links not followed; error also tells of a path that is missing.
bool Occupied(const fs::path& path, std::error_code& error) {
    return fs::symlink_status(path, error).type() != fs::file_type::not_found;
}

void SortByName(QStringList& paths) {
    std::sort(paths.begin(), paths.end(), [](const QString& a, const QString& b) {
        return QString::compare(a, b, Qt::CaseInsensitive) < 0;
    });
}

// Read-only folders keep their contents from being deleted on POSIX; open them up first.
void MakeTreeWritable(const fs::path& root) {
    std::error_code ignored;
    fs::permissions(root, fs::perms::owner_all, fs::perm_options::add, ignored);
    for (auto it = fs::recursive_directory_iterator(root, ignored); it != fs::recursive_directory_iterator();
         it.increment(ignored)) {
        if (ignored)
            break;
        if (!it->is_symlink(ignored))
            fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, ignored);
    }
}

} // namespace

sd_platform& sd_platform::Real() {
    static sd_platform real;
    return real;
}

sd_FsResult sd_platform::ListFolder(const QString& folder, QStringList& folders, QStringList& files) {
    folders.clear();
    files.clear();
    const QString prefix = sd::WithTrailingSeparator(folder);
    std::error_code error;
    fs::directory_iterator it(ToFs(folder), error);
    for (; !error && it != fs::directory_iterator(); it.increment(error)) {
        std::error_code ignored;
        const QString path = prefix + FromFs(it->path().filename());
        if (it->is_directory(ignored)) {
            if (!it->is_symlink(ignored))
                folders << path;
        } else if (it->is_regular_file(ignored)) {
            files << path;
        }
    }
    if (error)
        return Failure(error);
    SortByName(folders);
    SortByName(files);
    return {};
}

sd_FsResult sd_platform::CopyFileData(const QString& source, const QString& target, sd_CopiedFile* copied,
                                      sd_SourceRead* read) {
    std::error_code error;
    const fs::path to = ToFs(target);
    const fs::path from = ToFs(source);
    const bool unchanged = read && sd::Unchanged(from, *read);
    const bool written = read && !read->temporary.isEmpty(); // its bytes are in the temporary file only
    if (written) {
        const fs::path temporary = ToFs(read->temporary);
        read->temporary.clear();
        if (!unchanged) {
            std::error_code ignored;
            fs::remove(temporary, ignored);
        } else {
            error = PutInPlace(temporary, to, Placing::OnlyIfFree); // which removes it when it fails
            if (!error && copied)
                *copied = read->made;
            if (!error || error == std::errc::file_exists)
                return Failure(error);
            error.clear(); // the copy starts over, in its turn
        }
    }
    if (Occupied(to, error))
        return Failure(error ? error : std::make_error_code(std::errc::file_exists));
    return MakeThenRename(
        QFileInfo(target).path(), to,
        [&](const fs::path& temporary) {
            return unchanged && !written ? sd::WriteCopyToNewFile(*read, temporary, copied)
                                         : sd::CopyToNewFile(from, temporary, copied);
        },
        Placing::OnlyIfFree);
}

bool sd_platform::ReadSource(const QString& source, qint64 maxBytes, sd_SourceRead& read) {
    return sd::ReadWholeFile(ToFs(source), maxBytes, read);
}

bool sd_platform::WriteAhead(sd_SourceRead& read, const QString& target) {
    std::error_code ignored;
    if (Occupied(ToFs(target), ignored))
        return false;
    fs::path temporary;
    if (MakeTemporary(
            QFileInfo(target).path(),
            [&](const fs::path& path) { return sd::WriteCopyToNewFile(read, path, &read.made); }, temporary))
        return false;
    read.temporary = FromFs(temporary);
    read.bytes = QByteArray();
    return true;
}

sd_FsResult sd_platform::SaveFile(const QString& path, const QByteArray& bytes) {
    const fs::path target = ToFs(path);
    return MakeThenRename(
        QFileInfo(path).path(), target,
        [&](const fs::path& temporary) {
            std::error_code error = sd::WriteNewFile(temporary, bytes);
            std::error_code missing;
            const fs::file_status old = fs::status(target, missing);
            if (!error && !missing)
                fs::permissions(temporary, old.permissions(), error);
            return error;
        },
        Placing::Replace);
}

sd_FsResult sd_platform::AppendToFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append))
        return {sd_FsStatus::Other, file.errorString()};
    const qint64 before = file.size();
    if (file.write(bytes) != bytes.size() || !file.flush()) {
        // A cut line (a full disk) is taken back, so that the file holds whole lines only.
        const QString reason = file.errorString();
        file.resize(before);
        return {sd_FsStatus::Other, reason};
    }
    return {};
}

sd_FsResult sd_platform::MakeFolder(const QString& path) {
    std::error_code error;
    fs::create_directories(ToFs(path), error);
    return Failure(error);
}

sd_FsResult sd_platform::MakeNormal(const QString& path) {
    std::error_code error;
    fs::permissions(ToFs(path), fs::perms::owner_read | fs::perms::owner_write, fs::perm_options::add, error);
    return Failure(error);
}

sd_FsResult sd_platform::RemoveTree(const QString& path) {
    const fs::path root = ToFs(path);
    std::error_code error;
    if (!fs::is_symlink(root, error))
        MakeTreeWritable(root);
    fs::remove_all(root, error);
    return Failure(error);
}

sd_FsResult sd_platform::RemoveFile(const QString& path) {
    std::error_code error;
    fs::remove(ToFs(path), error);
    return Failure(error);
}

bool sd_platform::IsSameOrInside(const QString& path, const QString& folder) {
    std::error_code error;
    const fs::path container = ToFs(folder);
    if (!fs::exists(container, error))
        return false;
    for (fs::path inner = fs::canonical(ToFs(path), error); !error; inner = inner.parent_path()) {
        if (fs::equivalent(inner, container, error))
            return true;
        if (inner == inner.parent_path())
            return false; // the root
    }
    return false;
}

sd_Volume sd_platform::VolumeOf(const QString& path) {
    sd_Volume volume;
    QStorageInfo storage(path);
    if (!storage.isValid()) {
        volume.error = "No volume could be found for " + sd::ShownPath(path) + ".";
        return volume;
    }
    volume.valid = true;
    volume.root = storage.rootPath();
#ifdef _WIN32
    if (volume.root.size() >= 2 && volume.root[1] == ':')
        volume.root = volume.root.left(2);
#endif
    volume.freeBytes = storage.bytesAvailable();
    volume.totalBytes = storage.bytesTotal();
    return volume;
}

void sd_platform::Sleep(int milliseconds) {
    QThread::msleep(static_cast<unsigned long>(milliseconds));
}
