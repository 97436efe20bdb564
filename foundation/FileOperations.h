// Path splitting and joining, existence tests, listings and tree operations. They never end the process:
// each returns true or false and prints its progress and failure lines at their levels.
#pragma once

#include "foundation/CString.h"
#include "foundation/platform/FileSystem.h"
#include "foundation/platform/PathStyle.h"

#include <string>
#include <vector>

// The file (or folder) on which an operation failed and the system's reason, for the line that follows a
// failure line.
struct FileFailure {
    CString file;
    std::string reason; // empty when the system gave none
};

// Prints "file: reason" at level 1 ("B: No space left on device"); nothing when no reason is known.
void PrintFailureReason(const FileFailure& failure);

struct PathParts {
    CString root;      // "C:" or "\\server\share\"
    CString directory; // up to and including the last separator
    CString baseName;
    CString extension; // ".ini"; empty unless at most three characters follow the last dot
};

CString JoinPath(const CString& base, const CString& tail, PathStyle style = NativePathStyle());
PathParts SplitPath(const CString& path, PathStyle style = NativePathStyle());
CString FileTitle(const CString& path, PathStyle style = NativePathStyle());
CString FullPath(const CString& path);
// The answer of a directory search for a path: a failed search is not an answer about the path.
enum class Lookup { Found, Missing, Failed };
// Whether a directory search for path (which may hold * and ?) finds an entry; Failed when the search
// itself failed.
Lookup LookUpPath(FileSystem& fileSystem, const CString& path);
// True when LookUpPath finds an entry.
bool PathExists(FileSystem& fileSystem, const CString& path);

// Names of the directories (or of the other entries) of directory, in the system's order.
// Returns false when the directory could not be searched; names stay whole (commas included).
bool ListDirectory(const CString& directory, bool wantDirectories, std::vector<CString>& names);
// Prints the failure line of a directory that could not be listed and the reason of the search that just
// failed (level 1).
void ReportUnlistedDirectory(const CString& directory);

// The operations below give the path they failed on, with the reason, in failure when it is not null.
bool MakePath(const CString& path, PathStyle style = NativePathStyle(), FileFailure* failure = nullptr);
// A file copied into a folder is written under a temporary name there (kCopyTemporaryPrefix + hex digits
// + ".tmp") and takes its real name when complete, so an interrupted copy never leaves a cut file under a
// real name. A copy into a folder first removes the temporary files that an interrupted copy left in it.
bool CopyFiles(const CString& sourceDirectory, const CString& destinationDirectory);
bool CopyPath(const CString& source, const CString& destination);
bool DeletePath(const CString& path, FileFailure* failure = nullptr);
bool CopyOneFile(const CString& source, const CString& destination, FileFailure* failure = nullptr);

inline constexpr const char* kCopyTemporaryPrefix = "~copy-";
