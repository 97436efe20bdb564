// The copies of a full run, with the file copies of each folder spread over the workers. The lines, their
// order and the first failure are those of copying one file after another: a file's line is printed when
// its copy is taken, and a failed copy ends the run where it would have ended it.
#pragma once

#include "drvstage/CopyWorkers.h"
#include "foundation/CString.h"

struct UpdateCounts {
    int copied = 0;
    int removed = 0;
    int unchanged = 0;
};

// Copies the tree of source into destination (made when missing); a missing source copies nothing.
bool CopyFolderTree(CopyWorkers& workers, const CString& source, const CString& destination);
// Copies the files (not the folders) of source into destination.
bool CopyFolderFiles(CopyWorkers& workers, const CString& source, const CString& destination);
// Makes the copies in order; false after the failure lines of the first that failed, which ends them.
// counts, when given, counts the copies up to that one, as one copy after another would have.
bool MakeCopies(CopyWorkers& workers, std::vector<FileCopy>& copies, UpdateCounts* counts = nullptr);
