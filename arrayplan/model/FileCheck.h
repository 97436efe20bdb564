// The run's checks that a file opens, and the line that names a failed file with the system's reason.
#pragma once

#include "foundation/CString.h"

#include <string>

class RunSettings;

// Opens path in the C library mode ("r", "a", ...) and closes it again; true when it opened. With
// "/debug" it traces "checkFile(mode=...,FileName=...)". On failure, reason (when given) receives the
// system's reason.
bool checkFile(const RunSettings& settings, const char* mode, const CString& path,
               std::string* reason = nullptr);

// "<path>: <reason>", the line of its own that follows a failure line naming no file or reason.
std::string failureLine(const CString& path, const std::string& reason);
