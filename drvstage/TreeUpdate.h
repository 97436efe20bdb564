// Updating a staged tree in place: a file is copied only where the destination's copy is missing or
// differs in size or modification time, and what the source no longer holds is removed. Every file takes
// its name only when complete, so a run that was stopped is finished by the next one.
#pragma once

#include "drvstage/CopyWorkers.h"
#include "drvstage/TreeCopy.h"
#include "foundation/CString.h"
#include "foundation/FileOperations.h"

#include <string>
#include <vector>

// A name that a destination folder is to hold, and whether it names a folder.
struct StagedName {
    CString name;
    bool isDirectory = false;
};

// Removes the entries of destination that staged does not name with their kind. Links are removed
// themselves, never followed. False on a failure, after its lines.
bool RemoveUnstaged(const CString& destination, const std::vector<StagedName>& staged, UpdateCounts& counts);
// Copies the files of source, but those named in skipped, whose copies in destination are not current.
bool UpdateFiles(CopyWorkers& workers, const CString& source, const CString& destination,
                 const std::vector<CString>& skipped, UpdateCounts& counts);
// Makes destination hold the tree of source; the files of source's top named in skipped are the caller's.
bool UpdateTree(CopyWorkers& workers, const CString& source, const CString& destination,
                const std::vector<CString>& skipped, UpdateCounts& counts);
// The bytes of the file at path: false when it cannot be read.
bool ReadWholeFile(const CString& path, std::string& contents);
// Takes the finished file temporary for target when their contents differ; removes it when they agree.
// False when a step failed: failure names the file and the reason.
bool ReplaceWhenChanged(const CString& temporary, const CString& target, bool& replaced,
                        FileFailure& failure);
