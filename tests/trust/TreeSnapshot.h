// Every file and folder below a root with the files' bytes: what a run found there and what it left.
#pragma once

#include <filesystem>
#include <map>
#include <set>
#include <string>

struct TreeSnapshot {
    std::map<std::string, std::string> files; // path relative to the root, '/' between names -> bytes
    std::set<std::string> folders;            // relative paths
    // The files' modification times, put back with them: an update in place compares them.
    std::map<std::string, std::filesystem::file_time_type> times;

    bool HasFile(const std::string& relative) const { return files.count(relative) != 0; }
};

TreeSnapshot SnapshotTree(const std::filesystem::path& root);

// Empties root and writes the snapshot's folders and files back into it, with the files' times.
void RestoreTree(const std::filesystem::path& root, const TreeSnapshot& tree);

// Whether relative is the folder below or one of its descendants.
bool IsWithin(const std::string& relative, const std::string& folder);
