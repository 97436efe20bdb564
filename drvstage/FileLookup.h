// Finding the files of a driver set whatever their letter case (sets are copied from Windows media).
// A folder that cannot be searched is told apart from a missing name, so that a failing file system is
// never taken for an answer.
#pragma once

#include "foundation/CString.h"
#include "foundation/FileOperations.h"

#include <string>
#include <vector>

inline constexpr const char* kDriverSetFileName = "DrvSet.ini";
inline constexpr const char* kDriverInfoFileName = "DrvInfo.ini";

// Sets path to the file of folder whose name equals name ignoring letter case (the exact spelling
// first): Found. When there is none, or the folder itself is missing, sets folder joined with name as
// given: Missing. Failed when the folder exists but could not be listed (path as for Missing).
Lookup FindFileNoCase(const CString& folder, const char* name, CString& path);

// Lists the names of the folders (wantDirectories) or of the other entries of folder: Found. Missing when
// there is no folder of that name, Failed when it could not be listed; names are empty for both.
Lookup ListFolder(const CString& folder, bool wantDirectories, std::vector<CString>& names);

// Print the failure line of a file that could not be read or written, then the reason line.
void ReportUnreadableFile(const CString& file, const std::string& reason);
void ReportUnwritableFile(const CString& file, const std::string& reason);
