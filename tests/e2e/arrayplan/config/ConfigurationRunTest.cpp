// Whole arrayplan runs: configurations built from hand-written and planned policies, the output
// inventory and the appended output policy, and the codes of the configuration step.
#include "tests/support/RunProgram.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <regex>
#include <string>
#include <thread>
#include <vector>

namespace fs = std::filesystem;

namespace {

std::string sourceText(const std::string& relative) {
    return ReadWholeFile(std::string(KIT_SOURCE_DIR) + "/" + relative);
}

// The clock lines of generated headers, which differ from run to run, replaced by placeholders.
std::string withoutClock(const std::string& text) {
    static const std::regex date(R"(\(mm/dd/yyyy\): \d\d/\d\d/\d{4}\n)");
    static const std::regex time(R"(\(hh:mm:ss\):   \d\d:\d\d:\d\d\n)");
    return std::regex_replace(std::regex_replace(text, date, "(mm/dd/yyyy): DATE\n"), time,
                              "(hh:mm:ss):   TIME\n");
}

std::string header(const std::string& system, int controller, const std::string& model) {
    return "\n\n; *---------------------------------------------------------------*\n"
           "; * KLAMP auto-generated policy.\n"
           "; * Captured on (mm/dd/yyyy): DATE\n"
           "; * System time (hh:mm:ss):   TIME\n" +
           system + "; * Controller number:        " + std::to_string(controller) +
           "\n; * Controller type:          " + model +
           "\n; *---------------------------------------------------------------*\n\n";
}

const std::string kFileServerSystem = "; * System machine type:      8837\n"
                                      "; * System serial number:     KQ4711X\n";
const std::string kRackSystem = "; * System machine type:      7979\n"
                                "; * System serial number:     RK20817\n";

std::string fileServerPolicies(int first) {
    return header(kFileServerSystem, 1, "Vaultix-Q4") + "[Policy.AUTO-Vaultix-Q4-" + std::to_string(first) +
           "]\n\nAppliesTo.1 = t:Vaultix-Q4,d:5\n\n"
           "StripeSize = 64\nRebuildRate = HIGH\nReadAhead = ADAPTIVE\n\n"
           "Array_Mode = CUSTOM\nArray.A = 1,2,3\nArray.B = 4,5\n\n"
           "Logical_Mode = CUSTOM\nLogical.1 = A:20000:5\nLogical.2 = A:FILL:5\nLogical.3 = B:FILL:1\n\n" +
           header(kFileServerSystem, 2, "Vaultix-M1") + "[Policy.AUTO-Vaultix-M1-" + std::to_string(first) +
           "]\n\nAppliesTo.1 = t:Vaultix-M1,d:6\n\n"
           "StripeSize = 128\nReadAhead = ADAPTIVE\n\n"
           "Array_Mode = CUSTOM\nArray.A = 1,2,3,4\nArray.B = 5,6\n\n"
           "Logical_Mode = CUSTOM\nLogical.1 = A:286102:10\nLogical.2 = A:FILL:10\nLogical.3 = B:FILL:1\n\n";
}

std::string physicals(int controller, const std::vector<std::vector<std::string>>& drives) {
    std::string text = "\n[RAIDController." + std::to_string(controller) +
                       ".Physical]\nTotal_Number_Of_Physicals = " + std::to_string(drives.size()) + "\n";
    for (size_t p = 0; p < drives.size(); ++p) {
        std::string n = std::to_string(p + 1);
        text += "Channel." + n + " = " + drives[p][0] + "\nID." + n + " = " + drives[p][1] + "\nSize." + n +
                " = " + drives[p][2] + "\nType." + n + " = " + drives[p][3] + "\n";
    }
    return text;
}

const std::string kFileServerInventory =
    "[System]\nMachine_Type = 8837 \nSerial_Number = KQ4711X \nTotal_Number_Of_Controllers = 2 \n"
    "\n[RAIDController.1] \nModel = Vaultix-Q4 \nBIOSVersion = 5.2-0 [7419] \nFirmwareVersion = 5.2-0 [7419] "
    "\n"
    "StripeSize = 64 \n"
    "\n[RAIDController.1.Array]\nTotal_Number_Of_Arrays = 2\nID.1 = A \nMembers.1 = 1,2,3 \nID.2 = B \n"
    "Members.2 = 4,5 \n"
    "\n[RAIDController.1.Hotspares]\nTotal_Number_Of_Hotspares = 0\n"
    "\n[RAIDController.1.Logical]\nTotal_Number_Of_Logicals = 3\nArray.1 = A\nSize.1 = 20000\nRaid_Level.1 = "
    "5\n"
    "Array.2 = A\nSize.2 = 120014\nRaid_Level.2 = 5\nArray.3 = B\nSize.3 = 140013\nRaid_Level.3 = 1\n" +
    physicals(1, {{"1", "0", "70007", "SCSI"},
                  {"1", "1", "70007", "SCSI"},
                  {"1", "2", "70007", "SCSI"},
                  {"2", "0", "140013", "SCSI"},
                  {"2", "1", "140013", "SCSI"}}) +
    "\n[RAIDController.2] \nModel = Vaultix-M1 \nBIOSVersion = 2.10.0 \nFirmwareVersion = 2.10.0-112 \n"
    "StripeSize = 128 \n"
    "\n[RAIDController.2.Array]\nTotal_Number_Of_Arrays = 2\nID.1 = A \nMembers.1 = 1,2,3,4 \nID.2 = B \n"
    "Members.2 = 5,6 \n"
    "\n[RAIDController.2.Hotspares]\nTotal_Number_Of_Hotspares = 0\n"
    "\n[RAIDController.2.Logical]\nTotal_Number_Of_Logicals = 3\nArray.1 = A\nSize.1 = 286102\n"
    "Raid_Level.1 = 10\nArray.2 = A\nSize.2 = 286102\nRaid_Level.2 = 10\nArray.3 = B\nSize.3 = 953869\n"
    "Raid_Level.3 = 1\n" +
    physicals(2, {{"1", "0", "286102", "SAS"},
                  {"1", "1", "286102", "SAS"},
                  {"1", "2", "286102", "SAS"},
                  {"1", "3", "286102", "SAS"},
                  {"1", "4", "953869", "SATA"},
                  {"1", "5", "953869", "SATA"}});

// A run on copies of input files in a temporary folder, with a support-file folder of its own.
class ConfigurationRun : public testing::Test {
protected:
    ConfigurationRun() { dir_.CopyIn(std::string(KIT_SOURCE_DIR) + "/data/raid", "raid"); }

    std::string path(const std::string& name) const { return ProgramPath(dir_ / name); }

    // Runs on inventory and policies (files of the folder), writing out-<tag>.ini and out-<tag>-policies.ini.
    ProgramResult run(const std::string& inventory, const std::string& policies,
                      const std::string& tag = "a") {
        return RunProgram(BuiltProgram("arrayplan"),
                          {"/ini:" + path(inventory), "/inp:" + path(policies),
                           "/outi:" + path("out-" + tag + ".ini"),
                           "/outp:" + path("out-" + tag + "-policies.ini"), "/raid:" + path("raid")});
    }
    std::string outputInventory(const std::string& tag = "a") const {
        return ReadProgramText(dir_ / ("out-" + tag + ".ini"));
    }
    std::string outputPolicies(const std::string& tag = "a") const {
        return withoutClock(ReadProgramText(dir_ / ("out-" + tag + "-policies.ini")));
    }
    int temporaryFilesLeft() const {
        int count = 0;
        for (const auto& entry : fs::directory_iterator(dir_.Path() / "raid"))
            count += entry.path().filename().string().rfind("KLAMPM~~", 0) == 0 ? 1 : 0;
        return count;
    }
    static std::string tail(const std::string& text, const std::string& from) {
        size_t at = text.find(from);
        return at == std::string::npos ? "(" + from + " not found in)\n" + text : text.substr(at);
    }

    TempDir dir_;
};

TEST_F(ConfigurationRun, ExampleFileServerEndToEnd) {
    dir_.Write("inventory.ini", sourceText("examples/arrayplan/inventory.ini"));
    dir_.Write("policies.ini", sourceText("examples/arrayplan/policies.ini"));
    ProgramResult first = run("inventory.ini", "policies.ini");
    ASSERT_EQ(first.status, 0) << first.out;
    EXPECT_EQ(tail(first.out, "Creating"), "Creating KLAMP Configurations ...\n"
                                           "\tVaultix-Q4, controller 1 using policy:  Policy.FileServer-Q4\n"
                                           "\tVaultix-M1, controller 2 using policy:  Policy.Planned-M1\n"
                                           "Verifying output inventory file:" +
                                               path("out-a.ini") +
                                               " ...\nWriting output inventory file ...\n"
                                               "Verifying output policy file:" +
                                               path("out-a-policies.ini") +
                                               " ...\nWriting output policy file ...\n"
                                               "Checking syntax of current policies file: " +
                                               path("out-a-policies.ini") +
                                               " ...\n\tScanning policies ...\n"
                                               "Generating policies from captured configurations ...\n"
                                               "\tController 1:  Vaultix-Q4\n"
                                               "\t\tGenerating policy:  Policy.AUTO-Vaultix-Q4-1\n"
                                               "\tController 2:  Vaultix-M1\n"
                                               "\t\tGenerating policy:  Policy.AUTO-Vaultix-M1-1\n"
                                               "Validation Completed\n");
    EXPECT_EQ(outputInventory(), kFileServerInventory);
    EXPECT_EQ(outputPolicies(), fileServerPolicies(1));

    // A second run keeps what the file holds and appends under the next free names.
    ProgramResult second = run("inventory.ini", "policies.ini");
    ASSERT_EQ(second.status, 0) << second.out;
    EXPECT_EQ(outputPolicies(), fileServerPolicies(1) + fileServerPolicies(2));

    // The generated policies, read as input, give the same configuration again.
    fs::copy_file(dir_ / "out-a-policies.ini", dir_ / "generated.ini");
    ProgramResult again = run("inventory.ini", "generated.ini", "b");
    ASSERT_EQ(again.status, 0) << again.out;
    EXPECT_EQ(outputInventory("b"), kFileServerInventory);
    EXPECT_EQ(temporaryFilesLeft(), 0);
}

TEST_F(ConfigurationRun, ExampleRackWithAutomaticPoliciesEndToEnd) {
    dir_.Write("inventory.ini", sourceText("examples/arrayplan/rack-inventory.ini"));
    dir_.Write("policies.ini", sourceText("examples/arrayplan/rack-policies.ini"));
    ProgramResult result = run("inventory.ini", "policies.ini");
    ASSERT_EQ(result.status, 0) << result.out;
    EXPECT_NE(result.out.find("\tVaultix-R2-SCSI, controller 3 using policy:  No policy found.\n"
                              "Verifying output inventory file:"),
              std::string::npos)
        << result.out;
    EXPECT_NE(
        result.out.find("\tSkipped controller 3 -- controller is not configured.\nValidation Completed\n"),
        std::string::npos)
        << result.out;
    std::string vaultix = header(kRackSystem, 1, "Vaultix controller") +
                          "[Policy.AUTO-Vaultix_controller-1]\n\nAppliesTo.1 = t:Vaultix controller,d:7\n\n"
                          "StripeSize = 32\nRebuildRate = MED\nReadAhead = ON\n\n"
                          "Array_Mode = CUSTOM\nArray.A = 1,2,3,4\nArray.B = 5,6\n\nHotspares = 7\n\n"
                          "Logical_Mode = CUSTOM\nLogical.1 = A:FILL:5\nLogical.2 = B:FILL:1\n\n";
    std::string corvane = header(kRackSystem, 2, "Corvane-SAS-RAID") +
                          "[Policy.AUTO-Corvane-SAS-RAID-1]\n\nAppliesTo.1 = t:Corvane-SAS-RAID,d:5\n\n"
                          "Array_Mode = CUSTOM\nArray.A = 1,2,3,4\n\nHotspares = 5\n\n"
                          "Logical_Mode = CUSTOM\nLogical.1 = A:FILL:1E\n\n";
    EXPECT_EQ(outputPolicies(), vaultix + corvane);
    std::string inventory = outputInventory();
    EXPECT_NE(
        inventory.find("[RAIDController.1.Hotspares]\nTotal_Number_Of_Hotspares = 1\nPhysical.1 = 7 \n"),
        std::string::npos);
    EXPECT_NE(inventory.find("[RAIDController.2.Logical]\nTotal_Number_Of_Logicals = 1\nArray.1 = A\n"
                             "Size.1 = 146800\nRaid_Level.1 = 1E\n"),
              std::string::npos)
        << inventory;
    EXPECT_NE(inventory.find("[RAIDController.3.Array]\nTotal_Number_Of_Arrays = 0\n"), std::string::npos);

    // A model name with a blank reads back from the generated policy.
    fs::copy_file(dir_ / "out-a-policies.ini", dir_ / "generated.ini");
    ProgramResult again = run("inventory.ini", "generated.ini");
    ASSERT_EQ(again.status, 0) << again.out;
    EXPECT_EQ(outputInventory(), inventory);
}

TEST_F(ConfigurationRun, ControllersSharingAPlannedPolicyArePlannedAlike) {
    std::string inventory = sourceText("examples/arrayplan/inventory.ini");
    // The Vaultix-M1 a second time, as controller 3.
    size_t m1 = inventory.find("[RAIDController.2]");
    std::string secondM1 = inventory.substr(m1);
    for (const char* section : {"[RAIDController.2]", "[RAIDController.2.Physical]"}) {
        std::string renamed = section;
        renamed.replace(renamed.find('2'), 1, "3");
        secondM1.replace(secondM1.find(section), std::string(section).size(), renamed);
    }
    inventory.replace(inventory.find("Total_Number_Of_Controllers = 2"), 31,
                      "Total_Number_Of_Controllers = 3");
    dir_.Write("inventory.ini", inventory + "\n" + secondM1);
    dir_.Write("policies.ini", sourceText("examples/arrayplan/policies.ini"));
    ProgramResult result = run("inventory.ini", "policies.ini");
    ASSERT_EQ(result.status, 0) << result.out;
    std::string written = outputInventory();
    std::string second =
        written.substr(written.find("[RAIDController.2]"),
                       written.find("[RAIDController.3]") - written.find("[RAIDController.2]"));
    std::string third = written.substr(written.find("[RAIDController.3]"));
    for (std::string* text : {&second, &third}) {
        size_t at;
        while ((at = text->find("RAIDController.")) != std::string::npos)
            text->replace(at, 16, "C");
    }
    auto trimmed = [](std::string text) { return text.erase(text.find_last_not_of('\n') + 1); };
    EXPECT_EQ(trimmed(second), trimmed(third));
    EXPECT_NE(outputPolicies().find("[Policy.AUTO-Vaultix-M1-2]"), std::string::npos);
}

TEST_F(ConfigurationRun, FailuresOfTheConfigurationStep) {
    dir_.Write("inventory.ini", sourceText("examples/arrayplan/inventory.ini"));
    dir_.Write("none.ini", "[Policy.Other]\nAppliesTo.1 = t:Vaultix-S4\n");
    ProgramResult none = run("inventory.ini", "none.ini");
    EXPECT_EQ(none.status, 19);
    EXPECT_EQ(tail(none.out, "Creating"), "Creating KLAMP Configurations ...\n"
                                          "##ERROR\n   No Policy found that applies to input inventory\n");

    dir_.Write("spares.ini",
               "[Policy.Spares]\nAppliesTo.1 = t:Vaultix-Q4\nArray_Mode = CUSTOM\nArray.A = 1,2\n"
               "Hotspares = 9\nLogical_Mode = CUSTOM\nLogical.1 = A:FILL:1\n");
    ProgramResult spares = run("inventory.ini", "spares.ini");
    EXPECT_EQ(spares.status, 9);
    EXPECT_EQ(tail(spares.out, "Creating"),
              "Creating KLAMP Configurations ...\n"
              "\n#### ERROR\n\tPolicy.Spares, Hotspares -- The following drive does not exist:  9\n"
              "\tVaultix-Q4 controller.\n"
              "##ERROR\n   Not enough available drives to allocate hot spares\n");
    EXPECT_FALSE(fs::exists(dir_ / "out-a.ini"));
}

TEST_F(ConfigurationRun, FailedPolicyWriteLeavesTheExistingFileAsItWas) {
    dir_.Write("inventory.ini", sourceText("examples/arrayplan/inventory.ini"));
    dir_.Write("policies.ini", sourceText("examples/arrayplan/policies.ini"));
    const std::string existing = "; policies of an earlier run\n[Policy.Earlier]\nAppliesTo.1 = c:0\n";
    dir_.Write("out-a-policies.ini", existing);
    ProgramResult result = run("inventory.ini", "policies.ini");
    EXPECT_EQ(result.status, 16);
    EXPECT_NE(result.out.find("Invalid controller number"), std::string::npos) << result.out;
    EXPECT_NE(result.out.find("\n#### ERROR\n\tFORMAT:Error polyMaker->makePolicies "
                              "##ERROR\n   Error writing policy file.\n"),
              std::string::npos)
        << result.out;
    EXPECT_EQ(ReadWholeFile(dir_ / "out-a-policies.ini"), existing);
    EXPECT_EQ(outputInventory(), kFileServerInventory); // written before the policy step failed
}

TEST_F(ConfigurationRun, ParallelRunsShareTheSupportFolder) {
    dir_.Write("inventory.ini", sourceText("examples/arrayplan/inventory.ini"));
    dir_.Write("policies.ini", sourceText("examples/arrayplan/policies.ini"));
    dir_.Write("rack.ini", sourceText("examples/arrayplan/rack-inventory.ini"));
    dir_.Write("rack-policies.ini", sourceText("examples/arrayplan/rack-policies.ini"));
    for (int round = 0; round < 6; ++round) {
        ProgramResult fileServer, rack;
        std::thread first([&] { fileServer = run("inventory.ini", "policies.ini", "fileserver"); });
        std::thread second([&] { rack = run("rack.ini", "rack-policies.ini", "rack"); });
        first.join();
        second.join();
        ASSERT_EQ(fileServer.status, 0) << fileServer.out;
        ASSERT_EQ(rack.status, 0) << rack.out;
    }
    std::string policies = outputPolicies("fileserver");
    std::string expected;
    for (int round = 1; round <= 6; ++round)
        expected += fileServerPolicies(round);
    EXPECT_EQ(policies, expected);
    std::string rack = outputPolicies("rack");
    EXPECT_EQ(rack.find("Vaultix-Q4"), std::string::npos);
    EXPECT_NE(rack.find("[Policy.AUTO-Corvane-SAS-RAID-6]"), std::string::npos);
    EXPECT_EQ(temporaryFilesLeft(), 0);
}

} // namespace
