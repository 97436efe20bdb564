#include "drvstage/TreeCopy.h"

#include "foundation/Console.h"
#include "foundation/FileOperations.h"
#include "foundation/FileReplacement.h"
#include "foundation/platform/FileSystem.h"

#include <algorithm>
#include <string>
#include <vector>

namespace {

bool ListEntries(const CString& directory, std::vector<DirectoryEntry>& entries) {
    return CurrentFileSystem().FindEntries(JoinPath(directory, "*").Str(), entries);
}

bool Contains(const std::vector<std::string>& identities, const std::string& identity) {
    return !identity.empty() && std::find(identities.begin(), identities.end(), identity) != identities.end();
}

// A folder that cannot be cleaned of them still takes the copy: new temporary names never meet old ones.
void RemoveStaleCopies(const CString& destination) {
    RemoveStaleReplacements(destination, kCopyTemporaryPrefix);
}

bool MakeDestination(const CString& destination) {
    FileFailure failure;
    if (MakePath(destination, NativePathStyle(), &failure))
        return true;
    PrintAtLevel("Unable to create directory " + destination, 1);
    PrintFailureReason(failure);
    return false;
}

bool CopyListedFiles(CopyWorkers& workers, const CString& source, const CString& destination,
                     const std::vector<DirectoryEntry>& entries) {
    std::vector<FileCopy> copies;
    for (const DirectoryEntry& entry : entries) {
        if (!entry.isDirectory)
            copies.emplace_back(JoinPath(source, CString(entry.name)),
                                JoinPath(destination, CString(entry.name)));
    }
    return MakeCopies(workers, copies);
}

// onPath holds the folders on the way down, sources and destinations alike, so that a link back into one
// of them is not followed round and round, nor a destination inside its source copied into itself.
bool CopyTree(CopyWorkers& workers, const CString& source, const std::string& sourceIdentity,
              const CString& destination, std::vector<std::string>& onPath) {
    if (!MakeDestination(destination))
        return false;
    RemoveStaleCopies(destination);
    std::vector<DirectoryEntry> entries;
    if (!ListEntries(source, entries)) {
        ReportUnlistedDirectory(source);
        return false;
    }
    if (!CopyListedFiles(workers, source, destination, entries))
        return false;
    FileSystem& fileSystem = CurrentFileSystem();
    size_t depth = onPath.size();
    onPath.push_back(sourceIdentity);
    onPath.push_back(fileSystem.DirectoryIdentity(destination.Str()));
    bool copied = true;
    for (size_t i = 0; copied && i < entries.size(); ++i) {
        if (!entries[i].isDirectory)
            continue;
        CString sourceFolder = JoinPath(source, CString(entries[i].name));
        CString destinationFolder = JoinPath(destination, CString(entries[i].name));
        PrintAtLevel("", 5);
        std::string identity = fileSystem.DirectoryIdentity(sourceFolder.Str());
        if (Contains(onPath, identity)) {
            PrintAtLevel("Skipping " + sourceFolder + ": it leads back into a folder being copied.", 1);
            continue;
        }
        if (!CopyTree(workers, sourceFolder, identity, destinationFolder, onPath)) {
            PrintAtLevel("\nCopyPath(" + sourceFolder + ", " + destinationFolder + ") failed.", 1);
            copied = false;
        }
    }
    onPath.resize(depth);
    return copied;
}

} // namespace

bool MakeCopies(CopyWorkers& workers, std::vector<FileCopy>& copies, UpdateCounts* counts) {
    UpdateCounts made;
    workers.Start(copies);
    bool copied = true;
    for (size_t i = 0; copied && i < copies.size(); ++i) {
        const FileCopy& copy = copies[i];
        // A copy that is already current prints nothing; the others print their line before the outcome.
        if (copy.whenChanged && workers.IsCurrent(i)) {
            ++made.unchanged;
            continue;
        }
        PrintAtLevel("copy " + copy.source + " -> " + copy.destination, 3);
        copied = workers.Take(i).copied;
        if (!copied) {
            PrintAtLevel("Unable to copy file " + copy.source + " to " + copy.destination, 1);
            PrintFailureReason(copy.failure);
        } else {
            ++made.copied;
        }
    }
    workers.Finish();
    if (counts) {
        counts->copied += made.copied;
        counts->unchanged += made.unchanged;
    }
    return copied;
}

bool CopyFolderTree(CopyWorkers& workers, const CString& source, const CString& destination) {
    if (source.IsEmpty() || destination.IsEmpty())
        return false;
    // A missing source has nothing to copy; one that cannot be searched is a failure, not a missing one.
    std::vector<DirectoryEntry> found;
    if (!CurrentFileSystem().FindEntries(source.Str(), found))
        return false;
    if (found.empty())
        return true;
    std::vector<std::string> onPath;
    return CopyTree(workers, source, CurrentFileSystem().DirectoryIdentity(source.Str()), destination,
                    onPath);
}

bool CopyFolderFiles(CopyWorkers& workers, const CString& source, const CString& destination) {
    std::vector<DirectoryEntry> entries;
    if (!ListEntries(source, entries)) {
        ReportUnlistedDirectory(source);
        return false;
    }
    RemoveStaleCopies(destination);
    return CopyListedFiles(workers, source, destination, entries);
}
