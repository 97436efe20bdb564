// Generates a driver set of a chosen shape in a scratch folder, for the copy benchmarks.
#pragma once

#include <cstdint>
#include <filesystem>

struct DriverSetShape {
    int driverFolders = 500;
    int filesPerFolder = 40; // the driver information file included
    uint64_t totalBytes = uint64_t(1) << 30;
    bool varySizes = true; // false: every payload file has the mean size
};

// Writes the set into folder unless a previous run left one of the same shape there (a marker file
// records the shape). Returns false when the folder could not be written.
bool EnsureDriverSet(const std::filesystem::path& folder, const DriverSetShape& shape);

// The tree the copy benchmarks copy: the default shape (about 1 GiB in 20,000 files), or 32 MiB in 2,000
// files in quick mode. Generated in the scratch folder on first use and kept; an empty path on failure.
std::filesystem::path CopyBenchmarkSource();
