#include "support/RunProgram.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

namespace {

const std::string kUsage =
    "Server deployment kit - RAID configuration policy validator\n"
    "Command Line Tool for RAID VALIDATION     \n"
    "arrayplan </ini:file1> </inp:file2> </outi:file3> </outp:file4> </raid:path>\n"
    "Where:\t\t\t\t\t\t\t\t\t \n"
    "/ini:<f>  -- Path and file name for input inventory file captured with hwsnap\t\t\t  "
    "       \n"
    "/inp:<f>  -- Path and file name for input policy file to be validated\t              "
    "       \n"
    "/outi:<f> -- Path and file name for output inventory file with resultant raid "
    "configuration\t \n"
    "/outp:<f> -- Path and file name for output policy file to be used in klamp for "
    "configuration \n"
    "/raid:<p> -- Path for RAID support ini files \n"
    "\t\t\t\t\t\t\t\t\t\n";

const std::string kMirrorPolicy =
    "[Policy.Mirror]\nAppliesTo.1 = ALL\nArray_Mode = CUSTOM\nArray.A = 1:0, 1:1\n"
    "Logical_Mode = CUSTOM\nLogical.1 = A:FILL:1\n";

std::string inventory(const std::string& model, const std::string& physicals) {
    return "[System]\nMachine_Type = 8837\nTotal_Number_Of_Controllers = 1\n[RAIDController.1]\nModel = " +
           model + "\n[RAIDController.1.Physical]\n" + physicals;
}

const std::string kTwoMirrorDrives = "Total_Number_Of_Physicals = 3\n"
                                     "Channel.1 = 1\nID.1 = 0\nSize.1 = 70000\n"
                                     "Channel.2 = 1\nID.2 = 1\nSize.2 = 70000\n"
                                     "Channel.3 = 1\nID.3 = 2\nSize.3 = 0\n";

ProgramResult arrayplan(const std::vector<std::string>& args, const std::string& workingDirectory = "") {
    return RunProgram(BuiltProgram("arrayplan"), args, workingDirectory);
}

// A run on files of one temporary folder, with the shipped support files.
class ArrayplanRun : public testing::Test {
protected:
    ProgramResult run(const std::vector<std::string>& extra = {}) {
        std::vector<std::string> args = {"/ini:" + dir_ / "inventory.ini", "/inp:" + dir_ / "policies.ini",
                                         "/outi:" + dir_ / "out-inventory.ini",
                                         "/outp:" + dir_ / "out-policies.ini",
                                         "/raid:" KIT_SOURCE_DIR "/data/raid"};
        args.insert(args.end(), extra.begin(), extra.end());
        return arrayplan(args);
    }
    std::string echo() const {
        return "Input inventory file:  " + dir_ / "inventory.ini" +
               " \nInput policy file:     " + dir_ / "policies.ini" +
               " \nOutput inventory file: " + dir_ / "out-inventory.ini" +
               " \nOutput policy file:    " + dir_ / "out-policies.ini" +
               " \nRAID Support Files Directory Path:" KIT_SOURCE_DIR "/data/raid\\ \n";
    }

    TempDir dir_;
};

TEST(ArrayplanCommandLine, UsageAndRejectedCommandLines) {
    ProgramResult bare = arrayplan({});
    EXPECT_EQ(bare.status, 0);
    EXPECT_EQ(bare.out, kUsage);

    ProgramResult onlyInventory = arrayplan({"/ini:inventory.ini"});
    EXPECT_EQ(onlyInventory.status, 18);
    EXPECT_EQ(onlyInventory.out, "##ERROR\n   Unknown parameter.\n" + kUsage);

    ProgramResult unknown = arrayplan({"/verbose", "/ini:a", "/inp:b"});
    EXPECT_EQ(unknown.status, 18);
    EXPECT_EQ(unknown.out, "##ERROR\n   Unknown parameter.\n" + kUsage);
}

TEST(ArrayplanCommandLine, HelpShowsUsageWithStatusZero) {
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"/?"}, std::vector<std::string>{"/ini:a", "/inp:b", "/?"},
          std::vector<std::string>{"/ini:a", "/?", "/unknown"}}) {
        ProgramResult help = arrayplan(args);
        EXPECT_EQ(help.status, 0) << args.size();
        EXPECT_EQ(help.out, kUsage);
    }
}

TEST_F(ArrayplanRun, MissingInventory) {
    dir_.Write("policies.ini", kMirrorPolicy);
    ProgramResult result = run();
    EXPECT_EQ(result.status, 12);
    EXPECT_EQ(result.out, echo() + "Verifying input inventory file:" + dir_ / "inventory.ini" +
                              " ...\n##ERROR\n   Error opening input inventory file.\n");
}

TEST_F(ArrayplanRun, InventoryWithoutControllers) {
    dir_.Write("inventory.ini", "[System]\nTotal_Number_Of_Controllers = 0\n");
    dir_.Write("policies.ini", kMirrorPolicy);
    ProgramResult result = run();
    EXPECT_EQ(result.status, 3);
    EXPECT_EQ(result.out, echo() + "Verifying input inventory file:" + dir_ / "inventory.ini" +
                              " ...\nProcessing input inventory file ...\n"
                              "##ERROR\n   No Controllers Found in Inventory File"
                              "##ERROR\n   Unsupported controller type\n");
    EXPECT_FALSE(std::filesystem::exists(dir_ / "out-inventory.ini"));
}

TEST_F(ArrayplanRun, UnknownModelAndOutOfRangeChannel) {
    dir_.Write("policies.ini", kMirrorPolicy);
    dir_.Write("inventory.ini", inventory("Vaultix-Q9", kTwoMirrorDrives));
    ProgramResult unknown = run();
    EXPECT_EQ(unknown.status, 3);
    EXPECT_NE(unknown.out.find("##ERROR\n   Unsupported controller type\n"), std::string::npos);

    dir_.Write("inventory.ini",
               inventory("Vaultix-Q4", "Total_Number_Of_Physicals = 1\nChannel.1 = 7\nID.1 = 0\n"
                                       "Size.1 = 70000\n"));
    ProgramResult channel = run();
    EXPECT_EQ(channel.status, 2);
    EXPECT_NE(channel.out.find("Processing input inventory file ...\n"
                               "##ERROR\n   RAIDController.1.Physical, drive 1: channel 7 is outside 0..4\n"
                               "##ERROR\n   Error parsing input inventory file.\n"),
              std::string::npos);
}

TEST_F(ArrayplanRun, MissingSupportFile) {
    dir_.Write("inventory.ini", inventory("Vaultix-Q4", kTwoMirrorDrives));
    dir_.Write("policies.ini", kMirrorPolicy);
    ProgramResult result =
        arrayplan({"/ini:" + dir_ / "inventory.ini", "/inp:" + dir_ / "policies.ini",
                   "/outi:" + dir_ / "o.ini", "/outp:" + dir_ / "p.ini", "/raid:" + dir_ / "none"});
    EXPECT_EQ(result.status, 3);
    EXPECT_NE(result.out.find("Processing input policy file ...\n"), std::string::npos);
    std::string tail = "Error opening RAID support ini file for Controller:Vaultix-Q4\n"
                       "##ERROR\n   Unsupported controller type\n";
    ASSERT_GE(result.out.size(), tail.size()) << result.out;
    EXPECT_EQ(result.out.substr(result.out.size() - tail.size()), tail) << result.out;
}

TEST_F(ArrayplanRun, WritesTheInventoryBackInCatalogueForm) {
    dir_.Write("inventory.ini", inventory("vAULTIX-q4", kTwoMirrorDrives));
    dir_.Write("policies.ini", kMirrorPolicy);
    ProgramResult result = run();
    ASSERT_EQ(result.status, 0) << result.out;
    EXPECT_NE(result.out.find("Validation Completed\n"), std::string::npos);
    std::string written = dir_.Read("out-inventory.ini");
    EXPECT_NE(written.find("Machine_Type = 8837 \n"), std::string::npos);
    EXPECT_NE(written.find("Model = Vaultix-Q4 \n"), std::string::npos);
    // The 0 MB drive is counted but not written.
    EXPECT_NE(written.find("Total_Number_Of_Physicals = 3\n"), std::string::npos);
    EXPECT_NE(written.find("Channel.2 = 1\nID.2 = 1\nSize.2 = 70000\nType.2 = SCSI\n"), std::string::npos);
    EXPECT_EQ(written.find("Channel.3"), std::string::npos);
}

TEST_F(ArrayplanRun, ExistingOutputPolicyFileKeepsItsPolicies) {
    dir_.Write("inventory.ini", inventory("Vaultix-Q4", kTwoMirrorDrives));
    dir_.Write("policies.ini", kMirrorPolicy);
    const std::string existing = "[Policy.Earlier]\nAppliesTo.1 = t:Vaultix-Q1\n";
    dir_.Write("out-policies.ini", existing);
    ProgramResult result = run();
    ASSERT_EQ(result.status, 0) << result.out;
    EXPECT_EQ(dir_.Read("out-policies.ini").substr(0, existing.size()), existing);
}

TEST_F(ArrayplanRun, MissingOutputInventoryFailsAfterTheValidation) {
    dir_.Write("inventory.ini", inventory("Vaultix-Q4", kTwoMirrorDrives));
    dir_.Write("policies.ini", kMirrorPolicy);
    ProgramResult result = arrayplan({"/ini:" + dir_ / "inventory.ini", "/inp:" + dir_ / "policies.ini",
                                      "/raid:" KIT_SOURCE_DIR "/data/raid"});
    EXPECT_EQ(result.status, 13);
    std::string tail =
        "Verifying output inventory file: ...\n##ERROR\n   Error opening output inventory file.\n";
    ASSERT_GE(result.out.size(), tail.size());
    EXPECT_EQ(result.out.substr(result.out.size() - tail.size()), tail);
}

TEST_F(ArrayplanRun, DebugTracesTheFileChecksAndDumpsControllers) {
    dir_.Write("inventory.ini", inventory("Vaultix-Q4", kTwoMirrorDrives));
    dir_.Write("policies.ini", kMirrorPolicy);
    ProgramResult result = run({"/debug"});
    ASSERT_EQ(result.status, 0) << result.out;
    EXPECT_NE(result.out.find("70:checkFile(mode=r,FileName=" + dir_ / "inventory.ini" + ")\n"),
              std::string::npos);
    EXPECT_NE(result.out.find("***** DUMPING RAID CONTROLLER INFO *********\n"), std::string::npos);
    EXPECT_NE(result.out.find(" 3( 1, 2,-1,    ) 0MB\n"), std::string::npos);
}

TEST(ArrayplanSupportDirectory, FoundWithEitherSeparator) {
    TempDir dir;
    dir.Write("inventory.ini", inventory("Vaultix-M1", kTwoMirrorDrives));
    dir.Write("policies.ini", kMirrorPolicy);
    for (const char* raid :
         {"/raid:data/raid", "/raid:data/raid/", "/raid:data\\raid", "/raid:DATA\\RAID\\"}) {
        std::filesystem::remove(dir / "o.ini");
        ProgramResult result = arrayplan({"/ini:" + dir / "inventory.ini", "/inp:" + dir / "policies.ini",
                                          "/outi:" + dir / "o.ini", "/outp:" + dir / "p.ini", raid},
                                         KIT_SOURCE_DIR);
        EXPECT_EQ(result.status, 0) << raid << "\n" << result.out;
        EXPECT_TRUE(std::filesystem::exists(dir / "o.ini")) << raid;
    }
}

} // namespace
