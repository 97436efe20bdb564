// Telling whether two paths name one file, however each is written.
#pragma once

#include "foundation/CString.h"

class FileSystem;

// True when a and b name one file: the same file (device and node) where both exist, so that a relative
// and an absolute path, a link and a hard link are all seen through; where neither exists, the same name
// (letter case aside, as the file system layer resolves names) in the same folder. A path that exists and
// one that does not never name one file; neither does an empty path.
bool sameFile(FileSystem& fileSystem, const CString& a, const CString& b);
