#include "foundation/FileReplacement.h"

#include "foundation/Console.h"
#include "foundation/FileOperations.h"
#include "foundation/platform/PathStyle.h"

#include <cctype>
#include <cstdio>
#include <random>
#include <vector>

namespace {

constexpr size_t kBufferSize = 64 * 1024;
constexpr int kNameAttempts = 16;
constexpr int kHexDigits = 8;
constexpr const char* kSuffix = ".tmp";

// The folder part of path, up to and including its last separator ("C:" for "C:name"); empty for a bare
// name.
CString FolderOf(const CString& path) {
    PathStyle style = NativePathStyle();
    for (int i = path.Length() - 1; i >= 0; --i) {
        if (IsSeparator(path.At(i), style))
            return path.Left(i + 1);
    }
    return style == PathStyle::Windows && path.At(1) == ':' ? path.Left(2) : CString();
}

CString TemporaryName(const CString& folder, const CString& prefix) {
    thread_local std::mt19937 generator{std::random_device{}()};
    char digits[kHexDigits + 1];
    std::snprintf(digits, sizeof digits, "%08x", static_cast<unsigned>(generator()));
    return folder + prefix + digits + kSuffix;
}

// prefix + eight hex digits + ".tmp"; the search that found name compared the prefix already.
bool IsReplacementName(const std::string& name, const CString& prefix) {
    size_t start = static_cast<size_t>(prefix.Length());
    if (name.size() != start + kHexDigits + 4)
        return false;
    for (size_t i = start; i < start + kHexDigits; ++i) {
        if (!std::isxdigit(static_cast<unsigned char>(name[i])))
            return false;
    }
    return CString(name.substr(start + kHexDigits).c_str()).EqualsNoCase(kSuffix);
}

} // namespace

FileReplacement::FileReplacement(FileSystem& fileSystem, const CString& target, ReplacementOptions options)
    : fileSystem_(fileSystem), target_(target), options_(std::move(options)) {}

FileReplacement::~FileReplacement() {
    Abandon();
}

bool FileReplacement::Open() {
    CString folder = FolderOf(target_);
    const char* mode = options_.binary ? "wbx" : "wx";
    for (int attempt = 0; attempt < kNameAttempts && !file_; ++attempt) {
        temporary_ = TemporaryName(folder, options_.prefix);
        file_ = fileSystem_.OpenFile(temporary_.Str(), mode);
    }
    if (file_)
        return true;
    temporary_.Clear();
    reason_ = fileSystem_.LastFailureReason();
    failed_ = true;
    return false;
}

bool FileReplacement::Write(const void* data, size_t size) {
    if (failed_ || !file_)
        return false;
    buffer_.append(static_cast<const char*>(data), size);
    return buffer_.size() < kBufferSize || FlushBuffer();
}

bool FileReplacement::WriteLine(const CString& text) {
    return Write(text.Text(), static_cast<size_t>(text.Length())) && Write("\n", 1);
}

File* FileReplacement::Output() {
    if (failed_ || !file_ || !FlushBuffer())
        return nullptr;
    return file_.get();
}

bool FileReplacement::FlushBuffer() {
    if (buffer_.empty())
        return true;
    bool written = file_->Write(buffer_.data(), buffer_.size()) == buffer_.size();
    buffer_.clear();
    return written || Fail();
}

bool FileReplacement::Commit() {
    if (failed_ || !file_ || !FlushBuffer())
        return Fail();
    if (times_)
        file_->SetTimes(*times_);
    if (options_.sync && !file_->Sync())
        return Fail();
    bool closed = file_->Close();
    file_.reset();
    if (!closed)
        return Fail();
    bool renamed = options_.asWritten ? fileSystem_.RenameFileAsWritten(temporary_.Str(), target_.Str())
                                      : fileSystem_.RenameFile(temporary_.Str(), target_.Str());
    if (!renamed)
        return Fail();
    temporary_.Clear();
    return true;
}

bool FileReplacement::Fail() {
    if (!failed_)
        reason_ = fileSystem_.LastFailureReason();
    failed_ = true;
    Abandon();
    return false;
}

void FileReplacement::Abandon() {
    if (file_) {
        file_->Close();
        file_.reset();
    }
    if (!temporary_.IsEmpty()) {
        fileSystem_.DeleteFile(temporary_.Str());
        temporary_.Clear();
    }
}

bool RemoveStaleReplacements(FileSystem& fileSystem, const CString& folder, const CString& prefix) {
    std::vector<DirectoryEntry> entries;
    if (!fileSystem.FindEntries(JoinPath(folder, prefix + "*" + kSuffix).Str(), entries))
        return false;
    bool removed = true;
    for (const DirectoryEntry& entry : entries) {
        if (entry.isDirectory || !IsReplacementName(entry.name, prefix))
            continue;
        CString path = JoinPath(folder, CString(entry.name));
        PrintAtLevel(("Deleting " + path).Text(), 5);
        removed = fileSystem.DeleteFile(path.Str()) && removed;
    }
    return removed;
}
