// stagedesk's console copy against `cp -r` on the same generated tree (1 GiB in 20,000 files across
// 200 folders), run alternately, five rounds, medians compared.
//
// The tree and a small kit to copy it into live in $KIT_BENCH_SCRATCH (default: the system's
// temporary folder); the tree is kept for the next run.
#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

extern char** environ;

namespace fs = std::filesystem;

namespace {

constexpr int kRounds = 5;
constexpr int kFolders = 200;
constexpr int kFilesPerFolder = 100;
constexpr uint64_t kTotalBytes = uint64_t(1) << 30;

fs::path ScratchFolder() {
    const char* chosen = std::getenv("KIT_BENCH_SCRATCH");
    fs::path folder =
        chosen && *chosen ? fs::path(chosen) : fs::temp_directory_path() / "kit-bench-stagedesk";
    fs::create_directories(folder);
    return folder;
}

void WriteText(const fs::path& path, const std::string& text) {
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary | std::ios::trunc) << text;
}

// Sizes spread from a few KiB to about twice the mean, contents that do not compress; the total is 1 GiB.
bool EnsureTree(const fs::path& root) {
    const fs::path done = root / ".complete";
    if (fs::exists(done))
        return true;
    std::error_code ignored;
    fs::remove_all(root, ignored);
    const int files = kFolders * kFilesPerFolder;
    const uint64_t mean = kTotalBytes / uint64_t(files);
    std::vector<char> block(2 * mean + 4096);
    uint64_t state = 0x9E3779B97F4A7C15ULL;
    for (char& byte : block) {
        state ^= state << 13;
        state ^= state >> 7;
        state ^= state << 17;
        byte = char(state);
    }
    uint64_t written = 0;
    for (int i = 0; i < files; ++i) {
        const uint64_t left = kTotalBytes - written;
        const uint64_t size =
            i + 1 == files ? left : std::min(left, mean / 8 + (uint64_t(i) * 7919 % (mean * 15 / 8)));
        const fs::path path =
            root / ("dir" + std::to_string(i / kFilesPerFolder)) / ("file" + std::to_string(i) + ".bin");
        fs::create_directories(path.parent_path());
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out.write(block.data() + i % 4096, std::streamsize(size));
        if (!out)
            return false;
        written += size;
    }
    WriteText(done, "");
    return true;
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

// Runs a program with its output discarded; the wall time in seconds, or a negative value on failure.
double TimedRun(const std::vector<std::string>& args) {
    std::vector<char*> argv;
    for (const std::string& arg : args)
        argv.push_back(const_cast<char*>(arg.c_str()));
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    const auto start = std::chrono::steady_clock::now();
    pid_t pid = 0;
    const int spawned = posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    int status = 0;
    if (spawned != 0 || waitpid(pid, &status, 0) < 0 || !WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return -1;
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

size_t CountFiles(const fs::path& root) {
    size_t files = 0;
    for (const auto& entry : fs::recursive_directory_iterator(root))
        files += entry.is_regular_file() ? 1 : 0;
    return files;
}

void ConsoleCopyVersusCp(benchmark::State& state) {
    const fs::path scratch = ScratchFolder();
    const fs::path source = scratch / "media-1g";
    if (!EnsureTree(source)) {
        state.SkipWithError("could not generate the source tree");
        return;
    }
    const fs::path kit = scratch / "kit";
    WriteKit(kit);
    const std::string program = (fs::read_symlink("/proc/self/exe").parent_path() / "stagedesk").string();
    const std::vector<std::string> console = {program,    "--console",
                                              "--home",   (kit / "stagedesk").string(),
                                              "--task",   "os",
                                              "--item",   "Bench",
                                              "--source", source.string(),
                                              "--dest",   "BENCH"};
    for (auto _ : state) {
        std::vector<double> stagedesk, cp;
        for (int round = 0; round < kRounds; ++round) {
            fs::remove_all(kit / "os");
            fs::remove_all(scratch / "copied");
            const double copied = TimedRun(console);
            const double baseline = TimedRun({"cp", "-r", source.string(), (scratch / "copied").string()});
            if (copied < 0 || baseline < 0) {
                state.SkipWithError("stagedesk or cp failed");
                return;
            }
            stagedesk.push_back(copied);
            cp.push_back(baseline);
        }
        if (CountFiles(kit / "os/BENCH") != CountFiles(source)) {
            state.SkipWithError("stagedesk did not copy every file");
            return;
        }
        state.SetIterationTime(Median(stagedesk));
        state.counters["stagedesk_s"] = Median(stagedesk);
        state.counters["cp_s"] = Median(cp);
        // Throughput of the console copy relative to cp -r; the target is at least 0.9.
        state.counters["ratio"] = Median(cp) / Median(stagedesk);
        state.counters["files"] = double(CountFiles(source));
    }
    fs::remove_all(kit / "os");
    fs::remove_all(scratch / "copied");
}

} // namespace

BENCHMARK(ConsoleCopyVersusCp)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);
