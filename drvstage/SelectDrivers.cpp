// Reading the source into a plan: nothing is printed and nothing is changed here.
#include "drvstage/CopySteps.h"

#include "drvstage/FileLookup.h"
#include "foundation/Console.h"
#include "foundation/ErrorReport.h"
#include "foundation/platform/FileSystem.h"

#include <algorithm>
#include <cstring>

namespace {

FileFailure FailureOf(const CString& file) {
    return {file, CurrentFileSystem().LastFailureReason()};
}

void SortByName(std::vector<CString>& names) {
    std::sort(names.begin(), names.end(),
              [](const CString& a, const CString& b) { return std::strcmp(a, b) < 0; });
}

// The driver folders of source, sorted; plan.listing tells when there are none or they could not be had.
bool ListDrivers(const CString& source, StagingPlan& plan, std::vector<CString>& names) {
    if (ListFolder(source, true, names) == Lookup::Failed) {
        plan.listing = kStepFileSystemFailed;
        plan.listingFailure = FailureOf(source);
        return false;
    }
    SortByName(names);
    if (names.empty()) {
        plan.listing = kStepNothingToDo;
        return false;
    }
    if (std::any_of(names.begin(), names.end(), [](const CString& name) { return name.IsEmpty(); }))
        ReportError(kErrorFatal, kGeneralProgramError, "");
    return true;
}

void ListBaseFiles(const CString& source, StagingPlan& plan) {
    if (ListFolder(source, false, plan.baseFiles) != Lookup::Failed) {
        SortByName(plan.baseFiles);
        return;
    }
    plan.baseFilesListed = false;
    plan.baseFailure = FailureOf(source);
}

} // namespace

StagingPlan CopySteps::SelectDrivers(const CString& source, const CString& destination) const {
    StagingPlan plan;
    plan.ads = settings_.ads;
    std::vector<CString> names;
    if (!ListDrivers(source, plan, names))
        return plan;
    for (const CString& name : names) {
        PlannedDriver& driver = plan.drivers.emplace_back();
        driver.name = name;
        driver.sourceFolder = JoinPath(source, name);
        driver.destinationFolder = settings_.ads ? destination : JoinPath(destination, name);
        if (!SelectDriver(driver))
            return plan;
    }
    if (!settings_.ads) {
        ListBaseFiles(source, plan);
        return plan;
    }
    std::vector<CString> selected;
    for (const PlannedDriver& driver : plan.drivers) {
        if (driver.decision.selected)
            selected.push_back(driver.sourceFolder);
    }
    plan.adsCollisions = FindAdsCollisions(selected);
    return plan;
}

bool CopySteps::SelectDriver(PlannedDriver& planned) const {
    Lookup found;
    std::unique_ptr<DriverInfoFile> driver =
        ReadDriverInfoQuietly(planned.sourceFolder, found, planned.problem, planned.failure);
    if (!driver)
        return false;
    planned.hasInfoFile = found == Lookup::Found;
    planned.info = driver->Info();
    if (settings_.ads) {
        planned.decision = DecideAdsDriver(planned.info);
        return true;
    }
    planned.decision = DecideDriver(settings_, *driver);
    planned.rewritesInfoFile = planned.decision.selected && planned.hasInfoFile &&
                               NarrowSupportLists(settings_.machineTypes, planned.info,
                                                  planned.narrowedSupported, planned.narrowedUnsupported);
    return true;
}

std::unique_ptr<DriverInfoFile> CopySteps::ReadDriverInfoQuietly(const CString& folder, Lookup& found,
                                                                 ReadProblem& problem,
                                                                 FileFailure& failure) const {
    CString path;
    found = FindFileNoCase(folder, kDriverInfoFileName, path);
    if (found == Lookup::Failed) {
        problem = ReadProblem::FolderUnlisted;
        failure = FailureOf(folder);
        return nullptr;
    }
    auto driver = std::make_unique<DriverInfoFile>(path, "", "", 0, DriverFileKind::DriverInformation);
    // A driver taken as empty would be selected, skipped or rewritten by the wrong values.
    if (driver->ReadFailed()) {
        problem = ReadProblem::FileUnreadable;
        failure = {path, driver->ReadFailureReason()};
        return nullptr;
    }
    return driver;
}

std::unique_ptr<DriverInfoFile> CopySteps::ReadDriverInfo(const CString& folder, Lookup& found) const {
    ReadProblem problem = ReadProblem::None;
    FileFailure failure;
    std::unique_ptr<DriverInfoFile> driver = ReadDriverInfoQuietly(folder, found, problem, failure);
    if (!driver)
        PrintReadProblem(problem, failure);
    return driver;
}

void PrintReadProblem(ReadProblem problem, const FileFailure& failure) {
    if (problem == ReadProblem::FileUnreadable) {
        ReportUnreadableFile(failure.file, failure.reason);
        return;
    }
    PrintAtLevel("Unable to list directory " + failure.file, 1);
    PrintFailureReason(failure);
}

void PrintAdsCollisions(const StagingPlan& plan, const CString& folder) {
    for (const AdsCollision& collision : plan.adsCollisions) {
        if (collision.later == folder)
            PrintAtLevel(AdsCollisionText(collision), 2);
    }
}
