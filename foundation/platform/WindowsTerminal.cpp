#include "foundation/platform/Terminal.h"

#include <windows.h>

// A console answers GetConsoleMode; a file or a pipe does not.
bool StandardOutputIsTerminal() {
    DWORD mode = 0;
    return GetConsoleMode(GetStdHandle(STD_OUTPUT_HANDLE), &mode) != 0;
}
