// The steps of a drvstage run. Each returns 0 on success, 3 when a file-system operation failed,
// 4 when a machine type is not supported, 6 when there is nothing to work on.
#pragma once

#include "drvstage/CopySettings.h"
#include "drvstage/DriverInfoFile.h"
#include "drvstage/FileLookup.h"

#include <memory>
#include <vector>

enum StepResult {
    kStepDone = 0,
    kStepFileSystemFailed = 3,
    kStepMachineTypeUnsupported = 4,
    kStepNothingToDo = 6,
};

class CopySteps {
public:
    explicit CopySteps(const CopySettings& settings) : settings_(settings) {}

    int CheckMachineTypeSupportInDrvSetIni();
    int PrepareDestinationPath(const CString& destination);
    int CopyDrivers(const CString& source, const CString& destination);
    int ModifyDrvInfoIniSupportList(const CString& driverDestination);
    int ModifyDrvSetIniSupportList(const CString& destination);
    int CopyADSDrivers(const CString& source, const CString& destination);

    // Whether the driver described by driver suits the requested machine types, categories and
    // installation modes; prints the reasons, and the separator line at separatorLevel when it does not.
    bool IsDriverSelected(const DriverInfoFile& driver, int separatorLevel) const;

private:
    // The driver folders of source, sorted: kStepDone. Prints the failure line and returns the step's
    // result when there are none (kStepNothingToDo) or source could not be listed (kStepFileSystemFailed).
    int ListDriverFolders(const CString& source, std::vector<CString>& names) const;
    int CheckMachineTypesAgainst(const CString& driverSetPath) const;
    // The information file of folder, read (a missing one gives a driver with every field empty, found
    // Missing). Null after the failure line when folder could not be listed or the file could not be read.
    std::unique_ptr<DriverInfoFile> ReadDriverInfo(const CString& folder, Lookup& found) const;
    int CopyDriver(const CString& source, const CString& destination, const CString& name,
                   int separatorLevel);
    bool SuitsMachineTypes(const DriverInfoFile& driver) const;
    bool RefuseDangerousDestination(const CString& destination, bool emptiesDestination) const;
    void PrintCopyingDriver(const CString& sourceFolder, const CString& destination) const;

    const CopySettings& settings_;
};
