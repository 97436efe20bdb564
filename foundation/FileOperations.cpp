#include "foundation/FileOperations.h"

#include "foundation/Console.h"
#include "foundation/FileReplacement.h"
#include "foundation/platform/FileSystem.h"

#include <algorithm>
#include <new>

namespace {

int LastSeparator(const CString& text, PathStyle style) {
    for (int i = text.Length() - 1; i >= 0; --i) {
        if (IsSeparator(text.At(i), style))
            return i;
    }
    return -1;
}

int CountSeparators(const CString& text, PathStyle style) {
    int count = 0;
    for (int i = 0; i < text.Length(); ++i)
        count += IsSeparator(text.At(i), style) ? 1 : 0;
    return count;
}

// The length of a "\\server\share\" root: up to and including the fourth separator; 0 when there is none.
int ServerRootLength(const CString& text, PathStyle style) {
    if (!IsSeparator(text.At(0), style) || !IsSeparator(text.At(1), style))
        return 0;
    int seen = 0;
    for (int i = 0; i < text.Length(); ++i) {
        if (IsSeparator(text.At(i), style) && ++seen == 4)
            return i + 1;
    }
    return 0;
}

// Prefixes of a path that MakePath never creates: a root or a server and share.
bool IsUncreatable(const CString& prefix, PathStyle style) {
    if (IsSeparator(prefix.At(prefix.Length() - 1), style))
        return true;
    if (style != PathStyle::Windows)
        return false;
    return prefix.EndsWith(":") || (IsSeparator(prefix.At(0), style) && IsSeparator(prefix.At(1), style) &&
                                    CountSeparators(prefix, style) < 4);
}

// The items of path between separators, an empty item for each separator that follows another (or starts).
std::vector<CString> PathItems(const CString& path, PathStyle style) {
    std::vector<CString> items;
    int start = 0;
    for (int i = 0; i <= path.Length(); ++i) {
        if (i == path.Length() || IsSeparator(path.At(i), style)) {
            items.push_back(i == start ? CString() : path.Mid(start, i - start));
            start = i + 1;
        }
    }
    return items;
}

bool ListEntries(const CString& directory, std::vector<DirectoryEntry>& entries) {
    return CurrentFileSystem().FindEntries(JoinPath(directory, "*").Str(), entries);
}

bool Contains(const std::vector<std::string>& identities, const std::string& identity) {
    return !identity.empty() && std::find(identities.begin(), identities.end(), identity) != identities.end();
}

// The transfer buffer: 65280 bytes, halved on each failed allocation; the ninth try asks for 255 bytes, the
// tenth for one.
char* AllocateTransferBuffer(size_t& size) {
    size = 65280;
    for (int attempt = 1; attempt <= 10; ++attempt) {
        if (char* buffer = new (std::nothrow) char[size])
            return buffer;
        size = attempt == 9 ? 1 : size / 2;
    }
    return nullptr;
}

// Which side of a copy failed: the reason belongs to the file that was read or to the one written.
enum class CopyOutcome { Copied, ReadFailed, WriteFailed };

CopyOutcome CopyThroughBuffer(File& source, File& destination) {
    size_t size = 0;
    char* buffer = AllocateTransferBuffer(size);
    if (!buffer)
        return CopyOutcome::ReadFailed;
    CopyOutcome outcome = CopyOutcome::Copied;
    for (;;) {
        bool readError = false;
        size_t count = source.Read(buffer, size, readError);
        if (readError) {
            outcome = CopyOutcome::ReadFailed;
            break;
        }
        if (count == 0)
            break;
        if (destination.Write(buffer, count) < count) {
            outcome = CopyOutcome::WriteFailed;
            break;
        }
    }
    delete[] buffer;
    return outcome;
}

// A transfer inside the system that fails part-way is put down to the destination: a full disk, mostly.
CopyOutcome CopyContents(File& source, File& destination) {
    switch (source.TransferTo(destination)) {
    case TransferResult::Done:
        return CopyOutcome::Copied;
    case TransferResult::Failed:
        return CopyOutcome::WriteFailed;
    case TransferResult::Unsupported:
        break;
    }
    return CopyThroughBuffer(source, destination);
}

bool Fail(FileFailure* failure, const CString& file, const std::string& reason) {
    if (failure)
        *failure = {file, reason};
    return false;
}

bool CopyListedFiles(const CString& sourceDirectory, const CString& destinationDirectory,
                     const std::vector<DirectoryEntry>& entries) {
    for (const DirectoryEntry& entry : entries) {
        if (entry.isDirectory)
            continue;
        CString sourceFile = JoinPath(sourceDirectory, CString(entry.name));
        CString destinationFile = JoinPath(destinationDirectory, CString(entry.name));
        PrintAtLevel(("copy " + sourceFile + " -> " + destinationFile).Text(), 3);
        FileFailure failure;
        if (!CopyOneFile(sourceFile, destinationFile, &failure)) {
            PrintAtLevel(("Unable to copy file " + sourceFile + " to " + destinationFile).Text(), 1);
            PrintFailureReason(failure);
            return false;
        }
    }
    return true;
}

// A folder that cannot be cleaned of them still takes the copy: the names of new temporary files never
// meet the old ones.
void RemoveStaleCopies(const CString& destinationDirectory) {
    RemoveStaleReplacements(CurrentFileSystem(), destinationDirectory, kCopyTemporaryPrefix);
}

// MakePath for a copy's destination folder, with the failure lines.
bool MakeDestination(const CString& destination) {
    FileFailure failure;
    if (MakePath(destination, NativePathStyle(), &failure))
        return true;
    PrintAtLevel(("Unable to create directory " + destination).Text(), 1);
    PrintFailureReason(failure);
    return false;
}

// Copies source, which exists and has the identity sourceIdentity. onPath holds the directories on the
// way down (sources and destinations alike), so that a link back into one of them is not followed round
// and round, and a destination inside its source is not copied into itself. One listing gives both the
// files and the subdirectories: a folder that cannot be listed is a failure, never taken for an empty one.
bool CopyTree(const CString& source, const std::string& sourceIdentity, const CString& destination,
              std::vector<std::string>& onPath) {
    if (!MakeDestination(destination))
        return false;
    RemoveStaleCopies(destination);
    std::vector<DirectoryEntry> entries;
    if (!ListEntries(source, entries)) {
        ReportUnlistedDirectory(source);
        return false;
    }
    if (!CopyListedFiles(source, destination, entries))
        return false;
    FileSystem& fileSystem = CurrentFileSystem();
    size_t depth = onPath.size();
    onPath.push_back(sourceIdentity);
    onPath.push_back(fileSystem.DirectoryIdentity(destination.Str()));
    bool copied = true;
    for (size_t i = 0; copied && i < entries.size(); ++i) {
        if (!entries[i].isDirectory)
            continue;
        CString sourceDirectory = JoinPath(source, CString(entries[i].name));
        CString destinationDirectory = JoinPath(destination, CString(entries[i].name));
        PrintAtLevel("", 5);
        std::string identity = fileSystem.DirectoryIdentity(sourceDirectory.Str());
        if (Contains(onPath, identity)) {
            PrintAtLevel(
                ("Skipping " + sourceDirectory + ": it leads back into a folder being copied.").Text(), 1);
            continue;
        }
        if (!CopyTree(sourceDirectory, identity, destinationDirectory, onPath)) {
            PrintAtLevel(("\nCopyPath(" + sourceDirectory + ", " + destinationDirectory + ") failed.").Text(),
                         1);
            copied = false;
        }
    }
    onPath.resize(depth);
    return copied;
}

bool IsLink(const CString& path) {
    std::vector<DirectoryEntry> entries;
    return CurrentFileSystem().FindEntries(path.Str(), entries) && entries.size() == 1 && entries[0].isLink;
}

// The failure of the file-system call on path that just failed.
bool FailHere(FileFailure* failure, const CString& path) {
    return Fail(failure, path, CurrentFileSystem().LastFailureReason());
}

// Empties path, which is a directory that is no link: links inside are removed themselves, never entered.
bool DeleteContents(const CString& path, FileFailure* failure) {
    std::vector<DirectoryEntry> entries;
    if (!ListEntries(path, entries))
        return FailHere(failure, path);
    FileSystem& fileSystem = CurrentFileSystem();
    for (const DirectoryEntry& entry : entries) {
        if (!entry.isDirectory)
            continue;
        CString subdirectory = JoinPath(path, CString(entry.name));
        if (!entry.isLink) {
            if (!DeletePath(subdirectory, failure))
                return false;
            continue;
        }
        if (!fileSystem.DeleteFile(subdirectory.Str()))
            return FailHere(failure, subdirectory);
        PrintAtLevel(("Deleting " + subdirectory + "\n").Text(), 5);
    }
    for (const DirectoryEntry& entry : entries) {
        if (entry.isDirectory)
            continue;
        CString file = JoinPath(path, CString(entry.name));
        PrintAtLevel(("Deleting " + file).Text(), 5);
        if (!fileSystem.DeleteFile(file.Str()))
            return FailHere(failure, file);
    }
    return true;
}

} // namespace

CString JoinPath(const CString& base, const CString& tail, PathStyle style) {
    if (base.IsEmpty())
        return tail;
    if (tail.IsEmpty())
        return base;
    bool baseEnds = IsSeparator(base.At(base.Length() - 1), style);
    bool tailBegins = IsSeparator(tail.At(0), style);
    if (baseEnds && tailBegins)
        return base + tail.Mid(1);
    if (!baseEnds && !tailBegins)
        return base + PreferredSeparator(style) + tail;
    return base + tail;
}

PathParts SplitPath(const CString& path, PathStyle style) {
    PathParts parts;
    CString rest = path.Trim();
    int rootLength = 0;
    if (style == PathStyle::Windows)
        rootLength = rest.Find(":") >= 0 ? rest.Find(":") + 1 : ServerRootLength(rest, style);
    parts.root = rest.Left(rootLength);
    rest = rest.Mid(rootLength);
    int separator = LastSeparator(rest, style);
    parts.directory = rest.Left(separator + 1);
    rest = rest.Mid(separator + 1);
    int dot = rest.FindOccurrence(".", 0);
    if (dot >= 0 && rest.Length() - dot <= 4) {
        parts.baseName = rest.Left(dot);
        parts.extension = rest.Mid(dot);
    } else {
        parts.baseName = rest;
    }
    return parts;
}

CString FileTitle(const CString& path, PathStyle style) {
    return SplitPath(path, style).baseName;
}

CString FullPath(const CString& path) {
    if (path.IsEmpty())
        return CString();
    return CString(CurrentFileSystem().FullPath(path.Str()));
}

Lookup LookUpPath(FileSystem& fileSystem, const CString& path) {
    std::vector<DirectoryEntry> entries;
    if (path.IsEmpty())
        return Lookup::Missing;
    if (!fileSystem.FindEntries(path.Str(), entries))
        return Lookup::Failed;
    return entries.empty() ? Lookup::Missing : Lookup::Found;
}

bool PathExists(FileSystem& fileSystem, const CString& path) {
    return LookUpPath(fileSystem, path) == Lookup::Found;
}

bool ListDirectory(const CString& directory, bool wantDirectories, std::vector<CString>& names) {
    std::vector<DirectoryEntry> entries;
    bool complete = ListEntries(directory, entries);
    for (const DirectoryEntry& entry : entries) {
        if (entry.isDirectory == wantDirectories)
            names.emplace_back(entry.name);
    }
    return complete;
}

void PrintFailureReason(const FileFailure& failure) {
    if (!failure.reason.empty())
        PrintAtLevel((failure.file + ": " + failure.reason.c_str()).Text(), 1);
}

void ReportUnlistedDirectory(const CString& directory) {
    PrintAtLevel(("Unable to list directory " + directory).Text(), 1);
    PrintFailureReason({directory, CurrentFileSystem().LastFailureReason()});
}

bool MakePath(const CString& path, PathStyle style, FileFailure* failure) {
    if (PathExists(CurrentFileSystem(), path))
        return true;
    CString prefix;
    bool created = false;
    for (const CString& item : PathItems(path.Trim(), style)) {
        prefix = item.IsEmpty() ? prefix + PreferredSeparator(style) : JoinPath(prefix, item, style);
        // The whole path was just looked for (ignoring letter case where names need it, which is costly).
        if (IsUncreatable(prefix, style) || (prefix != path && PathExists(CurrentFileSystem(), prefix)))
            continue;
        PrintAtLevel(("mkdir " + prefix).Text(), 5);
        if (!CurrentFileSystem().MakeDirectory(prefix.Str())) {
            // Another thread or program may have made it since it was looked for (parallel runs making
            // sibling folders): that is what was wanted.
            const std::string reason = CurrentFileSystem().LastFailureReason();
            if (!PathExists(CurrentFileSystem(), prefix))
                return Fail(failure, prefix, reason);
        }
        created = true;
    }
    if (created)
        PrintAtLevel("", 5);
    return true;
}

bool CopyFiles(const CString& sourceDirectory, const CString& destinationDirectory) {
    std::vector<DirectoryEntry> entries;
    if (!ListEntries(sourceDirectory, entries)) {
        ReportUnlistedDirectory(sourceDirectory);
        return false;
    }
    RemoveStaleCopies(destinationDirectory);
    return CopyListedFiles(sourceDirectory, destinationDirectory, entries);
}

bool CopyPath(const CString& source, const CString& destination) {
    if (source.IsEmpty() || destination.IsEmpty())
        return false;
    // A missing source has nothing to copy; one that cannot be searched is a failure, not a missing one.
    std::vector<DirectoryEntry> found;
    if (!CurrentFileSystem().FindEntries(source.Str(), found))
        return false;
    if (found.empty())
        return true;
    std::vector<std::string> onPath;
    return CopyTree(source, CurrentFileSystem().DirectoryIdentity(source.Str()), destination, onPath);
}

bool DeletePath(const CString& path, FileFailure* failure) {
    if (path.IsEmpty() || !PathExists(CurrentFileSystem(), path))
        return Fail(failure, path, "");
    FileSystem& fileSystem = CurrentFileSystem();
    if (!fileSystem.RemoveDirectory(path.Str())) {
        // A link (to a directory or not) is never entered; a plain file is no directory to delete.
        if (IsLink(path))
            return Fail(failure, path, "");
        if (!DeleteContents(path, failure))
            return false;
        if (!fileSystem.RemoveDirectory(path.Str()))
            return FailHere(failure, path);
    }
    PrintAtLevel(("Deleting " + path + "\n").Text(), 5);
    return true;
}

// The times go with the contents, taken and set on the open files: no path is looked up twice. The
// source's are taken before reading, which may move its access time. The copy replaces the destination
// whole when it is complete (a link of that name is replaced itself, never written through); until then
// the destination is as it was. Copies are not synced one by one, which would cost the copy its speed: a
// kill cannot cut a file that took its name only when complete.
bool CopyOneFile(const CString& source, const CString& destination, FileFailure* failure) {
    std::unique_ptr<File> from = CurrentFileSystem().OpenFile(source.Str(), "rb");
    if (!from)
        return FailHere(failure, source);
    FileTimes times;
    bool timesKnown = from->GetTimes(times);
    FileReplacement to(CurrentFileSystem(), destination, {kCopyTemporaryPrefix, true, false, true});
    File* output = to.Open() ? to.Output() : nullptr;
    if (!output)
        return Fail(failure, destination, to.FailureReason());
    CopyOutcome outcome = CopyContents(*from, *output);
    if (outcome != CopyOutcome::Copied) {
        to.Fail();
        return Fail(failure, outcome == CopyOutcome::ReadFailed ? source : destination, to.FailureReason());
    }
    if (timesKnown)
        to.SetTimes(times);
    if (!to.Commit())
        return Fail(failure, destination, to.FailureReason());
    return true;
}
