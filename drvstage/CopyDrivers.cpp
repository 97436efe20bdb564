// Copying the selected driver folders, and narrowing the copied driver files' support lists.
#include "drvstage/CopySteps.h"

#include "drvstage/FileLookup.h"
#include "foundation/Console.h"
#include "foundation/FileOperations.h"

int CopySteps::CopyDrivers(const StagingPlan& plan, const CString& source, const CString& destination) {
    int listed = PrintListingFailure(plan, source);
    if (listed != kStepDone)
        return listed;
    if (!settings_.machineTypes.IsEmpty()) {
        PrintAtLevel("Scanning drivers in " + source, 2);
        PrintAtLevel("", 2);
    }
    int result = kStepDone;
    const std::vector<PlannedDriver>& drivers = plan.drivers;
    for (size_t i = 0; i < drivers.size() && result == kStepDone; ++i)
        result = CopyDriver(drivers[i], i + 1 < drivers.size() ? 5 : 4);
    PrintAtLevel("Copying base library files.\n", 2);
    if (result != kStepDone)
        return result;
    if (!CopyFiles(source, destination))
        return kStepFileSystemFailed;
    outcome_.baseFilesCopied = true;
    return kStepDone;
}

std::optional<int> CopySteps::AnnounceDriver(const PlannedDriver& driver, int separatorLevel) const {
    PrintAtLevel("Scanning driver " + driver.sourceFolder, 4);
    PrintAtLevel("Reading " + JoinPath(driver.sourceFolder, kDriverInfoFileName), 5);
    if (driver.problem != ReadProblem::None) {
        PrintReadProblem(driver.problem, driver.failure);
        return kStepFileSystemFailed;
    }
    PrintDecisionReasons(driver.decision, driver.info, separatorLevel);
    if (!driver.decision.selected)
        return kStepDone;
    PrintAtLevel("", 4);
    PrintCopyingDriver(driver.sourceFolder, driver.destinationFolder);
    PrintAtLevel("", 3);
    return std::nullopt;
}

int CopySteps::CopyDriver(const PlannedDriver& driver, int separatorLevel) {
    if (std::optional<int> ended = AnnounceDriver(driver, separatorLevel))
        return *ended;
    bool copied = CopyPath(driver.sourceFolder, driver.destinationFolder);
    PrintAtLevel("", 4);
    if (!copied)
        return kStepFileSystemFailed;
    outcome_.copiedFolders.push_back(driver.sourceFolder);
    int result = ModifyDrvInfoIniSupportList(driver.destinationFolder);
    PrintAtLevel("", 3);
    return result;
}

bool CopySteps::IsDriverSelected(const DriverInfoFile& driver, int separatorLevel) const {
    DriverDecision decision = DecideDriver(settings_, driver);
    PrintDecisionReasons(decision, driver.Info(), separatorLevel);
    return decision.selected;
}

// The copy is read again rather than the source's values taken: it is the file that is rewritten.
int CopySteps::ModifyDrvInfoIniSupportList(const CString& driverDestination) {
    if (settings_.machineTypes.IsEmpty())
        return kStepDone;
    Lookup found;
    std::unique_ptr<DriverInfoFile> driver = ReadDriverInfo(driverDestination, found);
    if (!driver)
        return kStepFileSystemFailed;
    // A driver folder without an information file is left as it was copied.
    if (found == Lookup::Missing)
        return kStepDone;
    CString supported;
    CString unsupported;
    if (!NarrowSupportLists(settings_.machineTypes, driver->Info(), supported, unsupported))
        return kStepDone;
    if (Verbosity() == 3)
        PrintAtLevel("", 3);
    PrintAtLevel("Modifying " + JoinPath(driverDestination, kDriverInfoFileName), 3);
    driver->SetSupportedSystems(supported);
    driver->SetUnsupportedSystems(unsupported);
    if (driver->Write()) {
        outcome_.narrowedFolders.push_back(driverDestination);
        return kStepDone;
    }
    ReportUnwritableFile(driver->Path(), driver->WriteFailureReason());
    return kStepFileSystemFailed;
}
