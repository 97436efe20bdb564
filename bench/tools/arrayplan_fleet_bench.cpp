// arrayplan's fleet check against a shell loop that runs arrayplan once per inventory, on the same first
// 1,000 inventories of a generated fleet of 10,000, in one run; and the fleet check on the first 5,000 and
// on all 10,000 for its growth in time (at most 2.2x for twice the inventories) and memory (within 1.2x of
// the run on 1,000). The loop's runs write each inventory's output inventory and output policy file, as
// the fleet check does with "/outdir:" (measured too); without it, the fleet check writes its report only.
//
// The fleet is generated in the scratch folder (kept there for later runs).
#include "FleetInput.h"
#include "Rounds.h"
#include "Workspace.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

constexpr int kRounds = 5;

size_t CountLines(const fs::path& path) {
    std::ifstream in(path);
    size_t lines = 0;
    for (std::string line; std::getline(in, line);)
        ++lines;
    return lines;
}

size_t CountFiles(const fs::path& folder) {
    std::error_code error;
    size_t files = 0;
    for (fs::recursive_directory_iterator it(folder, error), end; !error && it != end; it.increment(error))
        files += it->is_regular_file() ? 1 : 0;
    return files;
}

// A folder under outputs for every inventory of fleet, as the fleet check makes them.
void MakeOutputFolders(const fs::path& fleet, const fs::path& outputs) {
    for (const fs::directory_entry& entry : fs::directory_iterator(fleet))
        fs::create_directories(outputs / entry.path().stem());
}

// The fleet check of folder into out; its status is that of the first failing inventory, which a round
// must not take for a failed run: the shell's status is 0, the report shows whether it did its work.
std::vector<std::string> FleetCommand(const FleetInput& input, const fs::path& folder, const fs::path& out,
                                      bool outputs) {
    std::vector<std::string> command = {"sh",
                                        "-c",
                                        "\"$@\" >/dev/null; exit 0",
                                        "sh",
                                        ProgramBeside("arrayplan"),
                                        "/fleet:" + folder.string(),
                                        "/inp:" + input.policies.string(),
                                        "/raid:" + input.raidDirectory.string(),
                                        "/report:" + (out / "report.csv").string()};
    if (outputs)
        command.push_back("/outdir:" + (out / "outputs").string());
    return command;
}

// One arrayplan per inventory of folder, each writing its outputs where the fleet check writes them, in a
// folder named after the inventory under out (made beforehand: a shell would start mkdir for each).
std::vector<std::string> LoopCommand(const FleetInput& input, const fs::path& folder, const fs::path& out) {
    const std::string script =
        "for f in \"$1\"/*.ini; do n=$(basename \"$f\" .ini); \"$2\" \"/ini:$f\" \"/inp:$3\" "
        "\"/outi:$5/$n.inventory.ini\" \"/outp:$5/$n.policies.ini\" \"/raid:$4\" "
        ">/dev/null; done; exit 0";
    return {"sh",
            "-c",
            script,
            "sh",
            folder.string(),
            ProgramBeside("arrayplan"),
            fs::absolute(input.policies).string(),
            fs::absolute(input.raidDirectory).string(),
            fs::absolute(out / "outputs").string()};
}

void FleetVersusLoop(benchmark::State& state) {
    const int inventories = QuickMode() ? 2000 : 10000;
    const fs::path folder = ScratchFolder() / ("arrayplan-fleet-" + std::to_string(inventories));
    FleetInput input;
    if (!WriteFleetInput(folder, inventories, input)) {
        state.SkipWithError("could not write the generated fleet");
        return;
    }
    struct Measured {
        const char* name;
        fs::path fleet;
        size_t inventories;
        bool loop;
        bool outputs;
    };
    // The fleet check writes its report only, as it does without "/outdir:"; a single run cannot complete
    // without writing its two outputs, and the fleet check with "/outdir:" writes the same.
    const Measured measured[] = {
        {"fleet1000", input.firstThousand, 1000, false, false},
        {"loop1000", input.firstThousand, 1000, true, true},
        {"outdir1000", input.firstThousand, 1000, false, true},
        {"fleet_half", input.firstHalf, size_t(inventories / 2), false, false},
        {"fleet_all", input.root, size_t(inventories), false, false},
    };
    std::vector<Contender> contenders;
    for (const Measured& m : measured) {
        const fs::path out = folder / (std::string("out-") + m.name);
        contenders.push_back({m.name,
                              [&input, m, out](int) {
                                  // Each round starts without outputs: an output policy file would grow from
                                  // round to round.
                                  RemoveTree(out);
                                  fs::create_directories(out / "outputs");
                                  if (m.loop)
                                      MakeOutputFolders(m.fleet, out / "outputs");
                                  return RunMeasured(m.loop ? LoopCommand(input, m.fleet, out)
                                                            : FleetCommand(input, m.fleet, out, m.outputs));
                              },
                              [m, out](int) {
                                  // The loop wrote an output inventory for each inventory that passed; the
                                  // fleet check a row for each inventory at least (and the same outputs).
                                  return m.loop ? CountFiles(out / "outputs") > 0
                                                : CountLines(out / "report.csv") > m.inventories;
                              }});
    }
    for (auto _ : state) {
        RoundsResult result = RunRounds(contenders, kRounds);
        ReportRounds(state, contenders, result);
        if (!result.failure.empty())
            return;
        const std::vector<ContenderFigures>& f = result.figures;
        state.counters["throughput_x"] = f[1].seconds / f[0].seconds;
        state.counters["throughput_outdir_x"] = f[1].seconds / f[2].seconds;
        state.counters["time_ratio_all_half"] = f[4].seconds / f[3].seconds;
        state.counters["peak_ratio_all_1000"] = double(f[4].peakKiB) / double(f[0].peakKiB);
        state.counters["loop_outputs"] = double(CountFiles(folder / "out-loop1000" / "outputs"));
        state.counters["fleet_outputs"] = double(CountFiles(folder / "out-outdir1000" / "outputs"));
    }
}

} // namespace

BENCHMARK(FleetVersusLoop)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);
