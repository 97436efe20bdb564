// The copies of a run, spread over the workers. The lines, their order and the first failure are those of
// copying one file after another: a file's line is printed when its copy is taken, and a failed copy ends
// the run where it would have ended it.
#pragma once

#include "drvstage/CopyWorkers.h"
#include "foundation/CString.h"
#include "foundation/FileOperations.h"

#include <vector>

struct FileCopy {
    FileCopy(const CString& from, const CString& to, bool onlyWhenChanged = false)
        : source(from), destination(to), whenChanged(onlyWhenChanged) {}

    CString source;
    CString destination;
    bool whenChanged = false; // left alone when the destination has the source's size and time
    // The outcome, once taken.
    bool current = false; // whenChanged, and the destination was current: nothing was written
    bool copied = false;
    FileFailure failure;
};

struct UpdateCounts {
    int copied = 0;
    int removed = 0;
    int unchanged = 0;
};

// A line of a copy made on a worker, printed in its turn by the run's thread.
struct HeldLine {
    CString text;
    int level = 0;
};
using HeldLines = std::vector<HeldLine>;

void PrintHeldLines(const HeldLines& lines);

// A copy is current when it has the source's size and modification time, as a copy sets them.
bool IsCurrentCopy(const CString& source, const CString& destination);

// Copies the tree of source into destination (made when missing); a missing source copies nothing. With
// held, the lines go there instead of to the console, and destination must be a folder that this run
// makes: no earlier copy's leftovers are looked for in it.
bool CopyFolderTree(CopyWorkers& workers, const CString& source, const CString& destination,
                    HeldLines* held = nullptr);
// A tree copied on a worker, with its lines held for the run's thread.
struct HeldTreeCopy {
    CString source;
    CString destination; // a folder that the run makes
    HeldLines lines;
    bool copied = false;
};
// Copies the tree one file after another: the workers that run such copies side by side each take one.
void CopyHeldTree(HeldTreeCopy& tree);

// Copies the files (not the folders) of source into destination.
bool CopyFolderFiles(CopyWorkers& workers, const CString& source, const CString& destination);
// Makes the copies in order; false after the failure lines of the first that failed, which ends them.
// counts, when given, counts the copies up to that one, as one copy after another would have.
bool MakeCopies(CopyWorkers& workers, std::vector<FileCopy>& copies, UpdateCounts* counts = nullptr,
                HeldLines* held = nullptr);
