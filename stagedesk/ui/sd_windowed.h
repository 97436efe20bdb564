// The windowed program: one instance per user, the splash screen with the start-up checks, then the
// main window.
#pragma once

#include <QString>

namespace sd {

// Runs the program with its own QApplication; "--home DIR" names the configurator's folder (default:
// the executable's). Returns the exit status: 0, also when another instance already runs; 1 when a
// start-up check ended the program.
int RunWindowed(int& argc, char** argv);

// The lock file that marks a running instance (per user, in the temporary folder).
QString InstanceLockPath();

} // namespace sd
