// Whether the process's standard output is a terminal (a console window on Windows), so that a program
// may show a progress line that it leaves out of a redirected output.
#pragma once

bool StandardOutputIsTerminal();
