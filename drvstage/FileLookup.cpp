#include "drvstage/FileLookup.h"

#include "foundation/FileOperations.h"

#include <vector>

bool FindFileNoCase(const CString& folder, const char* name, CString& path) {
    std::vector<CString> files;
    ListDirectory(folder, false, files);
    const CString* sameButCase = nullptr;
    for (const CString& file : files) {
        if (file == name) {
            sameButCase = &file;
            break;
        }
        if (!sameButCase && file.EqualsNoCase(name))
            sameButCase = &file;
    }
    path = JoinPath(folder, sameButCase ? *sameButCase : CString(name));
    return sameButCase != nullptr;
}
