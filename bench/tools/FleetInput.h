// Generates a fleet for arrayplan's fleet check in a scratch folder: inventories of 1 to 4 controllers of
// the shipped models with 4 to 32 drives each, spread over folders of 1,000 so that the first 1,000, 5,000
// and all of them are each one folder; a policy file of 20 policies in the examples' style; and the kit's
// controller support files.
#pragma once

#include <filesystem>

struct FleetInput {
    std::filesystem::path root;          // all inventories
    std::filesystem::path firstThousand; // the first 1,000 in path order
    std::filesystem::path firstHalf;     // the first half
    std::filesystem::path policies;
    std::filesystem::path raidDirectory;
};

// Writes a fleet of inventories (a multiple of 1,000, at least 2,000) into folder, or reuses one already
// written there with the same count. False when a file could not be written.
bool WriteFleetInput(const std::filesystem::path& folder, int inventories, FleetInput& input);
