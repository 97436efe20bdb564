#include "drvstage/TreeUpdate.h"

#include "foundation/Console.h"
#include "foundation/FileOperations.h"
#include "foundation/platform/FileSystem.h"

#include <algorithm>

namespace {

bool ListEntries(const CString& directory, std::vector<DirectoryEntry>& entries) {
    if (CurrentFileSystem().FindEntries(JoinPath(directory, "*").Str(), entries))
        return true;
    ReportUnlistedDirectory(directory);
    return false;
}

bool Names(const std::vector<CString>& names, const std::string& name) {
    return std::find(names.begin(), names.end(), CString(name)) != names.end();
}

bool IsStaged(const std::vector<StagedName>& staged, const DirectoryEntry& entry) {
    if (entry.isLink)
        return false;
    for (const StagedName& name : staged) {
        if (name.name == CString(entry.name))
            return name.isDirectory == entry.isDirectory;
    }
    return false;
}

bool RemoveEntry(const CString& path, const DirectoryEntry& entry) {
    PrintAtLevel("remove " + path, 3);
    FileFailure failure{path, ""};
    bool folder = entry.isDirectory && !entry.isLink;
    bool removed = folder ? DeletePath(path, &failure) : CurrentFileSystem().DeleteFile(path.Str());
    if (removed)
        return true;
    if (!folder)
        failure.reason = CurrentFileSystem().LastFailureReason();
    PrintAtLevel(CString(folder ? "Unable to remove directory " : "Unable to remove file ") + path, 1);
    PrintFailureReason(failure);
    return false;
}

bool UpdateListedFiles(CopyWorkers& workers, const CString& source, const CString& destination,
                       const std::vector<DirectoryEntry>& entries, const std::vector<CString>& skipped,
                       UpdateCounts& counts) {
    std::vector<FileCopy> copies;
    for (const DirectoryEntry& entry : entries) {
        if (!entry.isDirectory && !Names(skipped, entry.name))
            copies.emplace_back(JoinPath(source, CString(entry.name)),
                                JoinPath(destination, CString(entry.name)), true);
    }
    return MakeCopies(workers, copies, &counts);
}

// onPath holds the identities of the source folders on the way down, so that a link back into one of
// them is not followed round and round.
bool UpdateBelow(CopyWorkers& workers, const CString& source, const CString& destination,
                 const std::vector<CString>& skipped, UpdateCounts& counts,
                 std::vector<std::string>& onPath) {
    FileFailure failure;
    if (!MakePath(destination, NativePathStyle(), &failure)) {
        PrintAtLevel("Unable to create directory " + destination, 1);
        PrintFailureReason(failure);
        return false;
    }
    std::vector<DirectoryEntry> entries;
    if (!ListEntries(source, entries))
        return false;
    std::vector<StagedName> staged;
    for (const DirectoryEntry& entry : entries)
        staged.push_back({CString(entry.name), entry.isDirectory});
    if (!RemoveUnstaged(destination, staged, counts) ||
        !UpdateListedFiles(workers, source, destination, entries, skipped, counts))
        return false;
    FileSystem& fileSystem = CurrentFileSystem();
    onPath.push_back(fileSystem.DirectoryIdentity(source.Str()));
    bool updated = true;
    for (size_t i = 0; updated && i < entries.size(); ++i) {
        if (!entries[i].isDirectory)
            continue;
        CString sourceFolder = JoinPath(source, CString(entries[i].name));
        if (std::find(onPath.begin(), onPath.end(), fileSystem.DirectoryIdentity(sourceFolder.Str())) !=
            onPath.end()) {
            PrintAtLevel("Skipping " + sourceFolder + ": it leads back into a folder being copied.", 1);
            continue;
        }
        updated = UpdateBelow(workers, sourceFolder, JoinPath(destination, CString(entries[i].name)), {},
                              counts, onPath);
    }
    onPath.pop_back();
    return updated;
}

} // namespace

bool RemoveUnstaged(const CString& destination, const std::vector<StagedName>& staged, UpdateCounts& counts) {
    std::vector<DirectoryEntry> entries;
    if (!ListEntries(destination, entries))
        return false;
    for (const DirectoryEntry& entry : entries) {
        if (IsStaged(staged, entry))
            continue;
        if (!RemoveEntry(JoinPath(destination, CString(entry.name)), entry))
            return false;
        ++counts.removed;
    }
    return true;
}

bool UpdateFiles(CopyWorkers& workers, const CString& source, const CString& destination,
                 const std::vector<CString>& skipped, UpdateCounts& counts) {
    std::vector<DirectoryEntry> entries;
    return ListEntries(source, entries) &&
           UpdateListedFiles(workers, source, destination, entries, skipped, counts);
}

bool UpdateTree(CopyWorkers& workers, const CString& source, const CString& destination,
                const std::vector<CString>& skipped, UpdateCounts& counts) {
    std::vector<std::string> onPath;
    return UpdateBelow(workers, source, destination, skipped, counts, onPath);
}

bool ReplaceWhenChanged(const CString& temporary, const CString& target, bool& replaced,
                        FileFailure& failure) {
    FileSystem& fileSystem = CurrentFileSystem();
    std::string written;
    std::string current;
    if (!ReadWholeFile(temporary, written)) {
        failure = {temporary, fileSystem.LastFailureReason()};
        return false;
    }
    // A target that cannot be read is replaced: the new contents are what it is to hold.
    replaced = !ReadWholeFile(target, current) || current != written;
    bool done = replaced ? fileSystem.RenameFile(temporary.Str(), target.Str())
                         : fileSystem.DeleteFile(temporary.Str());
    if (!done)
        failure = {replaced ? target : temporary, fileSystem.LastFailureReason()};
    return done;
}

bool ReadWholeFile(const CString& path, std::string& contents) {
    std::unique_ptr<File> file = CurrentFileSystem().OpenFile(path.Str(), "rb");
    if (!file)
        return false;
    char buffer[8192];
    bool readError = false;
    for (size_t got = 0; (got = file->Read(buffer, sizeof buffer, readError)) > 0;)
        contents.append(buffer, got);
    return file->Close() && !readError;
}
