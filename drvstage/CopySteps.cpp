#include "drvstage/CopySteps.h"

#include "drvstage/DestinationSafety.h"
#include "drvstage/FileLookup.h"
#include "drvstage/ItemList.h"
#include "foundation/Console.h"
#include "foundation/ErrorReport.h"
#include "foundation/FileOperations.h"
#include "foundation/IniFile.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr const char* kDriverSetSection = "Main";

void Print(const CString& text, int level) {
    PrintAtLevel(text, level);
}

} // namespace

int CopySteps::CheckMachineTypeSupportInDrvSetIni() {
    CString shownPath = JoinPath(settings_.sourcePath, kDriverSetFileName);
    CString path;
    int result = kStepDone;
    if (!FindFileNoCase(settings_.sourcePath, kDriverSetFileName, path)) {
        Print("\nFile not found:  " + shownPath, 1);
        result = kStepNothingToDo;
    } else if (!settings_.machineTypes.IsEmpty()) {
        IniFile driverSet(path, true);
        CString supported = driverSet.GetValue(kDriverSetSection, kSupportedSystemsKey, "");
        for (const CString& machineType : SplitItems(settings_.machineTypes)) {
            if (supported.IsEmpty() || DriverInfoFile::IsSupported(supported, "", machineType))
                continue;
            Print("The machine type '" + machineType + "' is not supported by this device driver set.", 1);
            result = kStepMachineTypeUnsupported;
        }
    }
    if (result != kStepDone)
        Print("\nDevice driver copy canceled.", 1);
    return result;
}

int CopySteps::PrepareDestinationPath(const CString& destination) {
    if (RefuseDangerousDestination(destination, true))
        return kStepFileSystemFailed;
    if (PathExists(destination)) {
        Print("Removing " + destination + "\n", 1);
        if (!DeletePath(destination)) {
            Print("Unable to remove directory " + destination, 1);
            return kStepFileSystemFailed;
        }
    }
    Print("Creating " + destination + "\n", 1);
    if (!MakePath(destination)) {
        Print("Unable to create directory " + destination, 1);
        return kStepFileSystemFailed;
    }
    return kStepDone;
}

int CopySteps::ModifyDrvSetIniSupportList(const CString& destination) {
    if (settings_.machineTypes.IsEmpty())
        return kStepDone;
    CString path;
    FindFileNoCase(destination, kDriverSetFileName, path);
    IniFile driverSet(path, true);
    Print("\nModifying " + JoinPath(destination, kDriverSetFileName), 2);
    if (!driverSet.SetValue(kDriverSetSection, kSupportedSystemsKey, settings_.machineTypes, false, false))
        return kStepFileSystemFailed;
    return driverSet.Flush() ? kStepDone : kStepFileSystemFailed;
}

bool CopySteps::ListDriverFolders(const CString& source, std::vector<CString>& names) const {
    ListDirectory(source, true, names);
    std::sort(names.begin(), names.end(),
              [](const CString& a, const CString& b) { return std::strcmp(a, b) < 0; });
    if (names.empty()) {
        Print("\nNo drivers found in " + source, 1);
        return false;
    }
    if (std::any_of(names.begin(), names.end(), [](const CString& name) { return name.IsEmpty(); }))
        ReportError(kErrorFatal, kGeneralProgramError, "");
    return true;
}

bool CopySteps::RefuseDangerousDestination(const CString& destination, bool emptiesDestination) const {
    DestinationRisk risk = CheckDestination(settings_.sourcePath, destination, emptiesDestination);
    if (risk == DestinationRisk::None)
        return false;
    Print(DestinationRiskMessage(risk, settings_.sourcePath, destination), 1);
    Print("\nDevice driver copy canceled.", 1);
    return true;
}

void CopySteps::PrintCopyingDriver(const CString& sourceFolder, const CString& destination) const {
    if (Verbosity() >= 4)
        Print("Copying driver " + sourceFolder + " -> " + destination, 4);
    else
        Print("Copying driver " + sourceFolder, 1);
}
