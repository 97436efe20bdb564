// The error reporter: a titled message from a numeric code and a detail, printed to standard error,
// then end, return or ask, by mode.
#pragma once

#include <string>

enum ErrorMode { kErrorFatal = 0, kErrorWarning = 1, kErrorAsk = 2 };

enum ErrorCodeBlock {
    kGeneralSystemError = 1,
    kGeneralProgramError = 2,
    kDetailOnly = 3,
    kMemoryAllocationError = 4,
    kFileOpenError = 5,
    kFileReadError = 6,
    kFileWriteError = 7,
    kFileCloseError = 8,
    kParseError = 9,
    kTcpIpError = 10,
};

// The message as printed (without the surrounding "\n%s\n"); never longer than 511 characters.
std::string ComposeErrorMessage(int code, const char* detail);
// Mode 0 (and mode 2 answered with anything but y/Y) ends the process with status 1.
void ReportError(int mode, int code, const char* detail);
