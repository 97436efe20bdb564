// drvstage against `cp -r` on the same generated driver set (about 1 GiB in 20,000 files across 500
// driver folders), run alternately; and drvstage's peak memory for small and large files.
//
// The generated sets live in $KIT_BENCH_SCRATCH (default: the system's temporary folder) and are kept
// for the next run; the outputs of the five rounds (about 10 GiB) are removed at the end.
#include "DriverSetGenerator.h"
#include "ProcessRun.h"

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

constexpr int kRounds = 5;

fs::path ScratchFolder() {
    const char* chosen = std::getenv("KIT_BENCH_SCRATCH");
    fs::path folder = chosen && *chosen ? fs::path(chosen) : fs::temp_directory_path() / "kit-bench-drvstage";
    fs::create_directories(folder);
    return folder;
}

// The drvstage built beside this benchmark.
std::string DrvstageProgram() {
    return (fs::read_symlink("/proc/self/exe").parent_path() / "drvstage").string();
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

void Fresh(const fs::path& folder) {
    std::error_code ignored;
    fs::remove_all(folder, ignored);
}

// Each timed run starts with the disk settled: earlier deletions and writes flushed, not left to slow it.
ProcessRun Stage(const fs::path& source, const fs::path& destination) {
    sync();
    return RunMeasured({DrvstageProgram(), source.string(), destination.string(), "/M:8840"});
}

ProcessRun CopyTree(const fs::path& source, const fs::path& destination) {
    sync();
    return RunMeasured({"cp", "-r", source.string(), destination.string()});
}

void DrvstageVersusCopy(benchmark::State& state) {
    const fs::path scratch = ScratchFolder();
    const fs::path source = scratch / "driverset-1g";
    if (!EnsureDriverSet(source, DriverSetShape{})) {
        state.SkipWithError("could not generate the driver set");
        return;
    }
    const TreeSize input = MeasureTree(source);
    // Every round writes into new folders, deleted only at the end: a tree deleted just before a timing
    // makes the file system skip its recently freed inodes, which slows whichever program comes next.
    const fs::path outputs = scratch / "outputs";
    Fresh(outputs);
    for (auto _ : state) {
        std::vector<double> staged, copied;
        long stagePeak = 0, copyPeak = 0;
        bool exactPeaks = true;
        for (int round = 0; round < kRounds; ++round) {
            const fs::path stagedFolder = outputs / ("staged" + std::to_string(round));
            const fs::path copiedFolder = outputs / ("copied" + std::to_string(round));
            // Which program goes first alternates.
            ProcessRun stage, copy;
            if (round % 2 == 0) {
                stage = Stage(source, stagedFolder);
                copy = CopyTree(source, copiedFolder);
            } else {
                copy = CopyTree(source, copiedFolder);
                stage = Stage(source, stagedFolder);
            }
            if (stage.status != 0 || copy.status != 0 || MeasureTree(stagedFolder).files != input.files) {
                state.SkipWithError("drvstage or cp failed, or drvstage did not stage every file");
                break;
            }
            staged.push_back(stage.seconds);
            copied.push_back(copy.seconds);
            stagePeak = std::max(stagePeak, stage.peakResidentKiB);
            copyPeak = std::max(copyPeak, copy.peakResidentKiB);
            exactPeaks = exactPeaks && stage.peakIsExact && copy.peakIsExact;
        }
        if (staged.size() < kRounds)
            break;
        state.SetIterationTime(Median(staged));
        state.counters["drvstage_s"] = Median(staged);
        state.counters["cp_s"] = Median(copied);
        // Throughput of drvstage relative to cp -r; the target is at least 0.9.
        state.counters["ratio"] = Median(copied) / Median(staged);
        state.counters["drvstage_MiB_per_s"] = double(input.bytes) / (1 << 20) / Median(staged);
        state.counters["drvstage_peak_KiB"] = double(stagePeak);
        state.counters["cp_peak_KiB"] = double(copyPeak);
        state.counters["peak_exact"] = exactPeaks ? 1 : 0;
        state.counters["files"] = double(input.files);
    }
    Fresh(outputs);
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
    for (auto _ : state) {
        Fresh(scratch / "staged-one");
        ProcessRun stage = Stage(source, scratch / "staged-one");
        if (stage.status != 0) {
            state.SkipWithError("drvstage failed");
            return;
        }
        state.SetIterationTime(stage.seconds);
        state.counters["file_MiB"] = double(MeasureTree(source).bytes) / (1 << 20);
        state.counters["drvstage_peak_KiB"] = double(stage.peakResidentKiB);
        state.counters["peak_exact"] = stage.peakIsExact ? 1 : 0;
    }
    Fresh(scratch / "staged-one");
}

} // namespace

BENCHMARK(DrvstageVersusCopy)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(DrvstagePeakMemoryByFileSize)
    ->Arg(1)
    ->Arg(64)
    ->Arg(512)
    ->Iterations(1)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);
