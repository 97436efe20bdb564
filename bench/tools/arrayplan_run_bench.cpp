// arrayplan as a program on the largest legal input (26 controllers of 128 drives; 100 policies of 50
// keyword lines; eight planned arrays on every controller) and on half of it, against the time to read
// its input files (cat of the same files), run alternately; medians of the rounds, and peak memory.
//
// The inputs are generated in the scratch folder.
#include "ArrayplanInput.h"
#include "Rounds.h"
#include "Workspace.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

constexpr int kRounds = 9;

// The generated policies in an output policy file: one per configured controller.
int CountPolicies(const fs::path& path) {
    std::ifstream in(path);
    int count = 0;
    for (std::string line; std::getline(in, line);)
        count += line.rfind("[Policy.", 0) == 0 ? 1 : 0;
    return count;
}

double InputKiB(const ArrayplanInput& input) {
    double bytes = 0;
    for (const fs::path& file : input.filesRead)
        bytes += double(fs::file_size(file));
    return bytes / 1024;
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
    const std::vector<std::string> plan = {
        ProgramBeside("arrayplan"),        "/ini:" + input.inventory.string(),
        "/inp:" + input.policies.string(), "/outi:" + outInventory.string(),
        "/outp:" + outPolicies.string(),   "/raid:" + input.raidDirectory.string()};
    std::vector<std::string> read = {"cat"};
    for (const fs::path& file : input.filesRead)
        read.push_back(file.string());
    const std::vector<Contender> contenders = {
        {"arrayplan",
         [&](int) {
             // A second run would append to the output policy file; each round starts without outputs.
             fs::remove(outInventory);
             fs::remove(outPolicies);
             return RunMeasured(plan);
         },
         [&](int) { return CountPolicies(outPolicies) == shape.controllers; }},
        {"read", [&](int) { return RunMeasured(read); }, nullptr}};
    for (auto _ : state) {
        ReportRounds(state, contenders, RunRounds(contenders, kRounds));
        state.counters["input_KiB"] = InputKiB(input);
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
