// Listing a folder of 20,000 entries, against the standard library's directory iteration on the same
// folder. The folder is made once in a scratch place and removed at the end.
#include "foundation/FileOperations.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;

namespace {

constexpr int kEntries = 20000;

class ScratchFolder {
public:
    ScratchFolder() : path_(fs::temp_directory_path() / "kit-bench-listdir") {
        fs::remove_all(path_);
        fs::create_directories(path_);
        for (int i = 0; i < kEntries; ++i) {
            std::string name = "file_" + std::to_string(i) + (i % 50 == 0 ? ",with,commas.inf" : ".sys");
            if (i % 100 == 0)
                fs::create_directory(path_ / name);
            else
                std::ofstream(path_ / name).put('x');
        }
    }
    ~ScratchFolder() { fs::remove_all(path_); }
    std::string Path() const { return path_.string(); }

private:
    fs::path path_;
};

ScratchFolder& Folder() {
    static ScratchFolder folder;
    return folder;
}

void BM_ListDirectoryFiles(benchmark::State& state) {
    CString path(Folder().Path());
    for (auto _ : state) {
        std::vector<CString> names;
        ListDirectory(path, false, names);
        benchmark::DoNotOptimize(names.data());
    }
    state.SetItemsProcessed(state.iterations() * kEntries);
}
BENCHMARK(BM_ListDirectoryFiles)->Unit(benchmark::kMillisecond);

void BM_ListDirectoryFolders(benchmark::State& state) {
    CString path(Folder().Path());
    for (auto _ : state) {
        std::vector<CString> names;
        ListDirectory(path, true, names);
        benchmark::DoNotOptimize(names.data());
    }
    state.SetItemsProcessed(state.iterations() * kEntries);
}
BENCHMARK(BM_ListDirectoryFolders)->Unit(benchmark::kMillisecond);

void BM_StdDirectoryIteratorBaseline(benchmark::State& state) {
    fs::path path(Folder().Path());
    for (auto _ : state) {
        std::vector<std::string> names;
        for (const fs::directory_entry& entry : fs::directory_iterator(path)) {
            if (!entry.is_directory())
                names.push_back(entry.path().filename().string());
        }
        benchmark::DoNotOptimize(names.data());
    }
    state.SetItemsProcessed(state.iterations() * kEntries);
}
BENCHMARK(BM_StdDirectoryIteratorBaseline)->Unit(benchmark::kMillisecond);

} // namespace
