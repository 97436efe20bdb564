#include "arrayplan/fleet/FleetCheck.h"

#include "arrayplan/fleet/FleetProgress.h"
#include "arrayplan/fleet/FleetReport.h"
#include "arrayplan/fleet/FleetSummary.h"
#include "arrayplan/fleet/InventoryRun.h"
#include "arrayplan/fleet/InventoryWalk.h"
#include "arrayplan/fleet/OrderedWork.h"
#include "arrayplan/model/OutputFile.h"
#include "arrayplan/model/ResultCodes.h"
#include "arrayplan/model/RunSettings.h"
#include "arrayplan/model/SupportFileCache.h"
#include "arrayplan/policy/PolicyReader.h"
#include "foundation/Console.h"
#include "foundation/FileOperations.h"
#include "foundation/SwitchParser.h"
#include "foundation/platform/FileSystem.h"
#include "foundation/platform/Terminal.h"

#include <memory>
#include <thread>

namespace {

constexpr const char* kReportPrefix = "~arrayplan-fleet~";
// Runs done ahead of the next row to write, per worker: enough that a slow inventory seldom stalls the rest.
constexpr size_t kWindowPerJob = 16;
// Rows are handed to the report file in pieces of about this size.
constexpr size_t kReportPiece = 64 * 1024;

int jobCount(const CommandLine& line) {
    if (line.fleetJobs > 0)
        return line.fleetJobs;
    unsigned processors = std::thread::hardware_concurrency();
    return processors > 0 ? static_cast<int>(processors) : 1;
}

int countInventories(FileSystem& fileSystem, const CString& folder) {
    InventoryWalk walk(fileSystem, folder.Str());
    int count = 0;
    for (std::string path, relative; walk.next(path, relative);)
        ++count;
    return count;
}

// The report file, written as its rows come and replacing the old one only when complete.
class ReportFile {
public:
    ReportFile(const RunSettings& settings, const CString& path, ReportFormat format)
        : settings_(settings), file_(path, kReportPrefix), format_(format) {}

    bool open() {
        pending_ = reportHeader(format_);
        return file_.open(settings_) && file_.begin();
    }
    bool add(const InventoryOutcome& outcome) {
        pending_ += reportRows(format_, outcome);
        return pending_.size() < kReportPiece || flush();
    }
    bool commit() { return flush() && file_.commit(); }
    const std::string& failureLine() const { return file_.failureLine(); }

private:
    bool flush() {
        bool written = file_.contents().Write(pending_.data(), pending_.size());
        pending_.clear();
        return written || file_.fail();
    }

    const RunSettings& settings_;
    OutputFile file_;
    ReportFormat format_;
    std::string pending_;
};

// True when folder is ancestor or lies below it, however either is written: one of the folders on folder's
// way up (those that exist) is ancestor itself.
bool liesIn(FileSystem& fileSystem, const CString& folder, const CString& ancestor) {
    std::string target = fileSystem.DirectoryIdentity(ancestor.Str());
    std::string path = fileSystem.FullPath(folder.Str());
    while (!target.empty() && !path.empty()) {
        if (fileSystem.DirectoryIdentity(path) == target)
            return true;
        size_t cut = path.find_last_of("\\/");
        if (cut == std::string::npos || cut == 0)
            break;
        path.resize(cut);
    }
    return false;
}

int failWith(const RunSettings& settings, ResultCode code, const std::string& line) {
    settings.printErrorForm(resultMessage(code));
    settings.printPlain(line.c_str());
    return failureExitStatus(code);
}

} // namespace

bool readFleetCommandLine(int argc, const char* const* argv, CommandLine& line) {
    return argc > 1 && !asksForHelp(argc, argv) &&
           parseCommandLine(argc, argv, line) == SwitchParser::kParsed && !line.fleetDirectory.IsEmpty();
}

namespace {

// A report of no known kind, or an output folder in the fleet folder (whose outputs would be walked into
// and run as inventories): the message and the status; 0 when the values are usable.
int refusedValues(const RunSettings& settings, const CommandLine& line, ReportFormat& format) {
    if (!reportFormatOf(line.fleetReportPath.Str(), format)) {
        settings.printErrorForm(("/report:" + line.fleetReportPath.Str() +
                                 " names no report kind: its name must end in .csv or .jsonl.\n")
                                    .c_str());
        settings.printErrorForm(resultMessage(ResultCode::UnknownParameter));
        printBannerAndUsage(settings.console());
        return codeNumber(ResultCode::UnknownParameter);
    }
    if (line.fleetOutputDirectory.IsEmpty() ||
        !liesIn(settings.fileSystem(), line.fleetOutputDirectory, line.fleetDirectory))
        return 0;
    settings.printErrorForm(("/outdir:" + line.fleetOutputDirectory.Str() + " lies in /fleet:" +
                             line.fleetDirectory.Str() + "; its outputs would be read as inventories.\n")
                                .c_str());
    settings.printErrorForm(resultMessage(ResultCode::OutputInventoryUnopenable));
    return codeNumber(ResultCode::OutputInventoryUnopenable);
}

// The policy file and the support files, read once for every run of the fleet. Their reading prints
// nothing: each run's failure decides what its row says.
class SharedReading {
public:
    SharedReading(FileSystem& fileSystem, const CommandLine& line)
        : settings_(quiet_, fileSystem), policies_(settings_, line.policyPath, false),
          supportFiles_(fileSystem) {
        quiet_.Capture(&dropped_, &dropped_);
    }

    SharedInputs inputs(bool writesOutputs) {
        return {policies_.read() ? &policies_.policyList() : nullptr, &supportFiles_, writesOutputs};
    }

private:
    std::string dropped_;
    Console quiet_;
    RunSettings settings_;
    PolicyReader policies_;
    SupportFileCache supportFiles_;
};

// Runs every inventory of walk, adding its rows to report and counting it in summary as it is handed on
// in path order; false when a row could not be written.
bool runInventories(FileSystem& fileSystem, const FleetInputs& inputs, InventoryWalk& walk,
                    ReportFile& report, FleetSummary& summary, FleetProgress* progress) {
    bool reportWritten = true;
    int jobs = jobCount(inputs.line);
    runInOrder(
        jobs, kWindowPerJob * static_cast<size_t>(jobs),
        [&]() -> std::optional<WorkItem> {
            WorkItem item;
            if (!walk.next(item.path, item.relative))
                return std::nullopt;
            return item;
        },
        [&](const WorkItem& item) { return runInventory(fileSystem, inputs, item); },
        [&](InventoryOutcome& outcome) {
            reportWritten = reportWritten && report.add(outcome);
            summary.count(outcome.status, outcome.message);
            if (progress)
                progress->done(summary.read());
        });
    if (progress)
        progress->finish();
    return reportWritten;
}

} // namespace

int runFleetCheck(Console& console, FileSystem& fileSystem, const CommandLine& line) {
    RunSettings settings(console, fileSystem);
    ReportFormat format;
    if (int status = refusedValues(settings, line, format); status != 0)
        return status;
    InventoryWalk walk(fileSystem, line.fleetDirectory.Str());
    if (!walk.folderListed())
        return failWith(settings, ResultCode::InputInventoryUnopenable,
                        line.fleetDirectory.Str() + ": " + fileSystem.LastFailureReason() + "\n");
    SharedReading reading(fileSystem, line);
    FleetInputs inputs{line, reading.inputs(!line.fleetOutputDirectory.IsEmpty())};
    if (inputs.shared.writesOutputs)
        MakePath(line.fleetOutputDirectory);
    ReportFile report(settings, line.fleetReportPath, format);
    if (!report.open())
        return failWith(settings, ResultCode::Success, report.failureLine());
    std::unique_ptr<FleetProgress> progress;
    if (StandardOutputIsTerminal())
        progress =
            std::make_unique<FleetProgress>(console, countInventories(fileSystem, line.fleetDirectory));
    FleetSummary summary;
    if (!runInventories(fileSystem, inputs, walk, report, summary, progress.get()) || !report.commit())
        return failWith(settings, ResultCode::Success, report.failureLine());
    settings.printPlain(summary.text().c_str());
    return summary.exitStatus();
}
