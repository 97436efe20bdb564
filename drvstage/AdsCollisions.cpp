#include "drvstage/AdsCollisions.h"

#include "foundation/FileOperations.h"
#include "foundation/platform/FileSystem.h"

#include <map>
#include <memory>
#include <string>

namespace {

// The deepest tree that is walked: a link loop ends here.
constexpr int kMaxDepth = 64;

void ListFiles(const CString& root, const CString& relative, int depth, std::vector<CString>& files) {
    std::vector<DirectoryEntry> entries;
    CString folder = relative.IsEmpty() ? root : JoinPath(root, relative);
    if (depth > kMaxDepth || !CurrentFileSystem().FindEntries(JoinPath(folder, "*").Str(), entries))
        return;
    for (const DirectoryEntry& entry : entries) {
        CString name = relative.IsEmpty() ? CString(entry.name) : JoinPath(relative, CString(entry.name));
        if (entry.isDirectory)
            ListFiles(root, name, depth + 1, files);
        else
            files.push_back(name);
    }
}

// Fills buffer up to its size unless the file ends first; false on a read error.
bool ReadBlock(File& file, std::string& buffer) {
    size_t filled = 0;
    while (filled < buffer.size()) {
        bool readError = false;
        size_t count = file.Read(buffer.data() + filled, buffer.size() - filled, readError);
        if (readError)
            return false;
        if (count == 0)
            break;
        filled += count;
    }
    buffer.resize(filled);
    return true;
}

// Whether the two files differ; false when either cannot be read.
bool Differ(const CString& a, const CString& b) {
    std::unique_ptr<File> first = CurrentFileSystem().OpenFile(a.Str(), "rb");
    std::unique_ptr<File> second = CurrentFileSystem().OpenFile(b.Str(), "rb");
    if (!first || !second)
        return false;
    for (;;) {
        std::string one(65536, '\0');
        std::string other(65536, '\0');
        if (!ReadBlock(*first, one) || !ReadBlock(*second, other))
            return false;
        if (one != other)
            return true;
        if (one.empty())
            return false;
    }
}

} // namespace

std::vector<AdsCollision> FindAdsCollisions(const std::vector<CString>& folders) {
    std::map<std::string, CString> broughtBy; // file -> the folder whose copy is in place
    std::vector<AdsCollision> collisions;
    for (const CString& folder : folders) {
        std::vector<CString> files;
        ListFiles(folder, CString(), 0, files);
        for (const CString& file : files) {
            auto [placed, isNew] = broughtBy.emplace(file.Str(), folder);
            if (isNew)
                continue;
            if (Differ(JoinPath(placed->second, file), JoinPath(folder, file)))
                collisions.push_back({file, placed->second, folder});
            placed->second = folder;
        }
    }
    return collisions;
}

CString AdsCollisionText(const AdsCollision& collision) {
    return "Warning: " + collision.file + " from " + collision.later + " replaces the one from " +
           collision.earlier + ", which differs.";
}
