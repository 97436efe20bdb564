// A driver set in a temporary folder, and runs of drvstage on it.
#pragma once

#include "support/RunProgram.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

class DriverSetTest : public testing::Test {
protected:
    // Adds a driver folder with a "DrvInfo.ini" holding keys (lines of its "Driver Information" section).
    void AddDriver(const std::string& name, const std::string& keys) {
        dir_.Write("set/" + name + "/DrvInfo.ini", "[Driver Information]\n" + keys);
    }
    void AddDriverSetFile(const std::string& supported) {
        dir_.Write("set/DrvSet.ini", "[Main]\nSupported Systems = " + supported + "\n");
    }

    // Runs drvstage with the source and destination paths first, then switches.
    ProgramResult Stage(const std::vector<std::string>& switches) { return StageTo(Destination(), switches); }
    ProgramResult StageTo(const std::string& destination, const std::vector<std::string>& switches) {
        std::vector<std::string> args = {ProgramPath(Source()), ProgramPath(destination)};
        args.insert(args.end(), switches.begin(), switches.end());
        return RunProgram(BuiltProgram("drvstage"), args);
    }

    std::string Source() const { return dir_ / "set"; }
    std::string Destination() const { return dir_ / "out"; }
    // A path as the program prints it.
    std::string Shown(const std::string& hostPath) const { return ProgramPath(hostPath); }
    std::string Joined(const std::string& a, const std::string& b) const {
        return a + ProgramSeparator() + b;
    }

    // The names in a folder, sorted.
    std::vector<std::string> Names(const std::string& relative) const {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(dir_.Path() / relative))
            names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }
    bool Exists(const std::string& relative) const { return std::filesystem::exists(dir_ / relative); }
    std::string Read(const std::string& relative) const { return ReadProgramText(dir_ / relative); }
    // Whether the text file holds the line exactly.
    bool HasLine(const std::string& relative, const std::string& line) const {
        return ("\n" + Read(relative)).find("\n" + line + "\n") != std::string::npos;
    }

    TempDir dir_;
};
