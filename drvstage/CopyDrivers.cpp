// Copying the selected driver folders, and narrowing the copied driver files' support lists.
#include "drvstage/CopySteps.h"

#include "drvstage/FileLookup.h"
#include "drvstage/TreeCopy.h"
#include "foundation/Console.h"
#include "foundation/FileOperations.h"

namespace {

// The trees the run copies, up to the first driver that stops it; -1 in treeOf for the others.
std::vector<HeldTreeCopy> TreesToCopy(const std::vector<PlannedDriver>& drivers, std::vector<int>& treeOf) {
    std::vector<HeldTreeCopy> trees;
    for (const PlannedDriver& driver : drivers) {
        if (driver.problem != ReadProblem::None)
            break;
        treeOf.push_back(driver.decision.selected ? static_cast<int>(trees.size()) : -1);
        if (driver.decision.selected)
            trees.push_back({driver.sourceFolder, driver.destinationFolder, {}, false});
    }
    treeOf.resize(drivers.size(), -1);
    return trees;
}

} // namespace

int CopySteps::CopyDrivers(const StagingPlan& plan, const CString& source, const CString& destination) {
    int listed = PrintListingFailure(plan, source);
    if (listed != kStepDone)
        return listed;
    if (!settings_.machineTypes.IsEmpty()) {
        PrintAtLevel("Scanning drivers in " + source, 2);
        PrintAtLevel("", 2);
    }
    // Each tree goes into a folder of its own, so the trees are copied side by side: copies into one folder
    // wait for each other in the system.
    std::vector<int> treeOf;
    std::vector<HeldTreeCopy> trees = TreesToCopy(plan.drivers, treeOf);
    workers_.Start(trees.size(), [&trees](size_t index) { CopyHeldTree(trees[index]); });
    int result = kStepDone;
    const std::vector<PlannedDriver>& drivers = plan.drivers;
    for (size_t i = 0; i < drivers.size() && result == kStepDone; ++i) {
        const HeldTreeCopy* tree = nullptr;
        if (treeOf[i] >= 0) {
            workers_.Take(static_cast<size_t>(treeOf[i]));
            tree = &trees[static_cast<size_t>(treeOf[i])];
        }
        result = CopyDriver(drivers[i], i + 1 < drivers.size() ? 5 : 4, tree);
    }
    workers_.Finish();
    PrintAtLevel("Copying base library files.\n", 2);
    if (result != kStepDone)
        return result;
    if (!CopyFolderFiles(workers_, source, destination))
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

int CopySteps::CopyDriver(const PlannedDriver& driver, int separatorLevel, const HeldTreeCopy* tree) {
    if (std::optional<int> ended = AnnounceDriver(driver, separatorLevel))
        return *ended;
    PrintHeldLines(tree->lines);
    PrintAtLevel("", 4);
    if (!tree->copied)
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
