// arrayplan as a program on the largest legal input (26 controllers of 128 drives; 100 policies of 50
// keyword lines; eight planned arrays on every controller) and on half of it, against the time to read
// its input files (cat of the same files), run alternately; medians of the rounds, and peak memory.
//
// The inputs are generated in $KIT_BENCH_SCRATCH (default: the system's temporary folder).
#include "ArrayplanInput.h"
#include "MeasuredRun.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

constexpr int kRounds = 9;

fs::path ScratchFolder() {
    const char* chosen = std::getenv("KIT_BENCH_SCRATCH");
    return chosen && *chosen ? fs::path(chosen) : fs::temp_directory_path() / "kit-bench";
}

std::string ArrayplanProgram() {
    return (fs::read_symlink("/proc/self/exe").parent_path() / "arrayplan").string();
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// The generated policies in an output policy file: one per configured controller.
int CountPolicies(const fs::path& path) {
    std::ifstream in(path);
    int count = 0;
    for (std::string line; std::getline(in, line);)
        count += line.rfind("[Policy.", 0) == 0 ? 1 : 0;
    return count;
}

void ArrayplanVersusReading(benchmark::State& state) {
    const ArrayplanInputShape shape{int(state.range(0)), int(state.range(1))};
    const fs::path folder = ScratchFolder() / ("arrayplan-" + std::to_string(shape.controllers) + "x" +
                                               std::to_string(shape.policies));
    ArrayplanInput input;
    if (!WriteArrayplanInput(folder, shape, input)) {
        state.SkipWithError("could not write the generated input");
        return;
    }
    const fs::path outInventory = folder / "out-inventory.ini";
    const fs::path outPolicies = folder / "out-policies.ini";
    const std::vector<std::string> run = {ArrayplanProgram(),
                                          "/ini:" + input.inventory.string(),
                                          "/inp:" + input.policies.string(),
                                          "/outi:" + outInventory.string(),
                                          "/outp:" + outPolicies.string(),
                                          "/raid:" + input.raidDirectory.string()};
    std::vector<std::string> read = {"cat"};
    for (const fs::path& file : input.filesRead)
        read.push_back(file.string());

    for (auto _ : state) {
        std::vector<double> planned, readings, plannedCpu, readingCpu;
        long peak = 0, readPeak = 0;
        for (int round = 0; round < kRounds; ++round) {
            // A second run would append to the output policy file; each round starts without outputs.
            fs::remove(outInventory);
            fs::remove(outPolicies);
            MeasuredRun plan, reading;
            if (round % 2 == 0) {
                plan = RunMeasured(run);
                reading = RunMeasured(read);
            } else {
                reading = RunMeasured(read);
                plan = RunMeasured(run);
            }
            if (plan.status != 0 || reading.status != 0) {
                state.SkipWithError(("arrayplan exit status " + std::to_string(plan.status)).c_str());
                return;
            }
            planned.push_back(plan.seconds);
            readings.push_back(reading.seconds);
            plannedCpu.push_back(plan.cpuSeconds);
            readingCpu.push_back(reading.cpuSeconds);
            peak = std::max(peak, plan.peakKiB);
            readPeak = std::max(readPeak, reading.peakKiB);
        }
        if (CountPolicies(outPolicies) != shape.controllers) {
            state.SkipWithError("the output policy file does not hold one policy per controller");
            return;
        }
        state.SetIterationTime(Median(planned));
        state.counters["arrayplan_s"] = Median(planned);
        state.counters["read_s"] = Median(readings);
        state.counters["arrayplan_cpu_s"] = Median(plannedCpu);
        state.counters["read_cpu_s"] = Median(readingCpu);
        state.counters["arrayplan_peak_KiB"] = double(peak);
        state.counters["read_peak_KiB"] = double(readPeak);
        state.counters["input_KiB"] = [&] {
            double bytes = 0;
            for (const fs::path& file : input.filesRead)
                bytes += double(fs::file_size(file));
            return bytes / 1024;
        }();
    }
}

} // namespace

// Half the input and the whole: the time must grow about linearly (doubling the input, at most ~2.2x).
BENCHMARK(ArrayplanVersusReading)
    ->Args({13, 50})
    ->Args({26, 100})
    ->ArgNames({"controllers", "policies"})
    ->Iterations(1)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);
