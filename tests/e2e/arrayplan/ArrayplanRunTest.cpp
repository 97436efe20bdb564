#include "support/RunProgram.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <utility>
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
    // A file of the folder as the program under test takes and prints it.
    std::string path(const std::string& name) const { return ProgramPath(dir_ / name); }
    // A copy of the shipped support files, as the program under test names the folder and echoes it.
    std::string shippedSupportFiles() const {
        return ProgramPath(dir_.CopyIn(KIT_SOURCE_DIR "/data/raid", "raid"));
    }

    ProgramResult run(const std::vector<std::string>& extra = {}) {
        std::vector<std::string> args = {"/ini:" + path("inventory.ini"), "/inp:" + path("policies.ini"),
                                         "/outi:" + path("out-inventory.ini"),
                                         "/outp:" + path("out-policies.ini"),
                                         "/raid:" + shippedSupportFiles()};
        args.insert(args.end(), extra.begin(), extra.end());
        return arrayplan(args);
    }
    std::string echo() const {
        return "Input inventory file:  " + path("inventory.ini") +
               " \nInput policy file:     " + path("policies.ini") +
               " \nOutput inventory file: " + path("out-inventory.ini") +
               " \nOutput policy file:    " + path("out-policies.ini") +
               " \nRAID Support Files Directory Path:" + shippedSupportFiles() + "\\ \n";
    }
    std::string tailOf(const std::string& out, size_t size) const {
        return out.size() < size ? out : out.substr(out.size() - size);
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
    // The run's message, then the file with the system's reason.
    EXPECT_EQ(result.out, echo() + "Verifying input inventory file:" + path("inventory.ini") +
                              " ...\n##ERROR\n   Error opening input inventory file.\n" +
                              path("inventory.ini") + ": No such file or directory\n");
}

TEST_F(ArrayplanRun, InventoryWithoutControllers) {
    dir_.Write("inventory.ini", "[System]\nTotal_Number_Of_Controllers = 0\n");
    dir_.Write("policies.ini", kMirrorPolicy);
    ProgramResult result = run();
    EXPECT_EQ(result.status, 3);
    EXPECT_EQ(result.out, echo() + "Verifying input inventory file:" + path("inventory.ini") +
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
    std::string unknownTail =
        "Processing input inventory file ...\n##ERROR\n   Unsupported controller type\n";
    EXPECT_EQ(tailOf(unknown.out, unknownTail.size()), unknownTail);

    dir_.Write(
        "inventory.ini",
        inventory("Vaultix-Q4", "Total_Number_Of_Physicals = 1\nChannel.1 = 7\nID.1 = 0\nSize.1 = 70000\n"));
    ProgramResult channel = run();
    EXPECT_EQ(channel.status, 2);
    std::string tail = "Processing input inventory file ...\n"
                       "##ERROR\n   RAIDController.1.Physical, drive 1: channel 7 is outside 0..4\n"
                       "##ERROR\n   Error parsing input inventory file.\n";
    EXPECT_EQ(tailOf(channel.out, tail.size()), tail);
}

TEST_F(ArrayplanRun, MissingSupportFile) {
    dir_.Write("inventory.ini", inventory("Vaultix-Q4", kTwoMirrorDrives));
    dir_.Write("policies.ini", kMirrorPolicy);
    ProgramResult result =
        arrayplan({"/ini:" + path("inventory.ini"), "/inp:" + path("policies.ini"), "/outi:" + path("o.ini"),
                   "/outp:" + path("p.ini"), "/raid:" + path("none")});
    EXPECT_EQ(result.status, 3);
    EXPECT_NE(result.out.find("Processing input policy file ...\n"), std::string::npos);
    std::string tail = "Error opening RAID support ini file for Controller:Vaultix-Q4\n" + path("none") +
                       "\\Vaultix-Q4.ini: No such file or directory\n"
                       "##ERROR\n   Unsupported controller type\n";
    EXPECT_EQ(tailOf(result.out, tail.size()), tail);
    EXPECT_FALSE(std::filesystem::exists(dir_ / "o.ini"));
}

TEST_F(ArrayplanRun, WritesTheInventoryBackInCatalogueForm) {
    dir_.Write("inventory.ini", inventory("vAULTIX-q4", kTwoMirrorDrives));
    dir_.Write("policies.ini", kMirrorPolicy);
    ProgramResult result = run();
    ASSERT_EQ(result.status, 0) << result.out;
    EXPECT_EQ(tailOf(result.out, 21), "Validation Completed\n");
    std::string written = ReadProgramText(dir_ / "out-inventory.ini");
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
    EXPECT_EQ(ReadProgramText(dir_ / "out-policies.ini").substr(0, existing.size()), existing);
}

TEST_F(ArrayplanRun, MissingOutputInventoryFailsAfterTheValidation) {
    dir_.Write("inventory.ini", inventory("Vaultix-Q4", kTwoMirrorDrives));
    dir_.Write("policies.ini", kMirrorPolicy);
    ProgramResult result = arrayplan(
        {"/ini:" + path("inventory.ini"), "/inp:" + path("policies.ini"), "/raid:" + shippedSupportFiles()});
    EXPECT_EQ(result.status, 13);
    std::string tail =
        "Verifying output inventory file: ...\n##ERROR\n   Error opening output inventory file.\n";
    EXPECT_EQ(tailOf(result.out, tail.size()), tail);
}

TEST_F(ArrayplanRun, DebugTracesTheFileChecksAndDumpsControllers) {
    dir_.Write("inventory.ini", inventory("Vaultix-Q4", kTwoMirrorDrives));
    dir_.Write("policies.ini", kMirrorPolicy);
    ProgramResult result = run({"/debug"});
    ASSERT_EQ(result.status, 0) << result.out;
    EXPECT_NE(result.out.find("70:checkFile(mode=r,FileName=" + path("inventory.ini") + ")\n"),
              std::string::npos);
    EXPECT_NE(result.out.find("***** DUMPING RAID CONTROLLER INFO *********\n"), std::string::npos);
    EXPECT_NE(result.out.find(" 3( 1, 2,-1,    ) 0MB\n"), std::string::npos);
}

TEST(ArrayplanSupportDirectory, FoundWithEitherSeparatorAndAnyLetterCase) {
    TempDir dir;
    dir.Write("inventory.ini", inventory("Vaultix-M1", kTwoMirrorDrives));
    dir.Write("policies.ini", kMirrorPolicy);
    dir.CopyIn(KIT_SOURCE_DIR "/data/raid", "data/raid");
    // An empty directory means the folder the program runs in.
    const std::pair<const char*, const char*> cases[] = {
        {"/raid:data/raid", ""},    {"/raid:data/raid/", ""}, {"/raid:data\\raid", ""},
        {"/raid:DATA\\RAID\\", ""}, {"/raid:", "data/raid"},
    };
    for (const auto& [raid, workingFolder] : cases) {
        std::filesystem::remove(dir / "o.ini");
        ProgramResult result = arrayplan(
            {"/ini:" + ProgramPath(dir / "inventory.ini"), "/inp:" + ProgramPath(dir / "policies.ini"),
             "/outi:" + ProgramPath(dir / "o.ini"), "/outp:" + ProgramPath(dir / "p.ini"), raid},
            (dir.Path() / workingFolder).string());
        EXPECT_EQ(result.status, 0) << raid << "\n" << result.out;
        EXPECT_TRUE(std::filesystem::exists(dir / "o.ini")) << raid;
    }
}

} // namespace
