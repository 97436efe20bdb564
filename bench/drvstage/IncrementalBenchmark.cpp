// drvstage's in-place update (/INC) of a staging of the generated driver set (about 1 GiB in 20,000 files;
// 32 MiB in quick mode): with nothing changed, and after 1 % of the files changed, each against the listing
// of both trees (the floor of a run that must look at every file), a fresh run and `cp -r` in the same
// rotating rounds; and a fresh run of a few large files against `cp -r`.
#include "CopyContender.h"
#include "DriverSetGenerator.h"
#include "Workspace.h"

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

std::vector<std::string> StageArguments(const fs::path& source, const fs::path& destination,
                                        std::vector<std::string> switches) {
    std::vector<std::string> argv = {ProgramBeside("drvstage"), source.string(), destination.string(),
                                     "/M:8840"};
    argv.insert(argv.end(), switches.begin(), switches.end());
    return argv;
}

// A contender that works on the same folders every round; change, when given, runs before the round's
// (timed) run.
Contender FixedContender(const std::string& name, std::vector<std::string> argv,
                         std::function<void(int round)> change = nullptr) {
    return {name,
            [=](int round) {
                if (change)
                    change(round);
                sync();
                return RunMeasured(argv);
            },
            nullptr};
}

// Every name, size and modification time of both trees: what an update must learn before it copies.
Contender ListingContender(const fs::path& source, const fs::path& staged) {
    return FixedContender("listing", {"find", source.string(), staged.string(), "-printf", "%p %s %T@\n"});
}

// The payload files of the set (not the driver and driver set files, which the run reads), in order.
std::vector<fs::path> PayloadFiles(const fs::path& folder) {
    std::vector<fs::path> files;
    for (const auto& entry : fs::recursive_directory_iterator(folder)) {
        std::string name = entry.path().filename().string();
        if (entry.is_regular_file() && name.rfind("file", 0) == 0)
            files.push_back(entry.path());
    }
    std::sort(files.begin(), files.end());
    return files;
}

// Changes the first byte of every hundredth file, a different hundredth each round; the sizes stay.
void ChangeOnePercent(const std::vector<fs::path>& files, int round) {
    for (size_t i = size_t(round) % 100; i < files.size(); i += 100) {
        std::fstream file(files[i], std::ios::in | std::ios::out | std::ios::binary);
        char first = 0;
        file.get(first);
        file.seekp(0);
        file.put(static_cast<char>(first + 1));
    }
}

// The fresh run and cp -r of source, into new folders of outputs every round.
std::vector<Contender> FreshContenders(const fs::path& source, const fs::path& outputs, uint64_t files) {
    auto into = [&](const std::string& name) {
        return [=](int round) { return outputs / (name + std::to_string(round)); };
    };
    CopyCommand stage = [=](const fs::path& destination) { return StageArguments(source, destination, {}); };
    return {CopyContender("fresh", stage, into("fresh"), files),
            CopyContender("cp", CpCommand(source, {}), into("cp"), files)};
}

bool Stage(const fs::path& source, const fs::path& staged) {
    RemoveTree(staged);
    return RunMeasured(StageArguments(source, staged, {})).status == 0;
}

void ReportUpdate(benchmark::State& state, std::vector<Contender> contenders, const TreeSize& input) {
    for (auto _ : state) {
        ReportRounds(state, contenders, RunRounds(contenders, kMinimumRounds));
        state.counters["files"] = double(input.files);
        state.counters["tree_MiB"] = double(input.bytes) / (1 << 20);
    }
}

// The update's contenders against a fresh run and cp -r, whose outputs are removed after the rounds, and
// the staging that the update worked on with them.
void ReportUpdateAgainstFresh(benchmark::State& state, std::vector<Contender> contenders,
                              const fs::path& source, const fs::path& staged, const fs::path& outputs,
                              const TreeSize& input) {
    for (Contender& fresh : FreshContenders(source, outputs, input.files))
        contenders.push_back(fresh);
    RemoveTree(outputs);
    ReportUpdate(state, contenders, input);
    RemoveTree(outputs);
    RemoveTree(staged);
}

void DrvstageUpdateUnchanged(benchmark::State& state) {
    const fs::path source = CopyBenchmarkSource();
    const fs::path staged = ScratchFolder() / "drvstage-inc-staged";
    const fs::path outputs = ScratchFolder() / "drvstage-inc-outputs";
    if (source.empty() || !Stage(source, staged)) {
        state.SkipWithError("could not generate or stage the driver set");
        return;
    }
    const TreeSize input = MeasureTree(source);
    ReportUpdateAgainstFresh(
        state,
        {FixedContender("inc", StageArguments(source, staged, {"/INC"})), ListingContender(source, staged)},
        source, staged, outputs, input);
}

// The set is copied first: its files change from round to round.
void DrvstageUpdateOnePercentChanged(benchmark::State& state) {
    const fs::path generated = CopyBenchmarkSource();
    const fs::path source = ScratchFolder() / "driverset-changing";
    const fs::path staged = ScratchFolder() / "drvstage-inc1-staged";
    const fs::path outputs = ScratchFolder() / "drvstage-inc1-outputs";
    RemoveTree(source);
    if (generated.empty() || RunMeasured({"cp", "-a", generated.string(), source.string()}).status != 0 ||
        !Stage(source, staged)) {
        state.SkipWithError("could not copy or stage the driver set");
        return;
    }
    const TreeSize input = MeasureTree(source);
    const std::vector<fs::path> payloads = PayloadFiles(source);
    state.counters["changed_files"] = double((payloads.size() + 99) / 100);
    ReportUpdateAgainstFresh(state,
                             {FixedContender("inc1", StageArguments(source, staged, {"/INC"}),
                                             [payloads](int round) { ChangeOnePercent(payloads, round); }),
                              ListingContender(source, staged)},
                             source, staged, outputs, input);
    RemoveTree(source);
}

// Four drivers of one large file each (256 MiB; 16 MiB in quick mode).
void DrvstageVersusCopyLargeFiles(benchmark::State& state) {
    const fs::path source = ScratchFolder() / (QuickMode() ? "driverset-large-quick" : "driverset-large");
    const uint64_t total = QuickMode() ? uint64_t(64) << 20 : uint64_t(1) << 30;
    if (!EnsureDriverSet(source, DriverSetShape{4, 2, total, false})) {
        state.SkipWithError("could not generate the driver set");
        return;
    }
    const TreeSize input = MeasureTree(source);
    const fs::path outputs = ScratchFolder() / "drvstage-large-outputs";
    auto into = [&](const std::string& name) {
        return [=](int round) { return outputs / (name + std::to_string(round)); };
    };
    CopyCommand stage = [=](const fs::path& destination) { return StageArguments(source, destination, {}); };
    const std::vector<Contender> contenders = {
        CopyContender("drvstage", stage, into("drvstage"), input.files),
        CopyContender("cp", CpCommand(source, {}), into("cp"), input.files)};
    RemoveTree(outputs);
    ReportUpdate(state, contenders, input);
    RemoveTree(outputs);
}

} // namespace

BENCHMARK(DrvstageUpdateUnchanged)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(DrvstageUpdateOnePercentChanged)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(DrvstageVersusCopyLargeFiles)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);
