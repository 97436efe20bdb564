#include "arrayplan/model/OutputFile.h"

#include "arrayplan/model/FileCheck.h"
#include "arrayplan/model/RunSettings.h"
#include "foundation/FileOperations.h"
#include "foundation/platform/FileSystem.h"

OutputFile::OutputFile(const CString& path, const char* prefix) : path_(path) {
    PathParts parts = SplitPath(path);
    folder_ = parts.root + parts.directory;
    prefix_ = CString(prefix) + parts.baseName + parts.extension + "~";
}

OutputFile::~OutputFile() {
    abandon();
}

bool OutputFile::open(const RunSettings& settings) {
    fileSystem_ = &settings.fileSystem();
    // No file named: the check fails as the run's message says, with nothing to add.
    if (path_.IsEmpty())
        return checkFile(settings, "a", path_);
    FileSystem& fileSystem = settings.fileSystem();
    lock_ = fileSystem.LockFile((path_ + ".lock").Str());
    if (!lock_)
        return failWith(fileSystem.LastFailureReason());
    // Under the lock no live run writes one of these: they are what killed runs left.
    RemoveStaleReplacements(fileSystem, folder_, prefix_);
    // A search that failed says nothing: taken for a missing file, the old policies would not be kept.
    Lookup lookup = LookUpPath(fileSystem, path_);
    if (lookup == Lookup::Failed)
        return failWith(fileSystem.LastFailureReason());
    existed_ = lookup == Lookup::Found;
    std::string reason;
    if (existed_ && !checkFile(settings, "a", path_, &reason))
        return failWith(reason);
    return true;
}

bool OutputFile::begin() {
    replacement_ = std::make_unique<FileReplacement>(*fileSystem_, path_, ReplacementOptions{prefix_});
    if (!replacement_->Open())
        return failWith(replacement_->FailureReason());
    return true;
}

bool OutputFile::commit() {
    bool committed = replacement_ && replacement_->Commit();
    if (!committed)
        failWith(replacement_ ? replacement_->FailureReason() : std::string());
    abandon();
    return committed;
}

bool OutputFile::fail() {
    if (!replacement_)
        return failWith(std::string());
    replacement_->Fail();
    return failWith(replacement_->FailureReason());
}

void OutputFile::abandon() {
    replacement_.reset();
    lock_.reset();
}

bool OutputFile::failWith(const std::string& reason) {
    failureLine_ = ::failureLine(path_, reason);
    abandon();
    return false;
}
