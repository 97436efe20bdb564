// What a drvstage run decided before it acts: for every driver folder of the source whether it is staged
// and why, and what is rewritten. The run applies the plan; a preview prints it and a report records it.
// Each folder is an action of its own, so one whose copy is current can be left out, and copies can be
// shared out, without deciding anything again.
#pragma once

#include "drvstage/AdsCollisions.h"
#include "drvstage/DriverInfoFile.h"
#include "drvstage/DriverSelection.h"
#include "foundation/CString.h"
#include "foundation/FileOperations.h"

#include <vector>

// Why reading the source stopped: the failure is reported where the run meets it, after what went before.
enum class ReadProblem { None, FolderUnlisted, FileUnreadable };

struct PlannedDriver {
    CString name;
    CString sourceFolder;
    CString destinationFolder; // the destination root itself in the ADS mode
    bool hasInfoFile = false;
    ReadProblem problem = ReadProblem::None;
    FileFailure failure; // the folder or file that could not be read, with the system's reason
    DriverInfo info;     // as read from the source
    DriverDecision decision;
    bool rewritesInfoFile = false; // the copied information file gets the narrowed lists below
    CString narrowedSupported;
    CString narrowedUnsupported;
};

struct StagingPlan {
    bool ads = false;
    int listing = 0; // a step result: not 0 when the driver folders could not be had
    FileFailure listingFailure;
    std::vector<PlannedDriver> drivers; // sorted; ends at the first folder with a ReadProblem
    std::vector<CString> baseFiles;     // the files at the top of the source, copied after the drivers
    bool baseFilesListed = true;        // false: baseFailure says why (the copy lists them once more)
    FileFailure baseFailure;
    std::vector<AdsCollision> adsCollisions; // the ADS mode's files that replace others that differ
};

// What a run did of its plan, in order; a run that failed part-way holds what was done before.
struct StagingOutcome {
    std::vector<CString> copiedFolders;   // source folders copied whole
    std::vector<CString> narrowedFolders; // destination folders whose information file was narrowed
    bool baseFilesCopied = false;
    bool driverSetRewritten = false;
};
