#include "drvstage/TreeCopy.h"

#include "foundation/Console.h"
#include "foundation/FileReplacement.h"
#include "foundation/platform/FileSystem.h"

#include <algorithm>
#include <string>

namespace {

void Say(HeldLines* held, const CString& text, int level) {
    if (held)
        held->push_back({text, level});
    else
        PrintAtLevel(text, level);
}

void SayReason(HeldLines* held, const FileFailure& failure) {
    if (!failure.reason.empty())
        Say(held, failure.file + ": " + failure.reason.c_str(), 1);
}

bool ListEntries(const CString& directory, std::vector<DirectoryEntry>& entries, HeldLines* held) {
    FileSystem& fileSystem = CurrentFileSystem();
    if (fileSystem.FindEntries(JoinPath(directory, "*").Str(), entries))
        return true;
    Say(held, "Unable to list directory " + directory, 1);
    SayReason(held, {directory, fileSystem.LastFailureReason()});
    return false;
}

bool Contains(const std::vector<std::string>& identities, const std::string& identity) {
    return !identity.empty() && std::find(identities.begin(), identities.end(), identity) != identities.end();
}

// A folder below one that exists, made with the lines of the foundation's MakePath.
bool MakeFolderBelow(const CString& folder, FileFailure& failure, HeldLines* held) {
    FileSystem& fileSystem = CurrentFileSystem();
    if (PathExists(fileSystem, folder))
        return true;
    Say(held, "mkdir " + folder, 5);
    if (!fileSystem.MakeDirectory(folder.Str())) {
        failure = {folder, fileSystem.LastFailureReason()};
        return false;
    }
    Say(held, "", 5);
    return true;
}

// Held lines come from a worker, which must print nothing itself: the folder's parent is there then. A
// folder that a copy goes into is first cleaned of the temporary files an interrupted copy left; held
// copies go into new folders, which have none.
bool PrepareFolder(const CString& destination, HeldLines* held) {
    FileFailure failure;
    bool made = held ? MakeFolderBelow(destination, failure, held)
                     : MakePath(destination, NativePathStyle(), &failure);
    if (!made) {
        Say(held, "Unable to create directory " + destination, 1);
        SayReason(held, failure);
        return false;
    }
    if (!held)
        RemoveStaleReplacements(CurrentFileSystem(), destination, kCopyTemporaryPrefix);
    return true;
}

// Whether a copy is current takes two looks at metadata: cheaper on the run's thread than handed to a worker
// and waited for, which an update of an unchanged tree would do for every file.
std::vector<FileCopy*> CopiesToMake(std::vector<FileCopy>& copies) {
    std::vector<FileCopy*> toMake;
    for (FileCopy& copy : copies) {
        copy.current = copy.whenChanged && IsCurrentCopy(copy.source, copy.destination);
        if (!copy.current)
            toMake.push_back(&copy);
    }
    return toMake;
}

bool CopyListedFiles(CopyWorkers& workers, const CString& source, const CString& destination,
                     const std::vector<DirectoryEntry>& entries, HeldLines* held) {
    std::vector<FileCopy> copies;
    for (const DirectoryEntry& entry : entries) {
        if (!entry.isDirectory)
            copies.emplace_back(JoinPath(source, CString(entry.name)),
                                JoinPath(destination, CString(entry.name)));
    }
    return MakeCopies(workers, copies, nullptr, held);
}

// onPath holds the folders on the way down, sources and destinations alike, so that a link back into one
// of them is not followed round and round, nor a destination inside its source copied into itself.
bool CopyTree(CopyWorkers& workers, const CString& source, const std::string& sourceIdentity,
              const CString& destination, std::vector<std::string>& onPath, HeldLines* held) {
    std::vector<DirectoryEntry> entries;
    if (!PrepareFolder(destination, held) || !ListEntries(source, entries, held) ||
        !CopyListedFiles(workers, source, destination, entries, held))
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
        Say(held, "", 5);
        std::string identity = fileSystem.DirectoryIdentity(sourceFolder.Str());
        if (Contains(onPath, identity)) {
            Say(held, "Skipping " + sourceFolder + ": it leads back into a folder being copied.", 1);
            continue;
        }
        if (!CopyTree(workers, sourceFolder, identity, destinationFolder, onPath, held)) {
            Say(held, "\nCopyPath(" + sourceFolder + ", " + destinationFolder + ") failed.", 1);
            copied = false;
        }
    }
    onPath.resize(depth);
    return copied;
}

} // namespace

void PrintHeldLines(const HeldLines& lines) {
    for (const HeldLine& line : lines)
        PrintAtLevel(line.text, line.level);
}

bool IsCurrentCopy(const CString& source, const CString& destination) {
    FileSystem& fileSystem = CurrentFileSystem();
    uint64_t sourceSize = 0;
    uint64_t destinationSize = 0;
    FileTimes sourceTimes;
    FileTimes destinationTimes;
    return fileSystem.FileSizeAndTimes(destination.Str(), destinationSize, destinationTimes) &&
           fileSystem.FileSizeAndTimes(source.Str(), sourceSize, sourceTimes) &&
           sourceSize == destinationSize &&
           sourceTimes.modificationNanoseconds == destinationTimes.modificationNanoseconds;
}

bool MakeCopies(CopyWorkers& workers, std::vector<FileCopy>& copies, UpdateCounts* counts, HeldLines* held) {
    UpdateCounts made;
    const std::vector<FileCopy*> toMake = CopiesToMake(copies);
    workers.Start(toMake.size(), [&toMake](size_t index) {
        FileCopy& copy = *toMake[index];
        copy.copied = CopyOneFile(copy.source, copy.destination, &copy.failure);
    });
    size_t taken = 0;
    bool copied = true;
    for (size_t i = 0; copied && i < copies.size(); ++i) {
        const FileCopy& copy = copies[i];
        // A copy that was current prints nothing; the others print their line before the outcome.
        if (copy.current) {
            ++made.unchanged;
            continue;
        }
        Say(held, "copy " + copy.source + " -> " + copy.destination, 3);
        workers.Take(taken++);
        copied = copy.copied;
        if (!copied) {
            Say(held, "Unable to copy file " + copy.source + " to " + copy.destination, 1);
            SayReason(held, copy.failure);
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

bool CopyFolderTree(CopyWorkers& workers, const CString& source, const CString& destination,
                    HeldLines* held) {
    if (source.IsEmpty() || destination.IsEmpty())
        return false;
    // A missing source has nothing to copy; one that cannot be searched is a failure, not a missing one.
    std::vector<DirectoryEntry> found;
    if (!CurrentFileSystem().FindEntries(source.Str(), found))
        return false;
    if (found.empty())
        return true;
    std::vector<std::string> onPath;
    return CopyTree(workers, source, CurrentFileSystem().DirectoryIdentity(source.Str()), destination, onPath,
                    held);
}

void CopyHeldTree(HeldTreeCopy& tree) {
    CopyWorkers oneByOne(1);
    tree.copied = CopyFolderTree(oneByOne, tree.source, tree.destination, &tree.lines);
}

bool CopyFolderFiles(CopyWorkers& workers, const CString& source, const CString& destination) {
    std::vector<DirectoryEntry> entries;
    if (!ListEntries(source, entries, nullptr))
        return false;
    RemoveStaleReplacements(CurrentFileSystem(), destination, kCopyTemporaryPrefix);
    return CopyListedFiles(workers, source, destination, entries, nullptr);
}
