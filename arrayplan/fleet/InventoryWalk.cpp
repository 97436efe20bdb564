#include "arrayplan/fleet/InventoryWalk.h"

#include "foundation/FileOperations.h"
#include "foundation/TextCase.h"

#include <algorithm>

namespace {

bool namesInventory(const std::string& name) {
    return name.size() > 4 && EqualsNoCase(name.substr(name.size() - 4), ".ini");
}

std::string joined(const std::string& folder, const std::string& name) {
    return folder.empty() ? name : JoinPath(CString(folder.c_str()), CString(name.c_str())).Str();
}

// A folder sorts as its name with a separator after it, as the paths of its files do: the walk then gives
// the paths in the byte order of the whole paths ("a-b/x.ini", "a.ini", "a/y.ini").
std::string orderKey(const DirectoryEntry& entry) {
    return entry.isDirectory && !entry.isLink ? entry.name + "/" : entry.name;
}

} // namespace

InventoryWalk::InventoryWalk(FileSystem& fileSystem, const std::string& folder) : fileSystem_(fileSystem) {
    folderListed_ = list(folder, "");
}

bool InventoryWalk::list(const std::string& path, const std::string& relative) {
    Listing listing{path, relative, {}, 0};
    if (!fileSystem_.FindEntries(joined(path, "*"), listing.entries))
        return false;
    std::sort(listing.entries.begin(), listing.entries.end(),
              [](const DirectoryEntry& a, const DirectoryEntry& b) { return orderKey(a) < orderKey(b); });
    listings_.push_back(std::move(listing));
    return true;
}

bool InventoryWalk::next(std::string& path, std::string& relative) {
    while (!listings_.empty()) {
        Listing& listing = listings_.back();
        if (listing.next == listing.entries.size()) {
            listings_.pop_back();
            continue;
        }
        const DirectoryEntry& entry = listing.entries[listing.next++];
        std::string entryPath = joined(listing.path, entry.name);
        std::string entryRelative = joined(listing.relative, entry.name);
        // A linked folder is not entered: a link back up would make the walk endless.
        if (entry.isDirectory && !entry.isLink) {
            if (list(entryPath, entryRelative))
                continue;
        } else if (entry.isDirectory || !namesInventory(entry.name)) {
            continue;
        }
        path = std::move(entryPath);
        relative = std::move(entryRelative);
        return true;
    }
    return false;
}
