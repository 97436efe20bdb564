// The ADS mode: the drivers tagged as required for ADS, merged into the destination root.
#include "drvstage/CopySteps.h"

#include "drvstage/FileLookup.h"
#include "foundation/Console.h"
#include "foundation/FileOperations.h"

int CopySteps::CopyADSDrivers(const CString& source, const CString& destination) {
    if (RefuseDangerousDestination(destination, false))
        return kStepFileSystemFailed;
    std::vector<CString> names;
    int listed = ListDriverFolders(source, names);
    if (listed != kStepDone)
        return listed;
    bool anyCopied = false;
    for (size_t i = 0; i < names.size(); ++i) {
        CString sourceFolder = JoinPath(source, names[i]);
        PrintAtLevel("\nScanning driver " + sourceFolder, 4);
        PrintAtLevel("\nReading " + JoinPath(sourceFolder, kDriverInfoFileName), 5);
        Lookup found;
        std::unique_ptr<DriverInfoFile> driver = ReadDriverInfo(sourceFolder, found);
        if (!driver)
            return kStepFileSystemFailed;
        PrintAtLevel("", 5);
        if (!driver->Info().requiredForAds) {
            PrintAtLevel("The driver is not required for ADS.", 5);
            PrintAtLevel("", i + 1 < names.size() ? 5 : 4);
            continue;
        }
        PrintAtLevel("The driver is required for ADS.", 5);
        PrintAtLevel("", 3);
        PrintCopyingDriver(sourceFolder, destination);
        PrintAtLevel("", 3);
        if (!CopyPath(sourceFolder, destination))
            return kStepFileSystemFailed;
        anyCopied = true;
    }
    if (!anyCopied)
        PrintAtLevel("There were no drivers tagged for ADS.", 1);
    return kStepDone;
}
