// The inventory files of a fleet folder in path order: every file whose name ends in ".ini" (any letter
// case) in the folder and below it, in the byte order of their paths relative to the folder (written with
// "/"). Only the listings of the folders on the way down are held, so what the walk
// keeps does not grow with the number of files.
#pragma once

#include "foundation/platform/FileSystem.h"

#include <string>
#include <vector>

class InventoryWalk {
public:
    // Borrows fileSystem, which outlives the walk.
    InventoryWalk(FileSystem& fileSystem, const std::string& folder);

    // The next inventory: its path (the folder joined with the names below it) and its path relative to
    // the folder. A subfolder that cannot be listed is given as an inventory itself, so that its run
    // fails and reports it. False at the end.
    bool next(std::string& path, std::string& relative);

    // False when the folder itself could not be listed (the walk then gives nothing).
    bool folderListed() const { return folderListed_; }

private:
    struct Listing {
        std::string path;
        std::string relative;
        std::vector<DirectoryEntry> entries;
        size_t next = 0;
    };

    bool list(const std::string& path, const std::string& relative);

    FileSystem& fileSystem_;
    std::vector<Listing> listings_; // the folders on the way down, the deepest last
    bool folderListed_ = false;
};
