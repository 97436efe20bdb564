// Runs a built program for end-to-end tests and collects its exit status and output.
//
// The programs under test are the native build (build/bin) unless the environment names the Windows build:
//   KIT_E2E_WINDOWS_BIN_DIR  folder of arrayplan.exe and drvstage.exe, run under Wine
//   KIT_E2E_WINE             the command that runs them (default "wine")
// The Windows build's output lines end in "\r\n" (text-mode streams); RunProgram and ReadProgramText turn
// them into "\n" so that one expectation fits both builds.
#pragma once

#include <string>
#include <vector>

struct ProgramResult {
    int status = -1; // exit status; -1 when the program could not be run or was killed
    std::string out;
    std::string err;
};

// Path of a program of the build under test (for example "arrayplan").
std::string BuiltProgram(const std::string& name);

// True when the programs under test are the Windows build (run under Wine).
bool TestingWindowsBuild();

// A path of this machine in the form the program under test takes and prints: unchanged for the native
// build; for the Windows build under Wine, on drive Z: with backslashes ("/tmp/a/b" -> "Z:\tmp\a\b").
// Relative paths only get backslashes.
std::string ProgramPath(const std::string& hostPath);

// Path separator of the program under test ('\' for the Windows build, '/' natively).
char ProgramSeparator();

// Contents of a text file written by the program under test; for the Windows build "\r\n" reads as "\n".
std::string ReadProgramText(const std::string& path);

// Runs program with args in workingDirectory (empty: the current one), feeding input on standard input.
ProgramResult RunProgram(const std::string& program, const std::vector<std::string>& args,
                         const std::string& workingDirectory = "", const std::string& input = "");

// Runs a batch file of the Windows command shell (Windows build only; the status is -1 otherwise), so that
// its lines reach the programs exactly as typed: arguments on a command line that Wine builds are quoted
// and escaped first, as a shell never does. hostPath must hold no blanks.
ProgramResult RunBatchFile(const std::string& hostPath, const std::string& workingDirectory = "");
