// Finding the files of a driver set whatever their letter case (sets are copied from Windows media).
#pragma once

#include "foundation/CString.h"

inline constexpr const char* kDriverSetFileName = "DrvSet.ini";
inline constexpr const char* kDriverInfoFileName = "DrvInfo.ini";

// Sets path to the file of folder whose name equals name ignoring letter case (the exact spelling
// first) and returns true; when there is none, sets folder joined with name as given and returns false.
bool FindFileNoCase(const CString& folder, const char* name, CString& path);
