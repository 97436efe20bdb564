// Selecting and copying the driver folders, and narrowing the copied driver files' support lists.
#include "drvstage/CopySteps.h"

#include "drvstage/FileLookup.h"
#include "drvstage/ItemList.h"
#include "foundation/Console.h"
#include "foundation/FileOperations.h"

namespace {

// The reason lines of one text criterion (category or installation mode).
struct CriterionTexts {
    const char* notSpecified;
    const char* noMatch;
    const char* match;
};

constexpr CriterionTexts kCategoryTexts = {
    "The driver category is not specified.",
    "The driver category does not match:  ",
    "The driver category is specified:  ",
};

constexpr CriterionTexts kInstallationModeTexts = {
    "The driver installation mode is not specified.",
    "The driver installation mode does not match:  ",
    "The driver installation mode is specified:  ",
};

// Whether value is one of the requested items (ignoring case); prints the reason either way.
bool MatchesCriterion(const CString& requested, const CString& value, const CriterionTexts& texts,
                      int separatorLevel) {
    if (value.IsEmpty()) {
        PrintAtLevel(texts.notSpecified, 5);
        PrintAtLevel("", separatorLevel);
        return false;
    }
    if (!HasItemNoCase(requested, value)) {
        PrintAtLevel(texts.noMatch + value, 5);
        PrintAtLevel("", separatorLevel);
        return false;
    }
    PrintAtLevel(texts.match + value, 5);
    return true;
}

} // namespace

int CopySteps::CopyDrivers(const CString& source, const CString& destination) {
    std::vector<CString> names;
    int listed = ListDriverFolders(source, names);
    if (listed != kStepDone)
        return listed;
    if (!settings_.machineTypes.IsEmpty()) {
        PrintAtLevel("Scanning drivers in " + source, 2);
        PrintAtLevel("", 2);
    }
    int result = kStepDone;
    for (size_t i = 0; i < names.size() && result == kStepDone; ++i)
        result = CopyDriver(source, destination, names[i], i + 1 < names.size() ? 5 : 4);
    PrintAtLevel("Copying base library files.\n", 2);
    if (result == kStepDone && !CopyFiles(source, destination))
        result = kStepFileSystemFailed;
    return result;
}

int CopySteps::CopyDriver(const CString& source, const CString& destination, const CString& name,
                          int separatorLevel) {
    CString sourceFolder = JoinPath(source, name);
    CString destinationFolder = JoinPath(destination, name);
    PrintAtLevel("Scanning driver " + sourceFolder, 4);
    PrintAtLevel("Reading " + JoinPath(sourceFolder, kDriverInfoFileName), 5);
    Lookup found;
    std::unique_ptr<DriverInfoFile> driver = ReadDriverInfo(sourceFolder, found);
    if (!driver)
        return kStepFileSystemFailed;
    if (!IsDriverSelected(*driver, separatorLevel))
        return kStepDone;
    PrintAtLevel("", 4);
    PrintCopyingDriver(sourceFolder, destinationFolder);
    PrintAtLevel("", 3);
    bool copied = CopyPath(sourceFolder, destinationFolder);
    PrintAtLevel("", 4);
    if (!copied)
        return kStepFileSystemFailed;
    int result = ModifyDrvInfoIniSupportList(destinationFolder);
    PrintAtLevel("", 3);
    return result;
}

bool CopySteps::IsDriverSelected(const DriverInfoFile& driver, int separatorLevel) const {
    if (!SuitsMachineTypes(driver)) {
        PrintAtLevel("The driver is not supported.", 5);
        PrintAtLevel("", separatorLevel);
        return false;
    }
    PrintAtLevel("The driver is supported.", 5);
    const DriverInfo& info = driver.Info();
    if (!settings_.categories.IsEmpty() &&
        !MatchesCriterion(settings_.categories, info.category, kCategoryTexts, separatorLevel))
        return false;
    return settings_.installationModes.IsEmpty() ||
           MatchesCriterion(settings_.installationModes, info.installationMode, kInstallationModeTexts,
                            separatorLevel);
}

bool CopySteps::SuitsMachineTypes(const DriverInfoFile& driver) const {
    if (settings_.machineTypes.IsEmpty())
        return !driver.Info().supportedSystems.EqualsNoCase("None");
    for (const CString& machineType : SplitItems(settings_.machineTypes)) {
        if (driver.SupportsMachineType(machineType))
            return true;
    }
    return false;
}

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
    const DriverInfo& info = driver->Info();
    if (info.supportedSystems.EqualsNoCase("All"))
        return kStepDone;
    CString supported = ItemsAlsoIn(settings_.machineTypes, info.supportedSystems);
    CString unsupported = ItemsAlsoIn(settings_.machineTypes, info.unsupportedSystems);
    if (Verbosity() == 3)
        PrintAtLevel("", 3);
    PrintAtLevel("Modifying " + JoinPath(driverDestination, kDriverInfoFileName), 3);
    driver->SetSupportedSystems(supported);
    driver->SetUnsupportedSystems(unsupported);
    if (driver->Write())
        return kStepDone;
    ReportUnwritableFile(driver->Path(), driver->WriteFailureReason());
    return kStepFileSystemFailed;
}

std::unique_ptr<DriverInfoFile> CopySteps::ReadDriverInfo(const CString& folder, Lookup& found) const {
    CString path;
    found = FindFileNoCase(folder, kDriverInfoFileName, path);
    if (found == Lookup::Failed) {
        ReportUnlistedDirectory(folder);
        return nullptr;
    }
    auto driver = std::make_unique<DriverInfoFile>(path, "", "", 0, DriverFileKind::DriverInformation);
    // A driver taken as empty would be selected, skipped or rewritten by the wrong values.
    if (driver->ReadFailed()) {
        ReportUnreadableFile(path, driver->ReadFailureReason());
        return nullptr;
    }
    return driver;
}
