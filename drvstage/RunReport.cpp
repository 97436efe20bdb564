#include "drvstage/RunReport.h"

#include "drvstage/FileLookup.h"
#include "drvstage/ItemList.h"
#include "drvstage/PlanPreview.h"
#include "foundation/FileReplacement.h"
#include "foundation/platform/FileSystem.h"

#include <nlohmann/json.hpp>

#include <algorithm>

namespace {

using Json = nlohmann::ordered_json;

struct TreeSize {
    uint64_t files = 0;
    uint64_t bytes = 0;
};

// The files below folder and their bytes; folders reached through links are not counted twice round.
void AddTreeSize(const CString& folder, TreeSize& size, int depth = 0) {
    std::vector<DirectoryEntry> entries;
    if (depth > 64 || !CurrentFileSystem().FindEntries(JoinPath(folder, "*").Str(), entries))
        return;
    for (const DirectoryEntry& entry : entries) {
        if (entry.isDirectory) {
            if (!entry.isLink)
                AddTreeSize(JoinPath(folder, CString(entry.name)), size, depth + 1);
            continue;
        }
        uint64_t bytes = 0;
        CurrentFileSystem().FileSize(JoinPath(folder, CString(entry.name)).Str(), bytes);
        ++size.files;
        size.bytes += bytes;
    }
}

Json Text(const CString& text) {
    return Json(std::string(text.Str()));
}

Json Items(const CString& list) {
    Json items = Json::array();
    if (list.IsEmpty())
        return items;
    for (const CString& item : SplitItems(list))
        items.push_back(Text(item));
    return items;
}

Json Settings(const CopySettings& settings) {
    return {{"source", Text(settings.sourcePath)},
            {"destination", Text(settings.destinationPath)},
            {"machineTypes", Items(settings.machineTypes)},
            {"categories", Items(settings.categories)},
            {"installationModes", Items(settings.installationModes)},
            {"ads", settings.ads},
            {"listOnly", settings.listOnly}};
}

bool Contains(const std::vector<CString>& list, const CString& value) {
    return std::find(list.begin(), list.end(), value) != list.end();
}

Json Driver(const PlannedDriver& driver, const CopySettings& settings, const StagingOutcome& outcome,
            bool foldersReached, TreeSize& totals) {
    Json entry = {{"folder", Text(driver.sourceFolder)}, {"selected", driver.decision.selected}};
    if (driver.problem != ReadProblem::None) {
        entry["selected"] = false;
        entry["reason"] = "could not be read: " + std::string(driver.failure.file.Str());
    } else if (!driver.decision.selected) {
        entry["reason"] = Text(SkipReasonText(driver, settings));
    }
    bool wouldCopy = foldersReached && driver.decision.selected && driver.problem == ReadProblem::None;
    bool staged = settings.listOnly ? wouldCopy : Contains(outcome.copiedFolders, driver.sourceFolder);
    TreeSize size;
    if (staged)
        AddTreeSize(driver.sourceFolder, size);
    entry["copied"] = staged;
    entry["files"] = size.files;
    entry["bytes"] = size.bytes;
    totals.files += size.files;
    totals.bytes += size.bytes;
    bool narrowed = settings.listOnly ? staged : Contains(outcome.narrowedFolders, driver.destinationFolder);
    if (driver.rewritesInfoFile && narrowed)
        entry["narrowed"] = {{"file", Text(JoinPath(driver.destinationFolder, kDriverInfoFileName))},
                             {"supportedSystems", Items(driver.narrowedSupported)},
                             {"unsupportedSystems", Items(driver.narrowedUnsupported)}};
    return entry;
}

Json BaseFiles(const CopySettings& settings, const StagingPlan& plan, const StagingOutcome& outcome,
               int status, TreeSize& totals) {
    bool copied = settings.listOnly ? plan.baseFilesListed && status == 0 : outcome.baseFilesCopied;
    Json files = Json::array();
    if (plan.ads || !copied)
        return files;
    for (const CString& name : plan.baseFiles) {
        uint64_t bytes = 0;
        CurrentFileSystem().FileSize(JoinPath(settings.sourcePath, name).Str(), bytes);
        files.push_back({{"file", Text(name)}, {"bytes", bytes}});
        ++totals.files;
        totals.bytes += bytes;
    }
    return files;
}

} // namespace

std::string ReportText(const CopySettings& settings, const StagingPlan& plan, const StagingOutcome& outcome,
                       int status, bool foldersReached) {
    TreeSize totals;
    Json drivers = Json::array();
    size_t selected = 0;
    for (const PlannedDriver& driver : plan.drivers) {
        drivers.push_back(Driver(driver, settings, outcome, foldersReached, totals));
        selected += drivers.back()["copied"].get<bool>() ? 1 : 0;
    }
    Json report = {{"program", "drvstage"},
                   {"version", kDrvstageVersion},
                   {"kind", settings.listOnly ? "plan" : "run"},
                   {"settings", Settings(settings)},
                   {"drivers", drivers}};
    report["baseFiles"] = BaseFiles(settings, plan, outcome, status, totals);
    bool driverSetNarrowed =
        settings.listOnly ? !settings.machineTypes.IsEmpty() && status == 0 : outcome.driverSetRewritten;
    if (driverSetNarrowed)
        report["driverSet"] = {{"file", Text(JoinPath(settings.destinationPath, kDriverSetFileName))},
                               {"supportedSystems", Items(settings.machineTypes)}};
    Json collisions = Json::array();
    for (const AdsCollision& collision : plan.adsCollisions)
        collisions.push_back({{"file", Text(collision.file)},
                              {"earlier", Text(collision.earlier)},
                              {"later", Text(collision.later)}});
    report["adsCollisions"] = collisions;
    report["totals"] = {{"folders", plan.drivers.size()},
                        {"copied", selected},
                        {"files", totals.files},
                        {"bytes", totals.bytes}};
    report["exitStatus"] = status;
    // Paths need not be UTF-8 (a Windows code page): such bytes are replaced rather than refused.
    return report.dump(2, ' ', false, Json::error_handler_t::replace) + "\n";
}

bool WriteReport(const CopySettings& settings, const StagingPlan& plan, const StagingOutcome& outcome,
                 int status, bool foldersReached) {
    std::string text = ReportText(settings, plan, outcome, status, foldersReached);
    FileReplacement report(CurrentFileSystem(), settings.reportPath, {"~report-", false, true, false});
    if (report.Open() && report.Write(text.data(), text.size()) && report.Commit())
        return true;
    ReportUnwritableFile(settings.reportPath, report.FailureReason());
    return false;
}
