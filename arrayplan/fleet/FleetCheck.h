// A fleet check: one policy file against every inventory of a folder, in one process. Each inventory is
// run as a single run would run it; the policy file and the support files are read once for all of them.
// One report row per inventory and controller, written in path order as the runs finish, and a summary.
#pragma once

#include "arrayplan/frontend/CommandLine.h"

class Console;
class FileSystem;

// True when the command line asks for a fleet check ("/fleet:" given, no help asked for, the switches
// valid); line then holds it.
bool readFleetCommandLine(int argc, const char* const* argv, CommandLine& line);

// The whole check; returns the exit status: 0 when every inventory passed, else the code of the first
// failing inventory in path order (18 for a report name that is neither ".csv" nor ".jsonl", 12 for a
// fleet folder that cannot be listed, 13 for an output folder in the fleet folder, 255 for a report that
// cannot be written).
int runFleetCheck(Console& console, FileSystem& fileSystem, const CommandLine& line);
