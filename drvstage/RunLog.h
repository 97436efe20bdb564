// The /LOG: file: every line the run prints, at any level up to the most detailed one, each with the
// date and time (UTC), appended to the file whatever the console shows.
#pragma once

#include "foundation/CString.h"
#include "foundation/Console.h"
#include "foundation/platform/FileSystem.h"

#include <chrono>
#include <memory>
#include <string>

// "2026-12-08 13:08:30 " for the moment given.
std::string LogTimeStamp(std::chrono::system_clock::time_point moment);

class RunLog : public LineRecorder {
public:
    RunLog() = default;
    ~RunLog() override { Close(); }
    RunLog(const RunLog&) = delete;
    RunLog& operator=(const RunLog&) = delete;

    // Opens path for appending and starts recording: false after the failure lines.
    bool Open(const CString& path);
    // Stops recording and closes the file: false after the failure lines when the lines could not all
    // be written.
    bool Close();

    void Record(const char* text, int level) override;

private:
    CString path_;
    std::unique_ptr<File> file_;
    bool failed_ = false;
};
