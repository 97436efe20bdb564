// Where the benchmarks that run programs find their scratch folder, the programs they measure and the
// size of what those wrote.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>

// $KIT_BENCH_SCRATCH, or a folder of the system's temporary folder; created when missing. Generated
// inputs never go into the source tree.
std::filesystem::path ScratchFolder();

// True when $KIT_BENCH_QUICK is 1: smaller generated inputs, for a check that every benchmark still runs.
bool QuickMode();

// The program of that name built beside the running benchmark.
std::string ProgramBeside(const std::string& name);

struct TreeSize {
    uint64_t files = 0;
    uint64_t bytes = 0;
};

// The regular files below folder and their total size; nothing when the folder cannot be read.
TreeSize MeasureTree(const std::filesystem::path& folder);

// Removes folder and everything in it, if it is there.
void RemoveTree(const std::filesystem::path& folder);
