// The steps of a drvstage run. Each returns 0 on success, 3 when a file-system operation failed,
// 4 when a machine type is not supported, 6 when there is nothing to work on.
#pragma once

#include "drvstage/CopySettings.h"
#include "drvstage/CopyWorkers.h"
#include "drvstage/DriverInfoFile.h"
#include "drvstage/FileLookup.h"
#include "drvstage/StagingPlan.h"
#include "drvstage/TreeCopy.h"
#include "drvstage/TreeUpdate.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

enum StepResult {
    kStepDone = 0,
    kStepFileSystemFailed = 3,
    kStepMachineTypeUnsupported = 4,
    kStepNothingToDo = 6,
};

class CopySteps {
public:
    explicit CopySteps(const CopySettings& settings)
        : settings_(settings), workers_(CopyThreads(settings.threads)) {}

    int CheckMachineTypeSupportInDrvSetIni();
    int PrepareDestinationPath(const CString& destination);
    // Reads the driver folders of source and decides for each; prints nothing and changes nothing.
    StagingPlan SelectDrivers(const CString& source, const CString& destination) const;
    // The steps that act: each follows the plan that SelectDrivers made for the same paths.
    int CopyDrivers(const StagingPlan& plan, const CString& source, const CString& destination);
    int ModifyDrvInfoIniSupportList(const CString& driverDestination);
    int ModifyDrvSetIniSupportList(const CString& destination);
    int CopyADSDrivers(const StagingPlan& plan, const CString& source);
    // The /INC run's steps: the destination is made when missing, never emptied; the drivers, the base
    // files and the driver set file are brought up to date in it, and what the plan no longer stages is
    // removed. Prints the counts at the end.
    int PrepareDestinationInPlace(const CString& destination);
    int UpdateDrivers(const StagingPlan& plan, const CString& source, const CString& destination);

    // Whether the driver described by driver suits the requested machine types, categories and
    // installation modes; prints the reasons, and the separator line at separatorLevel when it does not.
    bool IsDriverSelected(const DriverInfoFile& driver, int separatorLevel) const;
    const StagingOutcome& Outcome() const { return outcome_; }
    // Prints the refusal lines of a destination that the run would destroy: true when refused.
    bool RefuseDangerousDestination(const CString& destination, bool emptiesDestination) const;

private:
    int CheckMachineTypesAgainst(const CString& driverSetPath) const;
    bool SelectDriver(PlannedDriver& planned) const;
    // The information file of folder, read (a missing one gives a driver with every field empty, found
    // Missing). Null when folder could not be listed or the file could not be read: problem and failure
    // say which. ReadDriverInfo prints the failure lines too.
    std::unique_ptr<DriverInfoFile> ReadDriverInfoQuietly(const CString& folder, Lookup& found,
                                                          ReadProblem& problem, FileFailure& failure) const;
    std::unique_ptr<DriverInfoFile> ReadDriverInfo(const CString& folder, Lookup& found) const;
    // Prints the scan of a planned driver; a result when the driver ends there (unreadable, not selected),
    // none when it is to be copied.
    std::optional<int> AnnounceDriver(const PlannedDriver& driver, int separatorLevel) const;
    // tree is the driver's tree copied, when the plan selects the driver.
    int CopyDriver(const PlannedDriver& driver, int separatorLevel, const HeldTreeCopy* tree);
    int UpdateDriver(const PlannedDriver& driver, int separatorLevel, UpdateCounts& counts);
    int UpdateBaseFiles(const CString& source, const CString& destination, UpdateCounts& counts);
    // A rewrite of a file, on the disk and in memory: the second gives the bytes that the first leaves, or
    // nothing where the first would fail.
    struct Rewrite {
        int (CopySteps::*inFile)(const CString& path, const CString& shownAs);
        std::optional<std::string> (CopySteps::*inMemory)(const std::string&) const;
    };
    // Copies source to a temporary file beside target, lets rewrite change it, and takes it for target only
    // when its contents differ from target's. Nothing is written when target holds the rewrite already.
    int RewriteCopy(const CString& source, const CString& target, Rewrite rewrite, bool& replaced);
    // The rewrites of the file at path; their failure lines name shownAs, the file that path stands for.
    int NarrowDriverFile(const CString& path, const CString& shownAs);
    int RewriteDriverSetFile(const CString& path, const CString& shownAs);
    std::optional<std::string> NarrowedDriverText(const std::string& original) const;
    std::optional<std::string> RewrittenDriverSetText(const std::string& original) const;
    void PrintCopyingDriver(const CString& sourceFolder, const CString& destination) const;

    const CopySettings& settings_;
    StagingOutcome outcome_;
    CopyWorkers workers_;
};

// The failure lines of a folder or file that could not be read.
void PrintReadProblem(ReadProblem problem, const FileFailure& failure);
// Prints the warning lines of the files that the folder's copy replaces with other contents.
void PrintAdsCollisions(const StagingPlan& plan, const CString& folder);
// The failure line of a plan without driver folders: not 0 when so, the step's result.
int PrintListingFailure(const StagingPlan& plan, const CString& source);
