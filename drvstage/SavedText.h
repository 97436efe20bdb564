// The bytes that saving a document writes, for comparing a rewrite with a file before writing anything.
#pragma once

#include "foundation/IniFile.h"

#include <string>

// What saving document writes when it was read from original: original's byte order mark, if it has
// one, then every line with a newline.
std::string SavedText(const IniFile& document, const std::string& original);
