// arrayplan runs whose policy file is read: a bad file ends the run with its report and code 1.
#include "tests/support/RunProgram.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

const char* kInventory = "[System]\n"
                         "Machine_Type = 8837\n"
                         "Serial_Number = KQ4711X\n"
                         "Total_Number_Of_Controllers = 1\n"
                         "\n"
                         "[RAIDController.1]\n"
                         "Model = Vaultix-Q4\n"
                         "\n"
                         "[RAIDController.1.Physical]\n"
                         "Total_Number_Of_Physicals = 2\n"
                         "Channel.1 = 1\nID.1 = 0\nSize.1 = 70007\nType.1 = SCSI\n"
                         "Channel.2 = 1\nID.2 = 1\nSize.2 = 70007\nType.2 = SCSI\n";

const std::string kParseFailure = "##ERROR\n   Error parsing input policy file.\n";

class PolicyFileRun : public ::testing::Test {
protected:
    ProgramResult Run(const std::string& policies, const std::vector<std::string>& extra = {}) {
        dir.Write("inventory.ini", kInventory);
        dir.Write("policies.ini", policies);
        std::vector<std::string> args = {
            "/ini:" + ProgramPath(dir / "inventory.ini"), "/inp:" + ProgramPath(dir / "policies.ini"),
            "/outi:" + ProgramPath(dir / "out.ini"), "/outp:" + ProgramPath(dir / "out-policies.ini"),
            "/raid:" + ProgramPath(dir.CopyIn(KIT_SOURCE_DIR "/data/raid", "raid"))};
        args.insert(args.end(), extra.begin(), extra.end());
        return RunProgram(BuiltProgram("arrayplan"), args);
    }

    static bool EndsWith(const std::string& text, const std::string& tail) {
        return text.size() >= tail.size() && text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
    }

    TempDir dir;
};

TEST_F(PolicyFileRun, BadKeywordEndsTheRunWithCodeOne) {
    ProgramResult run = Run("[Policy.A]\nAppliesTo.1 = ALL\nColour = red\n");
    EXPECT_EQ(run.status, 1);
    EXPECT_TRUE(EndsWith(run.out, "Processing input policy file ...\n"
                                  "\tScanning policies ...\n"
                                  "\tPolicy.A\n"
                                  "\n#### ERROR\n"
                                  "\tLine 3 -- Invalid keyword:  Colour\n" +
                                      kParseFailure))
        << run.out;
    EXPECT_EQ(run.out.find("Creating KLAMP Configurations"), std::string::npos);
}

TEST_F(PolicyFileRun, BadValueIsReportedWithItsValidValues) {
    ProgramResult run = Run("[Policy.A]\nAppliesTo.1 = ALL\nStripeSize = 48\n");
    EXPECT_EQ(run.status, 1);
    EXPECT_TRUE(EndsWith(run.out, "\tValidating keywords and values ...\n\tPolicy.A\n\n#### ERROR\n"
                                  "\tPolicy.A, StripeSize -- Invalid specifier:  48\n"
                                  "\tValid values are:  8 16 32 64 128 256 512 1024 2048 4096\n" +
                                      kParseFailure))
        << run.out;
}

TEST_F(PolicyFileRun, BoundsAndTheLastLineAreChecked) {
    ProgramResult run = Run("[Policy.A]\nAppliesTo.1 = ALL\n; " + std::string(300, '-') + "\n");
    EXPECT_EQ(run.status, 1);
    EXPECT_TRUE(EndsWith(run.out, "\tLine 3 -- Line longer than 254 characters.\n" + kParseFailure))
        << run.out;

    run = Run("[Policy.A]\nAppliesTo.1 = ALL\nBogus = 1");
    EXPECT_EQ(run.status, 1);
    EXPECT_TRUE(EndsWith(run.out, "\tLine 3 -- Invalid keyword:  Bogus\n" + kParseFailure)) << run.out;

    std::string members = "1";
    for (int i = 2; i <= 33; ++i)
        members += "," + std::to_string(i);
    run = Run("[Policy.A]\nAppliesTo.1 = ALL\nArray_Mode = CUSTOM\nArray.A = " + members + "\n");
    EXPECT_EQ(run.status, 1);
    EXPECT_TRUE(EndsWith(run.out, "\tPolicy.A, Array.A -- Too many drives specified.\n"
                                  "\tThe maximum number of drives in an array is 32\n" +
                                      kParseFailure))
        << run.out;
}

TEST_F(PolicyFileRun, DebugDumpsThePoliciesAfterReading) {
    ProgramResult run = Run("[Policy.A]\nAppliesTo.1 = t:Vaultix-Q4\nInit = BUILD\n", {"/debug"});
    EXPECT_EQ(run.out.find("Error parsing input policy file."), std::string::npos) << run.out;
    EXPECT_NE(run.out.find("\tPolicy.A\n##### DUMP OF ALL POLICIES ######\n\n"
                           "******** Dump of Policy.A ***********\n"
                           "AppliesTo.1 = c:-25 m: s: o:-25 t:Vaultix-Q4 d:-25 all:0\n"),
              std::string::npos)
        << run.out;
    EXPECT_NE(run.out.find("Init   = 1\n\n"), std::string::npos);

    run = Run("[Policy.A]\nAppliesTo.1 = t:Vaultix-Q4\n");
    EXPECT_EQ(run.out.find("DUMP OF ALL POLICIES"), std::string::npos) << "only with /debug";
}

} // namespace
