// The /INC run: the staged destination is brought up to date in place.
#include "drvstage/CopySteps.h"

#include "drvstage/FileLookup.h"
#include "drvstage/SavedText.h"
#include "foundation/Console.h"
#include "foundation/FileOperations.h"
#include "foundation/IniFile.h"
#include "foundation/platform/FileSystem.h"

#include <cstring>

namespace {

// The name a rewritten copy is made under; a run stopped before it took its name leaves it, and the next
// run removes it as a file the source does not hold.
constexpr const char* kRewriteName = "~copy-rewrite.tmp";
constexpr const char* kDriverSetSection = "Main";

// The name of the file called name (in any letter case) in folder; empty when it has none.
CString NameInFolder(const CString& folder, const char* name) {
    CString path;
    if (FindFileNoCase(folder, name, path) != Lookup::Found)
        return CString();
    return path.Mid(path.Length() - static_cast<int>(std::strlen(name)));
}

void PrintCounts(const UpdateCounts& counts) {
    PrintAtLevel("\nFiles copied: " + CString(counts.copied) + ", removed: " + CString(counts.removed) +
                     ", unchanged: " + CString(counts.unchanged),
                 1);
}

} // namespace

int CopySteps::PrepareDestinationInPlace(const CString& destination) {
    if (RefuseDangerousDestination(destination, true))
        return kStepFileSystemFailed;
    // Only a folder is updated in place: a link is replaced, never followed, as a full run replaces it.
    std::vector<DirectoryEntry> found;
    bool searched = CurrentFileSystem().FindEntries(destination.Str(), found);
    if (searched && found.size() == 1 && found[0].isDirectory && !found[0].isLink)
        return kStepDone;
    if (!searched || !found.empty())
        return PrepareDestinationPath(destination);
    PrintAtLevel("Creating " + destination + "\n", 1);
    FileFailure failure;
    if (MakePath(destination, NativePathStyle(), &failure))
        return kStepDone;
    PrintAtLevel("Unable to create directory " + destination, 1);
    PrintFailureReason(failure);
    return kStepFileSystemFailed;
}

int CopySteps::UpdateDrivers(const StagingPlan& plan, const CString& source, const CString& destination) {
    int result = PrintListingFailure(plan, source);
    if (result != kStepDone)
        return result;
    if (!plan.baseFilesListed) {
        PrintReadProblem(ReadProblem::FolderUnlisted, plan.baseFailure);
        return kStepFileSystemFailed;
    }
    // What the plan stages at the top; everything else there is left from an earlier selection.
    std::vector<StagedName> staged;
    for (const PlannedDriver& driver : plan.drivers) {
        if (driver.decision.selected)
            staged.push_back({driver.name, true});
    }
    for (const CString& name : plan.baseFiles)
        staged.push_back({name, false});
    UpdateCounts counts;
    if (!RemoveUnstaged(destination, staged, counts))
        return kStepFileSystemFailed;
    if (counts.removed > 0)
        PrintAtLevel("", 3);
    if (!settings_.machineTypes.IsEmpty()) {
        PrintAtLevel("Scanning drivers in " + source, 2);
        PrintAtLevel("", 2);
    }
    const std::vector<PlannedDriver>& drivers = plan.drivers;
    for (size_t i = 0; i < drivers.size() && result == kStepDone; ++i)
        result = UpdateDriver(drivers[i], i + 1 < drivers.size() ? 5 : 4, counts);
    PrintAtLevel("Copying base library files.\n", 2);
    if (result == kStepDone)
        result = UpdateBaseFiles(source, destination, counts);
    PrintCounts(counts);
    return result;
}

int CopySteps::UpdateDriver(const PlannedDriver& driver, int separatorLevel, UpdateCounts& counts) {
    if (std::optional<int> ended = AnnounceDriver(driver, separatorLevel))
        return *ended;
    // The narrowed information file is compared by its contents: its copy never has the source's.
    CString infoName =
        driver.rewritesInfoFile ? NameInFolder(driver.sourceFolder, kDriverInfoFileName) : CString();
    std::vector<CString> skipped;
    if (!infoName.IsEmpty())
        skipped.push_back(infoName);
    bool updated = UpdateTree(workers_, driver.sourceFolder, driver.destinationFolder, skipped, counts);
    PrintAtLevel("", 4);
    if (!updated)
        return kStepFileSystemFailed;
    outcome_.copiedFolders.push_back(driver.sourceFolder);
    if (infoName.IsEmpty())
        return kStepDone;
    CString target = JoinPath(driver.destinationFolder, infoName);
    bool replaced = false;
    int result = RewriteCopy(JoinPath(driver.sourceFolder, infoName), target,
                             {&CopySteps::NarrowDriverFile, &CopySteps::NarrowedDriverText}, replaced);
    if (replaced) {
        ++counts.copied;
        outcome_.narrowedFolders.push_back(driver.destinationFolder);
    } else if (result == kStepDone) {
        ++counts.unchanged;
    }
    PrintAtLevel("", 3);
    return result;
}

int CopySteps::UpdateBaseFiles(const CString& source, const CString& destination, UpdateCounts& counts) {
    CString driverSetName =
        settings_.machineTypes.IsEmpty() ? CString() : NameInFolder(source, kDriverSetFileName);
    std::vector<CString> skipped;
    if (!driverSetName.IsEmpty())
        skipped.push_back(driverSetName);
    if (!UpdateFiles(workers_, source, destination, skipped, counts))
        return kStepFileSystemFailed;
    outcome_.baseFilesCopied = true;
    if (driverSetName.IsEmpty())
        return kStepDone;
    bool replaced = false;
    int result =
        RewriteCopy(JoinPath(source, driverSetName), JoinPath(destination, driverSetName),
                    {&CopySteps::RewriteDriverSetFile, &CopySteps::RewrittenDriverSetText}, replaced);
    outcome_.driverSetRewritten = replaced;
    if (replaced)
        ++counts.copied;
    else if (result == kStepDone)
        ++counts.unchanged;
    return result;
}

int CopySteps::RewriteCopy(const CString& source, const CString& target, Rewrite rewrite, bool& replaced) {
    // Writing the rewrite puts it on the disk, which costs far more than reading both files.
    std::string original;
    std::string current;
    replaced = false;
    if (ReadWholeFile(source, original) && ReadWholeFile(target, current) &&
        (this->*rewrite.inMemory)(original) == std::optional<std::string>(current))
        return kStepDone;
    PathParts parts = SplitPath(target);
    CString temporary = JoinPath(parts.root + parts.directory, kRewriteName);
    FileFailure failure;
    if (!CopyOneFile(source, temporary, &failure)) {
        // The temporary file stands for target, as a copy's own temporary file does.
        if (failure.file == temporary)
            failure.file = target;
        PrintAtLevel("Unable to copy file " + source + " to " + target, 1);
        PrintFailureReason(failure);
        return kStepFileSystemFailed;
    }
    int result = (this->*rewrite.inFile)(temporary, target);
    if (result != kStepDone) {
        CurrentFileSystem().DeleteFile(temporary.Str());
        return result;
    }
    if (!ReplaceWhenChanged(temporary, target, replaced, failure)) {
        ReportUnwritableFile(failure.file, failure.reason);
        return kStepFileSystemFailed;
    }
    if (replaced)
        PrintAtLevel("Modifying " + target, 3);
    return kStepDone;
}

// As the copy's information file is narrowed in a full run; the file is there, its lists narrow.
int CopySteps::NarrowDriverFile(const CString& path, const CString& shownAs) {
    DriverInfoFile driver(path, "", "", 0, DriverFileKind::DriverInformation);
    if (driver.ReadFailed()) {
        ReportUnreadableFile(shownAs, driver.ReadFailureReason());
        return kStepFileSystemFailed;
    }
    CString supported;
    CString unsupported;
    NarrowSupportLists(settings_.machineTypes, driver.Info(), supported, unsupported);
    driver.SetSupportedSystems(supported);
    driver.SetUnsupportedSystems(unsupported);
    if (driver.Write())
        return kStepDone;
    ReportUnwritableFile(shownAs, driver.WriteFailureReason());
    return kStepFileSystemFailed;
}

std::optional<std::string> CopySteps::NarrowedDriverText(const std::string& original) const {
    DriverInfoFile driver(TextContents{original}, DriverFileKind::DriverInformation);
    if (!driver.IsOpened() || driver.ReadFailed())
        return std::nullopt;
    CString supported;
    CString unsupported;
    NarrowSupportLists(settings_.machineTypes, driver.Info(), supported, unsupported);
    driver.SetSupportedSystems(supported);
    driver.SetUnsupportedSystems(unsupported);
    return driver.WrittenText(original);
}

std::optional<std::string> CopySteps::RewrittenDriverSetText(const std::string& original) const {
    IniFile driverSet(TextContents{original}, true);
    if (driverSet.IsUnreadable() ||
        !driverSet.SetValue(kDriverSetSection, kSupportedSystemsKey, settings_.machineTypes, false, false))
        return std::nullopt;
    return driverSet.IsDirty() ? SavedText(driverSet, original) : original;
}
