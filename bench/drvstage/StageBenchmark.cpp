// drvstage against `cp -r` on the same generated driver set (about 1 GiB in 20,000 files across 500
// driver folders), run alternately; and drvstage's peak memory for small and large files.
//
// The generated sets live in $KIT_BENCH_SCRATCH (default: the system's temporary folder) and are kept
// for the next run; the outputs of the five rounds (about 15 GiB) are removed at the end.
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

// The programs compared: drvstage, which also copies every file's times; cp -r; and, like for like,
// cp -r keeping the times.
enum Contender { kDrvstage, kCp, kCpKeepingTimes, kContenders };
constexpr const char* kContenderNames[kContenders] = {"drvstage", "cp", "cp_times"};

// Each timed run starts with the disk settled: earlier deletions and writes flushed, not left to slow it.
ProcessRun RunContender(Contender contender, const fs::path& source, const fs::path& destination) {
    sync();
    switch (contender) {
    case kDrvstage:
        return RunMeasured({DrvstageProgram(), source.string(), destination.string(), "/M:8840"});
    case kCp:
        return RunMeasured({"cp", "-r", source.string(), destination.string()});
    default:
        return RunMeasured({"cp", "-r", "--preserve=timestamps", source.string(), destination.string()});
    }
}

ProcessRun Stage(const fs::path& source, const fs::path& destination) {
    return RunContender(kDrvstage, source, destination);
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
        std::vector<double> seconds[kContenders];
        long peak[kContenders] = {};
        bool exactPeaks = true;
        bool failed = false;
        for (int round = 0; round < kRounds && !failed; ++round) {
            // The order rotates from round to round.
            for (int turn = 0; turn < kContenders; ++turn) {
                Contender contender = static_cast<Contender>((round + turn) % kContenders);
                fs::path destination =
                    outputs / (std::string(kContenderNames[contender]) + std::to_string(round));
                ProcessRun run = RunContender(contender, source, destination);
                failed = failed || run.status != 0 || MeasureTree(destination).files != input.files;
                seconds[contender].push_back(run.seconds);
                peak[contender] = std::max(peak[contender], run.peakResidentKiB);
                exactPeaks = exactPeaks && run.peakIsExact;
            }
        }
        if (failed) {
            state.SkipWithError("a program failed or did not copy every file");
            break;
        }
        const double staged = Median(seconds[kDrvstage]);
        state.SetIterationTime(staged);
        for (int contender = 0; contender < kContenders; ++contender)
            state.counters[std::string(kContenderNames[contender]) + "_s"] = Median(seconds[contender]);
        // Throughput of drvstage relative to cp -r (the target is at least 0.9), and to cp -r keeping times.
        state.counters["ratio"] = Median(seconds[kCp]) / staged;
        state.counters["ratio_cp_times"] = Median(seconds[kCpKeepingTimes]) / staged;
        state.counters["drvstage_MiB_per_s"] = double(input.bytes) / (1 << 20) / staged;
        state.counters["drvstage_peak_KiB"] = double(peak[kDrvstage]);
        state.counters["cp_peak_KiB"] = double(peak[kCp]);
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
