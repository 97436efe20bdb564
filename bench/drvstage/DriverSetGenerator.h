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

// Number of regular files and their total size below folder.
struct TreeSize {
    uint64_t files = 0;
    uint64_t bytes = 0;
};
TreeSize MeasureTree(const std::filesystem::path& folder);
