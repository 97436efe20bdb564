#include "arrayplan/frontend/SameFile.h"

#include "foundation/FileOperations.h"
#include "foundation/platform/FileSystem.h"

namespace {

// The folder part of path; "." for a bare name.
CString folderOf(const PathParts& parts) {
    CString folder = parts.root + parts.directory;
    return folder.IsEmpty() ? CString(".") : folder;
}

bool sameFolder(FileSystem& fileSystem, const CString& a, const CString& b) {
    std::string identityA = fileSystem.DirectoryIdentity(a.Str());
    std::string identityB = fileSystem.DirectoryIdentity(b.Str());
    if (!identityA.empty() && !identityB.empty())
        return identityA == identityB;
    return CString(fileSystem.FullPath(a.Str())).EqualsNoCase(fileSystem.FullPath(b.Str()).c_str());
}

} // namespace

bool sameFile(FileSystem& fileSystem, const CString& a, const CString& b) {
    if (a.IsEmpty() || b.IsEmpty())
        return false;
    std::string identityA = fileSystem.FileIdentity(a.Str());
    std::string identityB = fileSystem.FileIdentity(b.Str());
    if (!identityA.empty() || !identityB.empty())
        return identityA == identityB;
    PathParts partsA = SplitPath(a);
    PathParts partsB = SplitPath(b);
    return (partsA.baseName + partsA.extension).EqualsNoCase((partsB.baseName + partsB.extension).Text()) &&
           sameFolder(fileSystem, folderOf(partsA), folderOf(partsB));
}
