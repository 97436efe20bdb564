// drvstage against `cp -r` on the same generated driver set (about 1 GiB in 20,000 files across 500
// driver folders; 32 MiB in quick mode), in rounds whose order rotates; and drvstage's peak memory for
// small and large files.
//
// The generated sets live in the scratch folder and are kept for the next run; the outputs of the rounds
// (about 15 GiB) are removed at the end.
#include "CopyContender.h"
#include "DriverSetGenerator.h"
#include "Workspace.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

CopyCommand StageCommand(const fs::path& source) {
    return [=](const fs::path& destination) {
        return std::vector<std::string>{ProgramBeside("drvstage"), source.string(), destination.string(),
                                        "/M:8840"};
    };
}

// drvstage copies every file's times too, so cp -r keeping the times is the like-for-like baseline.
void DrvstageVersusCopy(benchmark::State& state) {
    const fs::path source = CopyBenchmarkSource();
    if (source.empty()) {
        state.SkipWithError("could not generate the driver set");
        return;
    }
    const TreeSize input = MeasureTree(source);
    const fs::path outputs = ScratchFolder() / "drvstage-outputs";
    RemoveTree(outputs);
    auto into = [&](const std::string& name) {
        return [=](int round) { return outputs / (name + std::to_string(round)); };
    };
    const std::vector<Contender> contenders = {
        CopyContender("drvstage", StageCommand(source), into("drvstage"), input.files),
        CopyContender("cp", CpCommand(source, {}), into("cp"), input.files),
        CopyContender("cp_times", CpCommand(source, {"--preserve=timestamps"}), into("cp_times"),
                      input.files)};
    for (auto _ : state) {
        ReportRounds(state, contenders, RunRounds(contenders, kMinimumRounds));
        state.counters["files"] = double(input.files);
        state.counters["tree_MiB"] = double(input.bytes) / (1 << 20);
    }
    RemoveTree(outputs);
}

// Peak memory must not follow the size of the files: one driver whose payload is a single file.
void DrvstagePeakMemoryByFileSize(benchmark::State& state) {
    const uint64_t fileBytes = uint64_t(state.range(0)) << 20;
    const fs::path scratch = ScratchFolder();
    const fs::path source = scratch / ("driverset-one-file-" + std::to_string(state.range(0)) + "m");
    if (!EnsureDriverSet(source, DriverSetShape{1, 2, fileBytes, false})) {
        state.SkipWithError("could not generate the driver set");
        return;
    }
    const fs::path staged = scratch / "drvstage-one-file";
    for (auto _ : state) {
        RemoveTree(staged);
        const MeasuredRun stage = RunMeasured(StageCommand(source)(staged));
        if (stage.status != 0) {
            state.SkipWithError("drvstage failed");
            break;
        }
        state.SetIterationTime(stage.seconds);
        state.counters["file_MiB"] = double(MeasureTree(source).bytes) / (1 << 20);
        state.counters["drvstage_cpu_s"] = stage.cpuSeconds;
        state.counters["drvstage_peak_KiB"] = double(stage.peakKiB);
    }
    RemoveTree(staged);
}

// The largest file is left out of quick mode.
void FileSizes(benchmark::internal::Benchmark* benchmark) {
    for (int mebibytes : {1, 64, 512}) {
        if (mebibytes <= 64 || !QuickMode())
            benchmark->Arg(mebibytes);
    }
}

} // namespace

BENCHMARK(DrvstageVersusCopy)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(DrvstagePeakMemoryByFileSize)
    ->Apply(FileSizes)
    ->Iterations(1)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);
