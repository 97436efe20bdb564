#include "TreeSnapshot.h"

#include "support/TempDir.h"

#include <fstream>

namespace fs = std::filesystem;

namespace {

// A copy being written may still carry the write-only mode it was created with.
std::string ReadEvenIfWriteOnly(const fs::path& path) {
    if (!std::ifstream(path))
        fs::permissions(path, fs::perms::owner_read, fs::perm_options::add);
    return ReadWholeFile(path.string());
}

} // namespace

TreeSnapshot SnapshotTree(const fs::path& root) {
    TreeSnapshot tree;
    for (const fs::directory_entry& entry : fs::recursive_directory_iterator(root)) {
        const std::string relative = entry.path().lexically_relative(root).generic_string();
        if (entry.is_directory())
            tree.folders.insert(relative);
        else {
            tree.files[relative] = ReadEvenIfWriteOnly(entry.path());
            tree.times[relative] = entry.last_write_time();
        }
    }
    return tree;
}

void RestoreTree(const fs::path& root, const TreeSnapshot& tree) {
    fs::create_directories(root);
    for (const fs::directory_entry& entry : fs::directory_iterator(root))
        fs::remove_all(entry.path());
    for (const std::string& folder : tree.folders)
        fs::create_directories(root / folder);
    for (const auto& [relative, bytes] : tree.files) {
        WriteWholeFile((root / relative).string(), bytes);
        fs::last_write_time(root / relative, tree.times.at(relative));
    }
}

bool IsWithin(const std::string& relative, const std::string& folder) {
    return relative == folder || relative.rfind(folder + "/", 0) == 0;
}
