#include "drvstage/DestinationSafety.h"

#include "foundation/FileOperations.h"
#include "foundation/platform/FileSystem.h"
#include "foundation/platform/PathStyle.h"

#include <algorithm>
#include <string>
#include <vector>

namespace {

// Bounds the walk upwards; a real tree is never nearly this deep.
constexpr int kMaxDepth = 1024;

CString WithoutTrailingSeparators(const CString& path) {
    int end = path.Length();
    while (end > 1 && IsSeparator(path.At(end - 1), NativePathStyle()))
        --end;
    return path.Left(end);
}

bool IsLexicalRoot(const CString& path) {
    PathParts parts = SplitPath(path);
    if (!parts.baseName.IsEmpty() || !parts.extension.IsEmpty())
        return false;
    for (int i = 0; i < parts.directory.Length(); ++i) {
        if (!IsSeparator(parts.directory.At(i), NativePathStyle()))
            return false;
    }
    return true;
}

// The folder above path, lexically; path itself for a root.
CString LexicalParent(const CString& path) {
    if (IsLexicalRoot(path))
        return path;
    CString trimmed = WithoutTrailingSeparators(path);
    int cut = trimmed.Length();
    while (cut > 0 && !IsSeparator(trimmed.At(cut - 1), NativePathStyle()))
        --cut;
    return cut > 0 ? trimmed.Left(cut) : path;
}

// path and the folders above it, lexically, up to the root.
std::vector<CString> LexicalChain(const CString& path) {
    std::vector<CString> chain{path};
    for (int depth = 0; depth < kMaxDepth && !IsLexicalRoot(chain.back()); ++depth) {
        CString parent = LexicalParent(chain.back());
        if (parent == chain.back())
            break;
        chain.push_back(parent);
    }
    return chain;
}

bool SameText(const CString& a, const CString& b) {
    CString left = WithoutTrailingSeparators(a);
    CString right = WithoutTrailingSeparators(b);
    return NativePathStyle() == PathStyle::Windows ? left.EqualsNoCase(right) : left == right;
}

// The identities of folder and of every folder physically above it ("..", resolved by the system after
// following links), up to the root, whose parent is itself.
std::vector<std::string> IdentityChain(const CString& folder) {
    FileSystem& fileSystem = CurrentFileSystem();
    std::vector<std::string> chain;
    CString path = folder;
    for (int depth = 0; depth < kMaxDepth; ++depth) {
        std::string identity = fileSystem.DirectoryIdentity(path.Str());
        if (identity.empty() || (!chain.empty() && chain.back() == identity))
            break;
        chain.push_back(identity);
        path = JoinPath(path, "..");
    }
    return chain;
}

bool Contains(const std::vector<std::string>& chain, const std::string& identity) {
    return !identity.empty() && std::find(chain.begin(), chain.end(), identity) != chain.end();
}

bool ContainsText(const std::vector<CString>& chain, const CString& path) {
    return std::any_of(chain.begin(), chain.end(), [&](const CString& item) { return SameText(item, path); });
}

// The destination itself when it exists, else the nearest folder above it that does.
CString NearestExisting(const std::vector<CString>& lexicalChain) {
    for (const CString& path : lexicalChain) {
        if (!CurrentFileSystem().DirectoryIdentity(path.Str()).empty())
            return path;
    }
    return lexicalChain.back();
}

bool Overlaps(const CString& source, const CString& destination) {
    std::vector<CString> sourcePaths = LexicalChain(source);
    std::vector<CString> destinationPaths = LexicalChain(destination);
    if (ContainsText(destinationPaths, source) || ContainsText(sourcePaths, destination))
        return true;
    std::vector<std::string> sourceIds = IdentityChain(source);
    std::vector<std::string> destinationIds = IdentityChain(NearestExisting(destinationPaths));
    if (!sourceIds.empty() && Contains(destinationIds, sourceIds.front()))
        return true;
    std::string destinationId = CurrentFileSystem().DirectoryIdentity(destination.Str());
    return Contains(sourceIds, destinationId);
}

// A drive, share or "/" as written, or a mounted volume's root (also when reached through a link).
bool IsFileSystemRoot(const CString& destination) {
    return IsLexicalRoot(destination) || CurrentFileSystem().IsVolumeRoot(destination.Str());
}

} // namespace

DestinationRisk CheckDestination(const CString& source, const CString& destination, bool emptiesDestination) {
    if (emptiesDestination && IsFileSystemRoot(destination))
        return DestinationRisk::FileSystemRoot;
    if (Overlaps(source, destination))
        return DestinationRisk::OverlapsSource;
    return DestinationRisk::None;
}

CString DestinationRiskMessage(DestinationRisk risk, const CString& source, const CString& destination) {
    switch (risk) {
    case DestinationRisk::OverlapsSource:
        return "The destination path " + destination + " overlaps the source path " + source + ".";
    case DestinationRisk::FileSystemRoot:
        return "The destination path " + destination + " is the root of a file system and cannot be emptied.";
    case DestinationRisk::None:
        break;
    }
    return CString();
}
