// The switches of arrayplan, the banner with the usage, and asking for help.
#pragma once

#include "foundation/CString.h"

class Console;

// The most worker threads a fleet check takes.
inline constexpr int kMaxFleetJobs = 256;

struct CommandLine {
    CString inventoryPath;       // "/ini:"
    CString policyPath;          // "/inp:"
    CString outputInventoryPath; // "/outi:"
    CString outputPolicyPath;    // "/outp:"
    CString raidDirectory;       // "/raid:", ending with a separator unless empty
    CString jsonPath;            // "/json:", empty when no report is asked for
    bool debug = false;          // "/debug"
    bool explain = false;        // "/explain"
    // A fleet check: "/fleet:" (the inventories' folder, empty for a single run), "/report:", "/jobs:" (0
    // when not given) and "/outdir:".
    CString fleetDirectory;
    CString fleetReportPath;
    int fleetJobs = 0;
    CString fleetOutputDirectory;
};

// The switch parser's result (0 parsed, 1 rejected, 2 internal error); on 0 the values are in line.
int parseCommandLine(int argc, const char* const* argv, CommandLine& line);

// True when an argument is "/?": help is shown whatever else the command line holds.
bool asksForHelp(int argc, const char* const* argv);

void printBannerAndUsage(Console& console);
