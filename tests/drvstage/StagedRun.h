// A drvstage run from /src into a destination on the file system the test installed, with its output.
#pragma once

#include "drvstage/Run.h"
#include "support/ConsoleCapture.h"

#include <string>
#include <vector>

struct Staged {
    int status = -1;
    std::string output;
};

inline Staged Stage(std::vector<const char*> switches, const char* destination = "/dst") {
    std::vector<const char*> argv = {"drvstage", "/src", destination};
    argv.insert(argv.end(), switches.begin(), switches.end());
    ConsoleCapture console;
    Staged run;
    run.status = RunDrvstage(static_cast<int>(argv.size()), argv.data());
    run.output = console.Out();
    return run;
}
