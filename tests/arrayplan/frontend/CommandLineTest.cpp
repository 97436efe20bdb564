#include "arrayplan/frontend/CommandLine.h"
#include "arrayplan/model/ResultCodes.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

int parse(std::vector<const char*> args, CommandLine& line) {
    args.insert(args.begin(), "arrayplan");
    return parseCommandLine(static_cast<int>(args.size()), args.data(), line);
}

TEST(CommandLine, SwitchesAreReadIgnoringCaseWithValuesAsWritten) {
    CommandLine line;
    ASSERT_EQ(parse({"/INI:C:\\My", "Files\\inv.ini", "/inp:Pol.ini", "/Outi:o.ini", "/outp:p.ini",
                     "/RAID:D:\\Raid", "/DEBUG"},
                    line),
              0);
    EXPECT_EQ(line.inventoryPath.Str(), "C:\\My Files\\inv.ini");
    EXPECT_EQ(line.policyPath.Str(), "Pol.ini");
    EXPECT_EQ(line.outputInventoryPath.Str(), "o.ini");
    EXPECT_EQ(line.outputPolicyPath.Str(), "p.ini");
    EXPECT_EQ(line.raidDirectory.Str(), "D:\\Raid\\");
    EXPECT_TRUE(line.debug);
}

TEST(CommandLine, SupportDirectoryEndsWithASeparatorUnlessEmpty) {
    const std::pair<const char*, const char*> cases[] = {
        {"/raid:data\\raid", "data\\raid\\"},
        {"/raid:data\\raid\\", "data\\raid\\"},
        {"/raid:", ""},
        {"/raid:data/raid/", "data/raid/"},
    };
    for (const auto& [argument, expected] : cases) {
        CommandLine line;
        ASSERT_EQ(parse({"/ini:a", "/inp:b", argument}, line), 0);
        EXPECT_EQ(line.raidDirectory.Str(), expected) << argument;
    }
}

TEST(CommandLine, RejectedCommandLines) {
    CommandLine line;
    EXPECT_EQ(parse({"/ini:a"}, line), 1) << "the policy file is required";
    EXPECT_EQ(parse({"/ini:a", "/inp:b", "/debugx"}, line), 1);
    EXPECT_EQ(parse({"extra", "/ini:a", "/inp:b"}, line), 1);
    ASSERT_EQ(parse({"/ini:a", "/inp:b", "extra"}, line), 0) << "a spanning value takes the next arguments";
    EXPECT_EQ(line.policyPath.Str(), "b extra");
}

TEST(CommandLine, HelpIsAskedByAnyArgumentEqualToTheHelpSwitch) {
    const char* withOthers[] = {"arrayplan", "/ini:a", "/?"};
    const char* alone[] = {"arrayplan", "/?"};
    const char* inValue[] = {"arrayplan", "/ini:/?"};
    EXPECT_TRUE(asksForHelp(3, withOthers));
    EXPECT_TRUE(asksForHelp(2, alone));
    EXPECT_FALSE(asksForHelp(2, inValue));
    EXPECT_FALSE(asksForHelp(1, alone));
}

TEST(ResultCodes, FailedRunsNeverExitWithZero) {
    EXPECT_EQ(failureExitStatus(ResultCode::Success), kUnclassifiedFailure);
    EXPECT_NE(kUnclassifiedFailure, 0);
    EXPECT_EQ(failureExitStatus(ResultCode::OutputInventoryUnopenable), 13);
    EXPECT_STREQ(resultMessage(ResultCode::Success), "Error in RAID Validation\n");
    EXPECT_STREQ(resultMessage(static_cast<ResultCode>(20)), "Error in RAID Validation\n");
    EXPECT_STREQ(resultMessage(ResultCode::PolicyUnparsable), "Error parsing input policy file.\n");
    EXPECT_STREQ(resultMessage(ResultCode::NoPolicyApplies),
                 "No Policy found that applies to input inventory\n");
}

} // namespace
