// stagedesk's console copy (which hashes every file) against `cp -r` and against the engine's own file
// copy of the same tree without and with hashing (sd_bench_treecopy), on the generated tree (the driver
// set of the drvstage benchmark: about 1 GiB in 20,000 files; 32 MiB in quick mode), in rounds whose
// order alternates; medians compared, and the peak memory of each. Then its --verify of the copied
// tree against `sha256sum -c` on the same manifest.
//
// The tree and a small kit to copy it into live in the scratch folder; the tree is kept for the next run,
// the copies are removed at the end.
#include "CopyContender.h"
#include "DriverSetGenerator.h"
#include "MeasuredRun.h"
#include "Workspace.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

void WriteText(const fs::path& path, const std::string& text) {
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary | std::ios::trunc) << text;
}

// A kit whose one operating system item copies the whole source tree.
void WriteKit(const fs::path& kit) {
    WriteText(kit / "stagedesk/xml/sdlocal_en.xml", "<localization/>\n");
    WriteText(
        kit / "stagedesk/xml/stagedesk.xml",
        "<stagedesk><base_toolkit_dir/><dos_toolkit_dir>dostk</dos_toolkit_dir>"
        "<dos_toolkit_version>1.0</dos_toolkit_version><dos_toolkit_installed>No</dos_toolkit_installed>"
        "<operating_systems><default_path>os</default_path><category name=\"Bench\">"
        "<os><name>Bench</name><file>bench.xml</file></os></category></operating_systems></stagedesk>\n");
    WriteText(
        kit / "stagedesk/xml/bench.xml",
        "<item><name>Bench</name><media_name>Bench DVD</media_name><size>1100</size>"
        "<media_quantity>1</media_quantity><cd><media number=\"1\"><media_copy><directory><path>\\</path>"
        "<target>\\</target></directory></media_copy></media></cd></item>\n");
    WriteText(kit / "dostk/version.ini", "Version = 1.0\n");
}

// The console copy of the kit's one item into the folder BENCH<round> of the kit's operating system folder.
CopyCommand ConsoleCopyCommand(const fs::path& kit, const fs::path& source) {
    return [=](const fs::path& destination) {
        return std::vector<std::string>{ProgramBeside("stagedesk"),
                                        "--console",
                                        "--home",
                                        (kit / "stagedesk").string(),
                                        "--task",
                                        "os",
                                        "--item",
                                        "Bench",
                                        "--source",
                                        source.string(),
                                        "--dest",
                                        destination.filename().string()};
    };
}

CopyCommand TreeCopyCommand(const fs::path& source, const char* mode) {
    return [=](const fs::path& destination) {
        return std::vector<std::string>{ProgramBeside("sd_bench_treecopy"), mode, source.string(),
                                        destination.string()};
    };
}

// The ratios that the targets name, as counters: the hashed console copy over the unhashed copy and over
// cp -r (at most 1.1 and 1.0).
void ReportRatios(benchmark::State& state) {
    const double console = state.counters["stagedesk_s"];
    if (state.counters["unhashed_s"] > 0)
        state.counters["ratio_to_unhashed"] = console / state.counters["unhashed_s"];
    if (state.counters["cp_s"] > 0)
        state.counters["ratio_to_cp"] = console / state.counters["cp_s"];
}

void ConsoleCopyVersusCp(benchmark::State& state) {
    const fs::path source = CopyBenchmarkSource();
    if (source.empty()) {
        state.SkipWithError("could not generate the source tree");
        return;
    }
    const TreeSize input = MeasureTree(source);
    const fs::path scratch = ScratchFolder();
    const fs::path kit = scratch / "stagedesk-kit";
    // Every contender writes below the kit's own folder, where earlier runs deleted their copies: on a
    // file system that is slow to create files soon after deletions, each then pays for them alike.
    const fs::path outputs = kit / "os";
    RemoveTree(outputs);
    WriteKit(kit);
    const std::vector<Contender> contenders = {
        CopyContender(
            "stagedesk", ConsoleCopyCommand(kit, source),
            [=](int round) { return outputs / ("BENCH" + std::to_string(round)); }, input.files),
        CopyContender(
            "cp", CpCommand(source, {}), [=](int round) { return outputs / ("cp" + std::to_string(round)); },
            input.files),
        CopyContender(
            "unhashed", TreeCopyCommand(source, "--no-hash"),
            [=](int round) { return outputs / ("unhashed" + std::to_string(round)); }, input.files),
        CopyContender(
            "hashed", TreeCopyCommand(source, "--hash"),
            [=](int round) { return outputs / ("hashed" + std::to_string(round)); }, input.files)};
    for (auto _ : state) {
        ReportRounds(state, contenders, RunRounds(contenders, kMinimumRounds));
        ReportRatios(state);
        state.counters["files"] = double(input.files);
        state.counters["tree_MiB"] = double(input.bytes) / (1 << 20);
    }
    RemoveTree(outputs);
}

Contender CommandContender(const std::string& name, const std::vector<std::string>& argv) {
    return {name, [=](int) { return RunMeasured(argv); }, nullptr};
}

void VerifyVersusSha256sum(benchmark::State& state) {
    const fs::path source = CopyBenchmarkSource();
    if (source.empty()) {
        state.SkipWithError("could not generate the source tree");
        return;
    }
    const fs::path kit = ScratchFolder() / "stagedesk-kit";
    RemoveTree(kit / "os");
    WriteKit(kit);
    const fs::path copied = kit / "os" / "VERIFY";
    if (RunMeasured(ConsoleCopyCommand(kit, source)(copied)).status != 0) {
        state.SkipWithError("the console copy failed");
        return;
    }
    const std::vector<Contender> contenders = {
        CommandContender("stagedesk", {ProgramBeside("stagedesk"), "--console", "--verify", "--home",
                                       (kit / "stagedesk").string(), "--task", "os", "--dest", "VERIFY"}),
        CommandContender(
            "sha256sum",
            {"/bin/sh", "-c", "cd '" + copied.string() + "' && sha256sum -c --quiet ../VERIFY.sha256"})};
    for (auto _ : state) {
        ReportRounds(state, contenders, RunRounds(contenders, kMinimumRounds));
        if (state.counters["sha256sum_s"] > 0)
            state.counters["ratio_to_sha256sum"] =
                state.counters["stagedesk_s"] / state.counters["sha256sum_s"];
    }
    RemoveTree(kit / "os");
}

} // namespace

BENCHMARK(ConsoleCopyVersusCp)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(VerifyVersusSha256sum)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);
