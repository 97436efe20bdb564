#include "drvstage/Run.h"

#include "drvstage/ConsoleTexts.h"
#include "drvstage/CopySteps.h"
#include "drvstage/DriverSetLint.h"
#include "drvstage/PlanPreview.h"
#include "drvstage/RunLog.h"
#include "drvstage/RunReport.h"
#include "foundation/Console.h"

namespace {

void PrintStepResult(const char* step, int result, const char* resultName = "nRetVAl") {
    PrintAtLevel(CString("\n") + step + " " + resultName + " = " + CString(result) + "\n", 6);
}

int RunAdsCopy(CopySteps& steps, const CopySettings& settings, StagingPlan& plan) {
    int result = kStepFileSystemFailed;
    if (!steps.RefuseDangerousDestination(settings.destinationPath, false)) {
        plan = steps.SelectDrivers(settings.sourcePath, settings.destinationPath);
        result = steps.CopyADSDrivers(plan, settings.sourcePath);
    }
    PrintStepResult("CopyADSDrivers", result);
    return result;
}

// The /INC run: the driver set file is brought up to date with the drivers.
int RunUpdateSteps(CopySteps& steps, const CopySettings& settings, StagingPlan& plan) {
    int result = steps.CheckMachineTypeSupportInDrvSetIni();
    PrintStepResult("CheckMachineTypeSupportInDrvSetIni", result);
    if (result == kStepDone)
        plan = steps.SelectDrivers(settings.sourcePath, settings.destinationPath);
    if (result == kStepDone)
        result = steps.PrepareDestinationInPlace(settings.destinationPath);
    PrintStepResult("PrepareDestinationInPlace", result);
    if (result == kStepDone)
        result = steps.UpdateDrivers(plan, settings.sourcePath, settings.destinationPath);
    PrintStepResult("UpdateDrivers", result);
    return result;
}

// Each step runs only while the ones before succeeded; its result line is printed either way.
int RunCopySteps(CopySteps& steps, const CopySettings& settings, StagingPlan& plan) {
    int result = steps.CheckMachineTypeSupportInDrvSetIni();
    PrintStepResult("CheckMachineTypeSupportInDrvSetIni", result);
    if (result == kStepDone)
        plan = steps.SelectDrivers(settings.sourcePath, settings.destinationPath);
    if (result == kStepDone)
        result = steps.PrepareDestinationPath(settings.destinationPath);
    PrintStepResult("PrepareDestinationPath", result);
    if (result == kStepDone)
        result = steps.CopyDrivers(plan, settings.sourcePath, settings.destinationPath);
    PrintStepResult("CopyDrivers", result);
    if (result == kStepDone)
        result = steps.ModifyDrvSetIniSupportList(settings.destinationPath);
    PrintStepResult("ModifyDrvSetIniSupportList", result, "nRetVal");
    return result;
}

// A staging run or its preview, with its report. A report that cannot be written fails a run that
// succeeded.
int Stage(const CopySettings& settings) {
    CopySteps steps(settings);
    StagingPlan plan;
    int result = 0;
    if (settings.listOnly)
        result = PreviewRun(steps, settings, plan);
    else
        result = settings.ads           ? RunAdsCopy(steps, settings, plan)
                 : settings.incremental ? RunUpdateSteps(steps, settings, plan)
                                        : RunCopySteps(steps, settings, plan);
    if (settings.reportPath.IsEmpty())
        return result;
    // A run that stopped before it read the folders (an unsupported machine type, a refused destination)
    // still reports what each folder would have been.
    bool foldersReached = !plan.drivers.empty() || plan.listing != kStepDone;
    if (!foldersReached)
        plan = steps.SelectDrivers(settings.sourcePath, settings.destinationPath);
    if (!WriteReport(settings, plan, steps.Outcome(), result, foldersReached) && result == kStepDone)
        result = kStepFileSystemFailed;
    return result;
}

} // namespace

int RunDrvstage(int argc, const char* const* argv) {
    CopySettings settings;
    settings.programName = ProgramNameFrom(argc > 0 ? argv[0] : "");
    int rejected = InterpretCommandLine(argc, argv, settings);
    if (rejected != 0) {
        SetVerbosity(3);
        PrintBanner(settings.programName);
        PrintUsage(settings.programName);
        return rejected;
    }
    // The file operations print at the run's levels too.
    SetVerbosity(settings.verbosity);
    RunLog log;
    bool logged = settings.logPath.IsEmpty() || log.Open(settings.logPath);
    PrintBanner(settings.programName);
    PrintSettings(settings);
    int result = kStepFileSystemFailed;
    if (logged)
        result = settings.lint ? LintDriverSet(settings) : Stage(settings);
    PrintAtLevel("\nDrvstage nRetVal = " + CString(result) + "\n", 6);
    PrintAtLevel("", 1);
    PrintAtLevel(settings.programName + " complete.\n", 1);
    if (!log.Close() && result == kStepDone)
        return kStepFileSystemFailed;
    return result;
}
