// Updating a staged tree in place: a file is copied only where the destination's copy is missing or
// differs in size or modification time, and what the source no longer holds is removed. Every file takes
// its name only when complete, so a run that was stopped is finished by the next one.
#pragma once

#include "foundation/CString.h"
#include "foundation/FileOperations.h"

#include <string>
#include <vector>

struct UpdateCounts {
    int copied = 0;
    int removed = 0;
    int unchanged = 0;
};

// A name that a destination folder is to hold, and whether it names a folder.
struct StagedName {
    CString name;
    bool isDirectory = false;
};

// Removes the entries of destination that staged does not name with their kind. Links are removed
// themselves, never followed. False on a failure, after its lines.
bool RemoveUnstaged(const CString& destination, const std::vector<StagedName>& staged, UpdateCounts& counts);
// Copies the files of source, but those named in skipped, whose copies in destination are not current.
bool UpdateFiles(const CString& source, const CString& destination, const std::vector<CString>& skipped,
                 UpdateCounts& counts);
// Makes destination hold the tree of source; the files of source's top named in skipped are the caller's.
bool UpdateTree(const CString& source, const CString& destination, const std::vector<CString>& skipped,
                UpdateCounts& counts);
// Takes the finished file temporary for target when their contents differ; removes it when they agree.
// False when a step failed: failure names the file and the reason.
bool ReplaceWhenChanged(const CString& temporary, const CString& target, bool& replaced,
                        FileFailure& failure);
