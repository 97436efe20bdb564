// drvstage against `cp -r` on the same generated driver set (about 1 GiB in 20,000 files across 500
// driver folders), run alternately; and drvstage's peak memory for small and large files.
//
// The generated sets live in $KIT_BENCH_SCRATCH (default: the system's temporary folder) and are kept
// for the next run.
#include "DriverSetGenerator.h"
#include "ProcessRun.h"

#include <benchmark/benchmark.h>

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

ProcessRun Stage(const fs::path& source, const fs::path& destination) {
    return RunMeasured({DrvstageProgram(), source.string(), destination.string(), "/M:8840"});
}

void DrvstageVersusCopy(benchmark::State& state) {
    const fs::path scratch = ScratchFolder();
    const fs::path source = scratch / "driverset-1g";
    if (!EnsureDriverSet(source, DriverSetShape{})) {
        state.SkipWithError("could not generate the driver set");
        return;
    }
    const TreeSize input = MeasureTree(source);
    for (auto _ : state) {
        std::vector<double> staged, copied;
        long stagePeak = 0, copyPeak = 0;
        for (int round = 0; round < kRounds; ++round) {
            Fresh(scratch / "staged");
            Fresh(scratch / "copied");
            ProcessRun stage = Stage(source, scratch / "staged");
            ProcessRun copy = RunMeasured({"cp", "-r", source.string(), (scratch / "copied").string()});
            if (stage.status != 0 || copy.status != 0) {
                state.SkipWithError("drvstage or cp failed");
                return;
            }
            staged.push_back(stage.seconds);
            copied.push_back(copy.seconds);
            stagePeak = std::max(stagePeak, stage.peakResidentKiB);
            copyPeak = std::max(copyPeak, copy.peakResidentKiB);
        }
        if (MeasureTree(scratch / "staged").files != input.files) {
            state.SkipWithError("drvstage did not stage every file");
            return;
        }
        state.SetIterationTime(Median(staged));
        state.counters["drvstage_s"] = Median(staged);
        state.counters["cp_s"] = Median(copied);
        // Throughput of drvstage relative to cp -r; the target is at least 0.9.
        state.counters["ratio"] = Median(copied) / Median(staged);
        state.counters["drvstage_MiB_per_s"] = double(input.bytes) / (1 << 20) / Median(staged);
        state.counters["drvstage_peak_KiB"] = double(stagePeak);
        state.counters["cp_peak_KiB"] = double(copyPeak);
        state.counters["files"] = double(input.files);
    }
    Fresh(scratch / "staged");
    Fresh(scratch / "copied");
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
