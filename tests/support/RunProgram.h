// Runs a built program for end-to-end tests and collects its exit status and output.
#pragma once

#include <string>
#include <vector>

struct ProgramResult {
    int status = -1; // exit status; -1 when the program could not be run or was killed
    std::string out;
    std::string err;
};

// Path of a program built into build/bin (for example "arrayplan").
std::string BuiltProgram(const std::string& name);

// Runs program with args in workingDirectory (empty: the current one), feeding input on standard input.
ProgramResult RunProgram(const std::string& program, const std::vector<std::string>& args,
                         const std::string& workingDirectory = "", const std::string& input = "");
