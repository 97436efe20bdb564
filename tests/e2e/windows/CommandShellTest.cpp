// The Windows programs started from a batch file of the command shell, with the quoting an administrator
// types: folders in quotes keep their trailing backslash ("C:\kit dir\"), which the C library of Windows
// would read as a quote inside the argument. %ERRORLEVEL% after each program is its exit status.
#include "support/RunProgram.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

constexpr size_t npos = std::string::npos;

class CommandShell : public testing::Test {
protected:
    void SetUp() override {
        if (!TestingWindowsBuild())
            GTEST_SKIP() << "the command shell of Windows runs only the Windows build";
    }

    std::string Shown(const std::string& relative) const { return ProgramPath(dir_ / relative); }

    // Each line runs a program of the build, named by the line's first word, and then prints its exit
    // status.
    ProgramResult RunLines(const std::vector<std::string>& lines) {
        std::string batch;
        for (const std::string& line : lines) {
            size_t blank = line.find(' ');
            std::string program = ProgramPath(BuiltProgram(line.substr(0, blank)));
            batch += "@\"" + program + "\"" + line.substr(blank) + "\r\n@echo status %ERRORLEVEL%\r\n";
        }
        return RunBatchFile(dir_.Write("run.cmd", batch), dir_.Path().string());
    }

    TempDir dir_;
};

TEST_F(CommandShell, QuotedFoldersKeepTheirTrailingBackslash) {
    dir_.Write("driver set/DrvSet.ini", "[Main]\r\nSupported Systems = x,y\r\n");
    dir_.Write("driver set/net/DrvInfo.ini", "[Driver Information]\r\nSupported Systems = x\r\n");
    dir_.Write("driver set/net/net.sys", "driver");
    std::string source = Shown("driver set") + "\\";
    std::string destination = Shown("staged drivers") + "\\";
    ProgramResult run = RunLines({"drvstage \"" + source + "\" \"" + destination + "\" /M:x /V:2",
                                  "drvstage \"" + Shown("no set") + "\\\" \"" + destination + "\"",
                                  "drvstage \"" + source + "\""});
    EXPECT_NE(run.out.find("Source Path = " + source + "\nDestination Path = " + destination +
                           "\nMachine Type = x\n"),
              npos)
        << run.out;
    EXPECT_EQ(dir_.Read("staged drivers/net/net.sys"), "driver");
    // The second run finds no driver set; the third lacks its destination and shows the usage.
    size_t first = run.out.find("status 0\n");
    size_t second = run.out.find("status 6\n", first);
    size_t usage = run.out.find("Usage... ", second);
    EXPECT_NE(first, npos) << run.out;
    EXPECT_NE(second, npos) << run.out;
    EXPECT_NE(usage, npos) << run.out;
    EXPECT_NE(run.out.find("status 1\n", usage), npos) << run.out;
}

TEST_F(CommandShell, QuotedSwitchValuesKeepTheirTrailingBackslash) {
    std::string source = KIT_SOURCE_DIR;
    dir_.Write("in put/inventory.ini", ReadWholeFile(source + "/examples/arrayplan/inventory.ini"));
    dir_.Write("in put/policies.ini", ReadWholeFile(source + "/examples/arrayplan/policies.ini"));
    dir_.CopyIn(source + "/data/raid", "raid files");
    std::string switches =
        "\"/ini:" + Shown("in put/inventory.ini") + "\" \"/inp:" + Shown("in put/policies.ini") +
        "\" \"/outi:" + Shown("out put.ini") + "\" \"/outp:" + Shown("out put.pol") + "\" ";
    ProgramResult run = RunLines({"arrayplan " + switches + "\"/raid:" + Shown("raid files") + "\\\"",
                                  "arrayplan " + switches + "\"/raid:" + Shown("in put") + "\\\""});
    EXPECT_NE(run.out.find("RAID Support Files Directory Path:" + Shown("raid files") + "\\ \n"), npos)
        << run.out;
    size_t completed = run.out.find("Validation Completed\nstatus 0\n");
    EXPECT_NE(completed, npos) << run.out;
    EXPECT_NE(ReadProgramText(dir_ / "out put.ini").find("[RAIDController.1"), npos);
    // No support files in the second folder: the exit status is the result code.
    EXPECT_NE(run.out.find("Unsupported controller type\nstatus 3\n", completed), npos) << run.out;
}

TEST_F(CommandShell, ProgramStartedWithForwardSlashesNamesItselfByItsTitle) {
    std::string program = ProgramPath(BuiltProgram("drvstage"));
    std::replace(program.begin(), program.end(), '\\', '/');
    ProgramResult run = RunBatchFile(dir_.Write("run.cmd", "@" + program + " /?\r\n"), dir_.Path().string());
    EXPECT_NE(run.out.find("\nTorvik (R) DRVstage version 1.30\n"), npos) << run.out;
    EXPECT_NE(run.out.find("\tDRVstage sourcepath destinationpath"), npos) << run.out;
}

} // namespace
