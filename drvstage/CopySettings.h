// CopySettings: what one drvstage run was asked to do, read from its command line.
#pragma once

#include "foundation/CString.h"

inline constexpr const char* kDrvstageVersion = "1.30";

struct CopySettings {
    CString sourcePath;                  // parent folder of the driver folders; absolute
    CString destinationPath;             // absolute
    CString programName;                 // "DRVstage" for drvstage(.exe)
    CString machineTypes;                // sorted items joined by ","; empty: all machine types
    CString categories;                  // raw /C: text; empty: all categories
    CString installationModes;           // raw /I: text; empty: all installation modes
    bool categoriesGiven = false;        // /C: was on the command line, even with an empty value
    bool installationModesGiven = false; // likewise /I:
    bool ads = false;
    bool listOnly = false;    // /L: the plan is printed, nothing is changed
    bool lint = false;        // /LINT: the driver set is checked, nothing is staged
    bool incremental = false; // /INC: the destination is updated in place, not emptied
    CString reportPath;       // /REPORT: the JSON report's file; empty: none
    CString logPath;          // /LOG: the file that every line is appended to; empty: none
    int verbosity = 3;        // 0 quiet, 3 default, 5 most, 6 and more debug
    int warningLevel = 0;     // accepted, not used
    int threads = 0;          // /MT: the worker threads of the copies; 0: chosen from the machine
};

// The file title of argv[0] in lower case with its first three characters in upper case.
CString ProgramNameFrom(const char* argv0);

// Fills settings from the command line. Returns 0 when it was accepted, otherwise the status to end
// with: 1 for a rejected command line or a request for the usage.
int InterpretCommandLine(int argc, const char* const* argv, CopySettings& settings);

// The /V: rule: a whole number (at most 5), or "debug" followed by n for 5 + n. False when refused.
bool ReadVerbosity(CString text, int& verbosity);
// The /W: rule: one digit from 0 to 3. False when refused.
bool ReadWarningLevel(const CString& text, int& level);
// The /M: rule: sorted, without empty or repeated items; "All" means all (empty). False when refused.
bool ReadMachineTypes(const CString& text, CString& machineTypes);
