// How real arrayplan runs read their inputs: drives named twice, numbers beyond 32 bits, support file
// items as listed, byte order marks, and inputs that never end.
#include "tests/support/RunProgram.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>

#include <string>
#include <vector>

namespace {

std::string sourceText(const std::string& relative) {
    return ReadWholeFile(std::string(KIT_SOURCE_DIR) + "/" + relative);
}

// A Vaultix-Q4 with four drives of 70000 MB on channel 1; sizes as given.
std::string inventory(const std::vector<std::string>& sizes = {"70000", "70000", "70000", "70000"}) {
    std::string text = "[System]\nMachine_Type = 8837\nTotal_Number_Of_Controllers = 1\n"
                       "[RAIDController.1]\nModel = Vaultix-Q4\n[RAIDController.1.Physical]\n"
                       "Total_Number_Of_Physicals = " +
                       std::to_string(sizes.size()) + "\n";
    for (size_t i = 0; i < sizes.size(); ++i) {
        std::string n = std::to_string(i + 1);
        text += "Channel." + n + " = 1\nID." + n + " = " + std::to_string(i) + "\nSize." + n + " = " +
                sizes[i] + "\n";
    }
    return text;
}

std::string customPolicy(const std::string& lines) {
    return "[Policy.Custom]\nAppliesTo.1 = ALL\nArray_Mode = CUSTOM\nLogical_Mode = CUSTOM\n" + lines;
}

class InputRun : public testing::Test {
protected:
    InputRun() { dir_.CopyIn(std::string(KIT_SOURCE_DIR) + "/data/raid", "raid"); }

    std::string path(const std::string& name) const { return ProgramPath(dir_ / name); }

    ProgramResult run(const std::string& inventoryText, const std::string& policyText) {
        dir_.Write("inventory.ini", inventoryText);
        dir_.Write("policies.ini", policyText);
        return runOn(path("inventory.ini"), path("policies.ini"));
    }
    ProgramResult runOn(const std::string& ini, const std::string& inp) {
        return RunProgram(BuiltProgram("arrayplan"), {"/ini:" + ini, "/inp:" + inp, "/outi:" + path("o.ini"),
                                                      "/outp:" + path("p.ini"), "/raid:" + path("raid")});
    }

    TempDir dir_;
};

// A CUSTOM policy that names a drive twice describes what no controller can build.
TEST_F(InputRun, DriveNamedTwiceEndsTheRun) {
    struct Case {
        const char* lines;
        int status;
        const char* message;
    };
    const Case cases[] = {
        {"Array.A = 1,2,1\nLogical.1 = A:FILL:5\n", 10, "Array.A -- The following drive is already used:  1"},
        {"Array.A = 1:0,1:1\nArray.B = 1:2,1:1\nLogical.1 = A:FILL:1\nLogical.2 = B:FILL:1\n", 10,
         "Array.B -- The following drive is already used:  1:1"},
        {"Array.A = 1,2\nHotspares = 2\nLogical.1 = A:FILL:1\n", 10,
         "Array.A -- The following drive is already used:  2"},
        {"Array.A = 1,2\nHotspares = 3,3\nLogical.1 = A:FILL:1\n", 9,
         "Hotspares -- The following drive is already used:  3"},
    };
    for (const Case& c : cases) {
        ProgramResult result = run(inventory(), customPolicy(c.lines));
        EXPECT_EQ(result.status, c.status) << c.lines << result.out;
        EXPECT_NE(result.out.find(std::string("\t") + "Policy.Custom, " + c.message +
                                  "\n\tVaultix-Q4 controller.\n"),
                  std::string::npos)
            << result.out;
    }
}

// Texts are read as the C library's atol reads them, and a value beyond 32 bits is refused, never cut.
TEST_F(InputRun, NumbersAreReadWholeOrRefused) {
    ProgramResult sizes = run(inventory({"73000MB", "+73000", "73000", "73000"}),
                              customPolicy("Array.A = 1,2\nLogical.1 = A:FILL:1\n"));
    ASSERT_EQ(sizes.status, 0) << sizes.out;
    std::string written = ReadProgramText(dir_ / "o.ini");
    EXPECT_NE(written.find("Size.1 = 73000\n"), std::string::npos) << written;
    EXPECT_NE(written.find("Size.2 = 73000\n"), std::string::npos) << written;

    ProgramResult huge = run(inventory(), customPolicy("Array.A = 1,2\nLogical.1 = A:4294967296:1\n"));
    EXPECT_EQ(huge.status, 1) << huge.out;
    EXPECT_NE(huge.out.find("Policy.Custom, Logical.1 -- Invalid size specified:  4294967296\n"),
              std::string::npos)
        << huge.out;

    ProgramResult hugeDrive = run(inventory({"4294967296", "70000"}), customPolicy("Array.A = 1,2\n"));
    EXPECT_EQ(hugeDrive.status, 2) << hugeDrive.out;
}

// A list item of a support file is taken as listed: its blanks are part of it.
TEST_F(InputRun, SupportFileItemsAreNotTrimmed) {
    dir_.Write("raid/Vaultix-Q4.ini", "[RAIDController]\nModel = Vaultix-Q4\nStripeSizes = 64K , 8K\n"
                                      "RAIDLevels = 0, 1\n[1]\nMaxPhysicalDrives = 1\n");
    const std::string mirror = "Array.A = 1:0,1:1\nLogical.1 = A:FILL:1\n";
    // " 1" names no section: the level has the default limits, and a mirror fits.
    ProgramResult mirrored = run(inventory(), customPolicy(mirror));
    EXPECT_EQ(mirrored.status, 0) << mirrored.out;
    // "64K " and " 8" name no stripe size.
    ProgramResult striped = run(inventory(), customPolicy(mirror + "StripeSize = 64\n"));
    EXPECT_EQ(striped.status, 5) << striped.out;
    EXPECT_NE(striped.out.find("\nSupported Stripe sizes for Vaultix-Q4 are: \n"), std::string::npos)
        << striped.out;
}

// Files saved with a UTF-8 byte order mark read as without one.
TEST_F(InputRun, ByteOrderMarksAreSkipped) {
    const std::string bom = "\xEF\xBB\xBF";
    const std::string inventoryText = sourceText("examples/arrayplan/inventory.ini");
    const std::string policyText = sourceText("examples/arrayplan/policies.ini");
    ASSERT_EQ(run(inventoryText, policyText).status, 0);
    const std::string expectedInventory = ReadProgramText(dir_ / "o.ini");
    for (const char* support : {"raid/Vaultix-Q4.ini", "raid/Vaultix-M1.ini"})
        dir_.Write(support, bom + ReadWholeFile(dir_ / support));
    std::filesystem::remove(dir_ / "p.ini");
    ProgramResult result = run(bom + inventoryText, bom + policyText);
    ASSERT_EQ(result.status, 0) << result.out;
    EXPECT_EQ(ReadProgramText(dir_ / "o.ini"), expectedInventory);
    EXPECT_NE(ReadProgramText(dir_ / "p.ini").find("[Policy.AUTO-Vaultix-M1-1]"), std::string::npos);
}

// An input without end is read to the first error, in little memory.
TEST_F(InputRun, EndlessInputsEndAtTheirFirstError) {
    if (TestingWindowsBuild())
        GTEST_SKIP() << "no /dev/zero for the Windows build";
    dir_.Write("inventory.ini", inventory());
    ProgramResult policy = runOn(path("inventory.ini"), "/dev/zero");
    EXPECT_EQ(policy.status, 1) << policy.out;
    EXPECT_NE(policy.out.find("\n#### ERROR\n\tLine 1 -- Invalid character:  \n##ERROR\n"), std::string::npos)
        << policy.out;
    ProgramResult inventoryRun = runOn("/dev/zero", path("policies.ini"));
    EXPECT_EQ(inventoryRun.status, 2) << inventoryRun.out;
}

} // namespace
