// Selecting and copying the driver folders, and narrowing the copied driver files' support lists.
#include "drvstage/CopySteps.h"

#include "drvstage/FileLookup.h"
#include "drvstage/ItemList.h"
#include "foundation/Console.h"
#include "foundation/FileOperations.h"

namespace {

void Print(const CString& text, int level) {
    PrintAtLevel(text, level);
}

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
        Print(texts.notSpecified, 5);
        Print("", separatorLevel);
        return false;
    }
    if (!HasItemNoCase(requested, value)) {
        Print(texts.noMatch + value, 5);
        Print("", separatorLevel);
        return false;
    }
    Print(texts.match + value, 5);
    return true;
}

} // namespace

int CopySteps::CopyDrivers(const CString& source, const CString& destination) {
    std::vector<CString> names;
    if (!ListDriverFolders(source, names))
        return kStepNothingToDo;
    if (!settings_.machineTypes.IsEmpty()) {
        Print("Scanning drivers in " + source, 2);
        Print("", 2);
    }
    int result = kStepDone;
    for (size_t i = 0; i < names.size() && result == kStepDone; ++i)
        result = CopyDriver(source, destination, names[i], i + 1 < names.size() ? 5 : 4);
    Print("Copying base library files.\n", 2);
    if (result == kStepDone && !CopyFiles(source, destination))
        result = kStepFileSystemFailed;
    return result;
}

int CopySteps::CopyDriver(const CString& source, const CString& destination, const CString& name,
                          int separatorLevel) {
    CString sourceFolder = JoinPath(source, name);
    CString destinationFolder = JoinPath(destination, name);
    Print("Scanning driver " + sourceFolder, 4);
    Print("Reading " + JoinPath(sourceFolder, kDriverInfoFileName), 5);
    CString infoPath;
    FindFileNoCase(sourceFolder, kDriverInfoFileName, infoPath);
    DriverInfoFile driver(infoPath, "", "", 0, DriverFileKind::DriverInformation);
    if (!IsDriverSelected(driver, separatorLevel))
        return kStepDone;
    Print("", 4);
    PrintCopyingDriver(sourceFolder, destinationFolder);
    Print("", 3);
    bool copied = CopyPath(sourceFolder, destinationFolder);
    Print("", 4);
    if (!copied)
        return kStepFileSystemFailed;
    int result = ModifyDrvInfoIniSupportList(destinationFolder);
    Print("", 3);
    return result;
}

bool CopySteps::IsDriverSelected(const DriverInfoFile& driver, int separatorLevel) const {
    if (!SuitsMachineTypes(driver)) {
        Print("The driver is not supported.", 5);
        Print("", separatorLevel);
        return false;
    }
    Print("The driver is supported.", 5);
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
    CString path;
    // A driver folder without an information file is left as it was copied.
    if (!FindFileNoCase(driverDestination, kDriverInfoFileName, path))
        return kStepDone;
    DriverInfoFile driver(path, "", "", 0, DriverFileKind::DriverInformation);
    const DriverInfo& info = driver.Info();
    if (info.supportedSystems.EqualsNoCase("All"))
        return kStepDone;
    CString supported = ItemsAlsoIn(settings_.machineTypes, info.supportedSystems);
    CString unsupported = ItemsAlsoIn(settings_.machineTypes, info.unsupportedSystems);
    if (Verbosity() == 3)
        Print("", 3);
    Print("Modifying " + JoinPath(driverDestination, kDriverInfoFileName), 3);
    driver.SetSupportedSystems(supported);
    driver.SetUnsupportedSystems(unsupported);
    return driver.Write() ? kStepDone : kStepFileSystemFailed;
}
