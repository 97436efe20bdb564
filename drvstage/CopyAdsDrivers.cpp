// The ADS mode: the drivers tagged as required for ADS, merged into the destination root.
#include "drvstage/CopySteps.h"

#include "drvstage/FileLookup.h"
#include "drvstage/TreeCopy.h"
#include "foundation/Console.h"
#include "foundation/FileOperations.h"

int CopySteps::CopyADSDrivers(const StagingPlan& plan, const CString& source) {
    int listed = PrintListingFailure(plan, source);
    if (listed != kStepDone)
        return listed;
    bool anyCopied = false;
    const std::vector<PlannedDriver>& drivers = plan.drivers;
    for (size_t i = 0; i < drivers.size(); ++i) {
        const PlannedDriver& driver = drivers[i];
        PrintAtLevel("\nScanning driver " + driver.sourceFolder, 4);
        PrintAtLevel("\nReading " + JoinPath(driver.sourceFolder, kDriverInfoFileName), 5);
        if (driver.problem != ReadProblem::None) {
            PrintReadProblem(driver.problem, driver.failure);
            return kStepFileSystemFailed;
        }
        PrintAtLevel("", 5);
        if (!driver.decision.selected) {
            PrintAtLevel("The driver is not required for ADS.", 5);
            PrintAtLevel("", i + 1 < drivers.size() ? 5 : 4);
            continue;
        }
        PrintAtLevel("The driver is required for ADS.", 5);
        PrintAtLevel("", 3);
        PrintCopyingDriver(driver.sourceFolder, driver.destinationFolder);
        PrintAdsCollisions(plan, driver.sourceFolder);
        PrintAtLevel("", 3);
        if (!CopyFolderTree(workers_, driver.sourceFolder, driver.destinationFolder))
            return kStepFileSystemFailed;
        outcome_.copiedFolders.push_back(driver.sourceFolder);
        anyCopied = true;
    }
    if (!anyCopied)
        PrintAtLevel("There were no drivers tagged for ADS.", 1);
    return kStepDone;
}
