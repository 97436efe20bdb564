// Generates arrayplan inputs of a chosen size in a scratch folder: an inventory of controllers with four
// full channels of drives, a policy file whose last policy plans eight arrays on every controller, and the
// kit's controller support files.
#pragma once

#include <filesystem>
#include <vector>

struct ArrayplanInputShape {
    int controllers = 26; // the most an inventory may hold
    int policies = 100;   // the most a policy file may hold; each has 50 keyword lines
};

struct ArrayplanInput {
    std::filesystem::path inventory;
    std::filesystem::path policies;
    std::filesystem::path raidDirectory;
    // The files a run reads: inventory, policies and the support file of the one model used.
    std::vector<std::filesystem::path> filesRead;
};

// Writes the input into folder (replacing what is there). Returns false when a file could not be written.
bool WriteArrayplanInput(const std::filesystem::path& folder, const ArrayplanInputShape& shape,
                         ArrayplanInput& input);
