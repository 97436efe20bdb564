// The run's checks that a file opens, and the protection of an output file that existed before the run.
#pragma once

#include "foundation/CString.h"

#include <string>

class RunSettings;

// Opens path in the C library mode ("r", "w", "a") and closes it again; true when it opened.
// With "/debug" it traces "checkFile(mode=...,FileName=...)".
bool checkFile(const RunSettings& settings, const char* mode, const CString& path);

// Remembers whether an output file existed before the run and, if so, its bytes, so that a failure can
// leave it exactly as it was and delete only a file that this run created.
class OutputFileGuard {
public:
    explicit OutputFileGuard(const CString& path);
    bool existedBefore() const { return existed_; }
    // Deletes the file when this run created it; otherwise puts its original bytes back.
    void undo();

private:
    CString path_;
    bool existed_ = false;
    bool saved_ = false; // its bytes were read
    std::string original_;
};
