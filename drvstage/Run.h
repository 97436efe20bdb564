// The drvstage run: command line, banner, settings, the steps in order, completion line, exit status.
#pragma once

// Returns the exit status: 0 success, 1 command line rejected or usage asked for, 3 a file-system step
// failed, 4 a machine type is not supported, 6 no driver set file or no driver folders.
int RunDrvstage(int argc, const char* const* argv);
