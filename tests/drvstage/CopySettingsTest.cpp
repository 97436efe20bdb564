#include "drvstage/CopySettings.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct CommandLineCase {
    std::vector<const char*> switches; // after "drvstage /src /dst"
    int status;
    int verbosity;
    const char* machineTypes;
};

int Interpret(const std::vector<const char*>& switches, CopySettings& settings) {
    std::vector<const char*> argv = {"drvstage", "/src", "/dst"};
    argv.insert(argv.end(), switches.begin(), switches.end());
    return InterpretCommandLine(static_cast<int>(argv.size()), argv.data(), settings);
}

class CommandLineTest : public testing::TestWithParam<CommandLineCase> {};

TEST_P(CommandLineTest, StatusVerbosityAndMachineTypes) {
    const CommandLineCase& c = GetParam();
    CopySettings settings;
    EXPECT_EQ(Interpret(c.switches, settings), c.status);
    if (c.status == 0) {
        EXPECT_EQ(settings.verbosity, c.verbosity);
        EXPECT_STREQ(settings.machineTypes, c.machineTypes);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Rules, CommandLineTest,
    testing::Values(
        // Verbosity: names ignore case, values are whole numbers read back unchanged, at most 5.
        CommandLineCase{{}, 0, 3, ""}, CommandLineCase{{"/v:2"}, 0, 2, ""},
        CommandLineCase{{"/V:9"}, 0, 5, ""}, CommandLineCase{{"/V:0"}, 0, 0, ""},
        CommandLineCase{{"/V:-2"}, 0, -2, ""}, CommandLineCase{{"/V:"}, 0, 3, ""},
        CommandLineCase{{"/V:03"}, 1, 0, ""}, CommandLineCase{{"/V:+3"}, 1, 0, ""},
        CommandLineCase{{"/V:x"}, 1, 0, ""}, CommandLineCase{{"/V:99999999999999999999"}, 1, 0, ""},
        // Debug levels: 5 + n, and 6 for n out of range.
        CommandLineCase{{"/V:debug"}, 1, 0, ""}, CommandLineCase{{"/V:debug2"}, 0, 7, ""},
        CommandLineCase{{"/V:DEBUG1"}, 0, 6, ""}, CommandLineCase{{"/V:debug0"}, 0, 6, ""},
        CommandLineCase{{"/V:debug2147483642"}, 0, 2147483647, ""},
        CommandLineCase{{"/V:debug2147483643"}, 0, 6, ""}, CommandLineCase{{"/V:debug02"}, 1, 0, ""},
        // Machine types: sorted, no empty or repeated item, "All" for all.
        CommandLineCase{{"/M:b,a"}, 0, 3, "a,b"},
        CommandLineCase{{"/M:8840,8832,8841"}, 0, 3, "8832,8840,8841"}, CommandLineCase{{"/M:a,a"}, 1, 0, ""},
        CommandLineCase{{"/M:a,,b"}, 1, 0, ""}, CommandLineCase{{"/M:a,"}, 1, 0, ""},
        CommandLineCase{{"/M:"}, 1, 0, ""}, CommandLineCase{{"/M:All"}, 0, 3, ""},
        CommandLineCase{{"/m:aLL"}, 0, 3, ""}, CommandLineCase{{"/M:All,b"}, 0, 3, "All,b"},
        CommandLineCase{{"/M:B,a"}, 0, 3, "B,a"},
        // Warning level: one digit 0 to 3.
        CommandLineCase{{"/W:3"}, 0, 3, ""}, CommandLineCase{{"/W:4"}, 1, 0, ""},
        CommandLineCase{{"/W:03"}, 1, 0, ""}, CommandLineCase{{"/W:"}, 0, 3, ""},
        // ADS excludes the selection switches; help, repeats and unknown switches reject.
        CommandLineCase{{"/ADS"}, 0, 3, ""}, CommandLineCase{{"/ADS", "/C:Network"}, 1, 0, ""},
        CommandLineCase{{"/ADS", "/M:a"}, 1, 0, ""}, CommandLineCase{{"/I:Setup", "/ADS"}, 1, 0, ""},
        CommandLineCase{{"/?"}, 1, 0, ""}, CommandLineCase{{"/ADS", "/ADS"}, 1, 0, ""},
        CommandLineCase{{"/V:2", "/W:1", "/V:3"}, 1, 0, ""}, CommandLineCase{{"/X:1"}, 1, 0, ""},
        // /INC is a whole argument, not with the ADS mode or a check of the driver set.
        CommandLineCase{{"/INC", "/M:b,a"}, 0, 3, "a,b"}, CommandLineCase{{"/inc", "/L"}, 0, 3, ""},
        CommandLineCase{{"/INC", "/INC"}, 1, 0, ""}, CommandLineCase{{"/ADS", "/INC"}, 1, 0, ""},
        CommandLineCase{{"/INC", "/LINT"}, 1, 0, ""}));

TEST(CommandLine, PathsComeFirstAndBothAreRequired) {
    CopySettings settings;
    const char* onlySource[] = {"drvstage", "/src"};
    EXPECT_EQ(InterpretCommandLine(2, onlySource, settings), 1);
    const char* switchBetween[] = {"drvstage", "/src", "/M:a", "/dst"};
    EXPECT_EQ(InterpretCommandLine(4, switchBetween, settings), 1) << "a spanning value swallows the path";

    const char* full[] = {"drvstage", "/src/set", "/out/../dst", "/C:Network,", "Storage", "/I:Setup"};
    ASSERT_EQ(InterpretCommandLine(6, full, settings), 0);
    EXPECT_STREQ(settings.sourcePath, "/src/set");
    EXPECT_STREQ(settings.destinationPath, "/dst");
    EXPECT_STREQ(settings.categories, "Network, Storage");
    EXPECT_STREQ(settings.installationModes, "Setup");
    EXPECT_FALSE(settings.ads);
}

TEST(CommandLine, PathThatCannotBeMadeAbsoluteIsRefused) {
    // Taken relative to the current folder instead, it would stage (and empty) the wrong place.
    CopySettings settings;
    std::string tooLong = "/" + std::string(5000, 'd');
    const char* argv[] = {"drvstage", "/src", tooLong.c_str()};
    EXPECT_EQ(InterpretCommandLine(3, argv, settings), 1);
}

TEST(CommandLine, ProgramNameHasItsFirstThreeLettersInCapitals) {
    EXPECT_STREQ(ProgramNameFrom("/usr/local/bin/drvstage"), "DRVstage");
    EXPECT_STREQ(ProgramNameFrom("DrvStage"), "DRVstage");
    EXPECT_STREQ(ProgramNameFrom("ds"), "DS");
}

} // namespace

namespace {

struct ThreadsCase {
    std::vector<const char*> switches;
    int status;
    int threads; // 0: chosen from the machine
};

class ThreadsSwitchTest : public testing::TestWithParam<ThreadsCase> {};

} // namespace

TEST_P(ThreadsSwitchTest, TakesAWholeNumberFromOneToSixtyFourOnce) {
    const ThreadsCase& c = GetParam();
    CopySettings settings;
    EXPECT_EQ(Interpret(c.switches, settings), c.status);
    if (c.status == 0) {
        EXPECT_EQ(settings.threads, c.threads);
    }
}

INSTANTIATE_TEST_SUITE_P(Rules, ThreadsSwitchTest,
                         testing::Values(ThreadsCase{{}, 0, 0}, ThreadsCase{{"/MT:1"}, 0, 1},
                                         ThreadsCase{{"/mt:4"}, 0, 4}, ThreadsCase{{"/MT:64", "/INC"}, 0, 64},
                                         ThreadsCase{{"/MT:0"}, 1, 0}, ThreadsCase{{"/MT:65"}, 1, 0},
                                         ThreadsCase{{"/MT:"}, 1, 0}, ThreadsCase{{"/MT:04"}, 1, 0},
                                         ThreadsCase{{"/MT:-2"}, 1, 0}, ThreadsCase{{"/MT:4x"}, 1, 0},
                                         ThreadsCase{{"/MT:2", "/MT:2"}, 1, 0}, ThreadsCase{{"/MT"}, 1, 0}));
