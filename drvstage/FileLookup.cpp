#include "drvstage/FileLookup.h"

#include "foundation/Console.h"
#include "foundation/FileOperations.h"
#include "foundation/platform/FileSystem.h"

Lookup ListFolder(const CString& folder, bool wantDirectories, std::vector<CString>& names) {
    if (ListDirectory(folder, wantDirectories, names))
        return Lookup::Found;
    names.clear();
    // A folder that is not there (or is a file) cannot be searched either; only a folder that is there has
    // failed.
    std::vector<DirectoryEntry> entries;
    if (!CurrentFileSystem().FindEntries(folder.Str(), entries))
        return Lookup::Failed;
    return entries.empty() || !entries[0].isDirectory ? Lookup::Missing : Lookup::Failed;
}

Lookup FindFileNoCase(const CString& folder, const char* name, CString& path) {
    path = JoinPath(folder, name);
    std::vector<CString> files;
    Lookup listed = ListFolder(folder, false, files);
    if (listed != Lookup::Found)
        return listed;
    const CString* sameButCase = nullptr;
    for (const CString& file : files) {
        if (file == name) {
            sameButCase = &file;
            break;
        }
        if (!sameButCase && file.EqualsNoCase(name))
            sameButCase = &file;
    }
    if (!sameButCase)
        return Lookup::Missing;
    path = JoinPath(folder, *sameButCase);
    return Lookup::Found;
}

void ReportUnreadableFile(const CString& file, const std::string& reason) {
    PrintAtLevel("Unable to read file " + file, 1);
    PrintFailureReason({file, reason});
}

void ReportUnwritableFile(const CString& file, const std::string& reason) {
    PrintAtLevel("Unable to write file " + file, 1);
    PrintFailureReason({file, reason});
}
