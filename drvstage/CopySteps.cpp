#include "drvstage/CopySteps.h"

#include "drvstage/DestinationSafety.h"
#include "drvstage/FileLookup.h"
#include "drvstage/ItemList.h"
#include "foundation/Console.h"
#include "foundation/FileOperations.h"
#include "foundation/IniFile.h"
#include "foundation/platform/FileSystem.h"

namespace {

constexpr const char* kDriverSetSection = "Main";

} // namespace

int CopySteps::CheckMachineTypeSupportInDrvSetIni() {
    CString path;
    int result = kStepDone;
    switch (FindFileNoCase(settings_.sourcePath, kDriverSetFileName, path)) {
    case Lookup::Failed:
        ReportUnlistedDirectory(settings_.sourcePath);
        result = kStepFileSystemFailed;
        break;
    case Lookup::Missing:
        PrintAtLevel("\nFile not found:  " + JoinPath(settings_.sourcePath, kDriverSetFileName), 1);
        result = kStepNothingToDo;
        break;
    case Lookup::Found:
        result = CheckMachineTypesAgainst(path);
        break;
    }
    if (result != kStepDone)
        PrintAtLevel("\nDevice driver copy canceled.", 1);
    return result;
}

int CopySteps::CheckMachineTypesAgainst(const CString& driverSetPath) const {
    if (settings_.machineTypes.IsEmpty())
        return kStepDone;
    IniFile driverSet(CurrentFileSystem(), driverSetPath, true);
    // An unread support list would let every machine type pass.
    if (driverSet.IsUnreadable()) {
        ReportUnreadableFile(driverSetPath, driverSet.ReadFailureReason());
        return kStepFileSystemFailed;
    }
    CString supported = driverSet.GetValue(kDriverSetSection, kSupportedSystemsKey, "");
    int result = kStepDone;
    for (const CString& machineType : SplitItems(settings_.machineTypes)) {
        if (supported.IsEmpty() || DriverInfoFile::IsSupported(supported, "", machineType))
            continue;
        PrintAtLevel("The machine type '" + machineType + "' is not supported by this device driver set.", 1);
        result = kStepMachineTypeUnsupported;
    }
    return result;
}

int CopySteps::PrepareDestinationPath(const CString& destination) {
    if (RefuseDangerousDestination(destination, true))
        return kStepFileSystemFailed;
    Lookup existing = LookUpPath(CurrentFileSystem(), destination);
    if (existing == Lookup::Failed) {
        // Old files must not stay behind in a destination that could not be looked at.
        FileFailure failure{destination, CurrentFileSystem().LastFailureReason()};
        PrintAtLevel("Unable to remove directory " + destination, 1);
        PrintFailureReason(failure);
        return kStepFileSystemFailed;
    }
    FileFailure failure;
    if (existing == Lookup::Found) {
        PrintAtLevel("Removing " + destination + "\n", 1);
        if (!DeletePath(destination, &failure)) {
            PrintAtLevel("Unable to remove directory " + destination, 1);
            PrintFailureReason(failure);
            return kStepFileSystemFailed;
        }
    }
    PrintAtLevel("Creating " + destination + "\n", 1);
    if (!MakePath(destination, NativePathStyle(), &failure)) {
        PrintAtLevel("Unable to create directory " + destination, 1);
        PrintFailureReason(failure);
        return kStepFileSystemFailed;
    }
    return kStepDone;
}

int CopySteps::ModifyDrvSetIniSupportList(const CString& destination) {
    if (settings_.machineTypes.IsEmpty())
        return kStepDone;
    CString path;
    if (FindFileNoCase(destination, kDriverSetFileName, path) == Lookup::Failed) {
        ReportUnlistedDirectory(destination);
        return kStepFileSystemFailed;
    }
    PrintAtLevel("\nModifying " + JoinPath(destination, kDriverSetFileName), 2);
    return RewriteDriverSetFile(path);
}

int CopySteps::RewriteDriverSetFile(const CString& path) {
    IniFile driverSet(CurrentFileSystem(), path, true);
    if (driverSet.IsUnreadable()) {
        ReportUnreadableFile(path, driverSet.ReadFailureReason());
        return kStepFileSystemFailed;
    }
    if (!driverSet.SetValue(kDriverSetSection, kSupportedSystemsKey, settings_.machineTypes, false, false))
        return kStepFileSystemFailed;
    if (driverSet.Flush()) {
        outcome_.driverSetRewritten = true;
        return kStepDone;
    }
    ReportUnwritableFile(path, driverSet.SaveFailureReason());
    return kStepFileSystemFailed;
}

int PrintListingFailure(const StagingPlan& plan, const CString& source) {
    if (plan.listing == kStepNothingToDo)
        PrintAtLevel("\nNo drivers found in " + source, 1);
    else if (plan.listing != kStepDone)
        PrintReadProblem(ReadProblem::FolderUnlisted, plan.listingFailure);
    return plan.listing;
}

bool CopySteps::RefuseDangerousDestination(const CString& destination, bool emptiesDestination) const {
    DestinationRisk risk = CheckDestination(settings_.sourcePath, destination, emptiesDestination);
    if (risk == DestinationRisk::None)
        return false;
    PrintAtLevel(DestinationRiskMessage(risk, settings_.sourcePath, destination), 1);
    PrintAtLevel("\nDevice driver copy canceled.", 1);
    return true;
}

void CopySteps::PrintCopyingDriver(const CString& sourceFolder, const CString& destination) const {
    if (Verbosity() >= 4)
        PrintAtLevel("Copying driver " + sourceFolder + " -> " + destination, 4);
    else
        PrintAtLevel("Copying driver " + sourceFolder, 1);
}
