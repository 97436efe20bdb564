#include "drvstage/PlanPreview.h"

#include "foundation/Console.h"

namespace {

CString MachineTypeReason(const DriverInfo& info, const CString& machineTypes) {
    if (!info.supportedSystems.IsEmpty() && !info.unsupportedSystems.IsEmpty())
        return "both Supported Systems and Unsupported Systems are set";
    if (machineTypes.IsEmpty())
        return "Supported Systems = " + info.supportedSystems;
    if (!info.supportedSystems.IsEmpty())
        return "supports " + info.supportedSystems + ", asked for " + machineTypes;
    return "does not support " + info.unsupportedSystems + ", asked for " + machineTypes;
}

// A criterion that the folder's information file does not give, or gives another value for.
CString CriterionReason(const PlannedDriver& driver, const char* what, const CString& value,
                        const CString& asked, bool notSpecified) {
    if (!notSpecified)
        return CString(what) + " " + value + " not asked for (" + asked + ")";
    if (!driver.hasInfoFile)
        return CString("no ") + kDriverInfoFileName + ", asked for " + what + " " + asked;
    return CString("no ") + what + ", asked for " + asked;
}

// A list as it would be written: Supported Systems "A,B".
CString Quoted(const char* key, const CString& list) {
    return CString(key) + " \"" + list + "\"";
}

void PrintDriver(const PlannedDriver& driver, const CopySettings& settings) {
    if (!driver.decision.selected) {
        PrintAtLevel("skip " + driver.sourceFolder + ": " + SkipReasonText(driver, settings), 1);
        return;
    }
    PrintAtLevel("copy " + driver.sourceFolder, 1);
    if (driver.rewritesInfoFile)
        PrintAtLevel("rewrite " + JoinPath(driver.destinationFolder, kDriverInfoFileName) + ": " +
                         Quoted(kSupportedSystemsKey, driver.narrowedSupported) + ", " +
                         Quoted(kUnsupportedSystemsKey, driver.narrowedUnsupported),
                     1);
}

// The drivers' lines up to the first folder that could not be read: not 0 when reading stopped.
int PrintDrivers(const StagingPlan& plan, const CopySettings& settings) {
    for (const PlannedDriver& driver : plan.drivers) {
        if (driver.problem != ReadProblem::None) {
            PrintReadProblem(driver.problem, driver.failure);
            return kStepFileSystemFailed;
        }
        PrintDriver(driver, settings);
        PrintAdsCollisions(plan, driver.sourceFolder);
    }
    return kStepDone;
}

int PrintBaseFiles(const StagingPlan& plan, const CopySettings& settings) {
    if (!plan.baseFilesListed) {
        PrintReadProblem(ReadProblem::FolderUnlisted, plan.baseFailure);
        return kStepFileSystemFailed;
    }
    for (const CString& name : plan.baseFiles)
        PrintAtLevel("base " + JoinPath(settings.sourcePath, name), 1);
    if (!settings.machineTypes.IsEmpty())
        PrintAtLevel("rewrite " + JoinPath(settings.destinationPath, kDriverSetFileName) + ": " +
                         Quoted(kSupportedSystemsKey, settings.machineTypes),
                     1);
    return kStepDone;
}

bool AnySelected(const StagingPlan& plan) {
    for (const PlannedDriver& driver : plan.drivers) {
        if (driver.decision.selected)
            return true;
    }
    return false;
}

} // namespace

CString SkipReasonText(const PlannedDriver& driver, const CopySettings& settings) {
    const DriverInfo& info = driver.info;
    switch (driver.decision.reason) {
    case SkipReason::None:
        break;
    case SkipReason::MachineType:
        return MachineTypeReason(info, settings.machineTypes);
    case SkipReason::CategoryNotSpecified:
    case SkipReason::CategoryMismatch:
        return CriterionReason(driver, "category", info.category, settings.categories,
                               driver.decision.reason == SkipReason::CategoryNotSpecified);
    case SkipReason::InstallationModeNotSpecified:
    case SkipReason::InstallationModeMismatch:
        return CriterionReason(driver, "installation mode", info.installationMode, settings.installationModes,
                               driver.decision.reason == SkipReason::InstallationModeNotSpecified);
    case SkipReason::NotRequiredForAds:
        if (!driver.hasInfoFile)
            return CString("no ") + kDriverInfoFileName + ", so not required for ADS";
        return "not required for ADS";
    }
    return CString();
}

int PreviewRun(CopySteps& steps, const CopySettings& settings, StagingPlan& plan) {
    if (!settings.ads) {
        int checked = steps.CheckMachineTypeSupportInDrvSetIni();
        if (checked != kStepDone)
            return checked;
    }
    if (steps.RefuseDangerousDestination(settings.destinationPath, !settings.ads))
        return kStepFileSystemFailed;
    plan = steps.SelectDrivers(settings.sourcePath, settings.destinationPath);
    int result = PrintListingFailure(plan, settings.sourcePath);
    if (result == kStepDone)
        result = PrintDrivers(plan, settings);
    if (result != kStepDone || settings.ads) {
        if (result == kStepDone && !AnySelected(plan))
            PrintAtLevel("There were no drivers tagged for ADS.", 1);
        return result;
    }
    return PrintBaseFiles(plan, settings);
}
