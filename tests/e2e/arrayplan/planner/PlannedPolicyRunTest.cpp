// arrayplan runs with policies that give drive counts: the planner picks each controller's drives and
// sizes, and the outputs show the plan.
#include "tests/support/RunProgram.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

struct Drive {
    int channel;
    int id;
    int size;
};

struct Controller {
    std::string model;
    std::vector<Drive> drives;
};

std::string inventoryText(const std::vector<Controller>& controllers) {
    std::string text =
        "[System]\nMachine_Type = 8837\nSerial_Number = KQ4711X\nTotal_Number_Of_Controllers = " +
        std::to_string(controllers.size()) + "\n";
    for (size_t c = 0; c < controllers.size(); ++c) {
        std::string section = "RAIDController." + std::to_string(c + 1);
        text += "\n[" + section + "]\nModel = " + controllers[c].model + "\n\n[" + section +
                ".Physical]\nTotal_Number_Of_Physicals = " + std::to_string(controllers[c].drives.size()) +
                "\n";
        for (size_t d = 0; d < controllers[c].drives.size(); ++d) {
            std::string n = std::to_string(d + 1);
            const Drive& drive = controllers[c].drives[d];
            text += "Channel." + n + " = " + std::to_string(drive.channel) + "\nID." + n + " = " +
                    std::to_string(drive.id) + "\nSize." + n + " = " + std::to_string(drive.size) +
                    "\nType." + n + " = SAS\n";
        }
    }
    return text;
}

std::vector<Drive> drivesOn(int channel, int firstId, int count, int size) {
    std::vector<Drive> drives;
    for (int i = 0; i < count; ++i)
        drives.push_back(Drive{channel, firstId + i, size});
    return drives;
}

std::vector<Drive> join(std::vector<Drive> a, const std::vector<Drive>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

// The lines of a file from the one that equals first up to the next empty line.
std::string block(const std::string& text, const std::string& first) {
    size_t start = text.find(first + "\n");
    if (start == std::string::npos)
        return "";
    size_t end = text.find("\n\n", start);
    return text.substr(start, end == std::string::npos ? std::string::npos : end + 1 - start);
}

// The lines of a file that start with prefix, in order.
std::string linesStartingWith(const std::string& text, const std::string& prefix) {
    std::string found;
    size_t at = 0;
    while (at < text.size()) {
        size_t end = text.find('\n', at);
        std::string line = text.substr(at, end == std::string::npos ? std::string::npos : end + 1 - at);
        if (line.compare(0, prefix.size(), prefix) == 0)
            found += line;
        if (end == std::string::npos)
            break;
        at = end + 1;
    }
    return found;
}

class PlannedPolicyRun : public testing::Test {
protected:
    ProgramResult run(const std::vector<Controller>& controllers, const std::string& policies,
                      const std::vector<std::string>& extra = {}) {
        dir_.Write("inventory.ini", inventoryText(controllers));
        dir_.Write("policies.ini", policies);
        std::vector<std::string> args = {
            "/ini:" + ProgramPath(dir_ / "inventory.ini"), "/inp:" + ProgramPath(dir_ / "policies.ini"),
            "/outi:" + ProgramPath(dir_ / "out.ini"), "/outp:" + ProgramPath(dir_ / "out-policies.ini"),
            "/raid:" + ProgramPath(dir_.CopyIn(KIT_SOURCE_DIR "/data/raid", "raid"))};
        args.insert(args.end(), extra.begin(), extra.end());
        return RunProgram(BuiltProgram("arrayplan"), args);
    }
    std::string outputInventory() const { return ReadProgramText(dir_ / "out.ini"); }
    std::string outputPolicies() const { return ReadProgramText(dir_ / "out-policies.ini"); }

    TempDir dir_;
};

// A mirror of two and a RAID 5 of as many drives as the planner likes, one hot spare.
const char* kMirrorAndRaid5 = "[Policy.Planned]\n"
                              "AppliesTo.1 = t:Vaultix-M1\n"
                              "Array_Defaults = 0%:1\n"
                              "Array.A = #2\n"
                              "Array.B = AUTO\n"
                              "Logical_Mode = CUSTOM\n"
                              "Logical.1 = A:FILL:1\n"
                              "Logical.2 = B:50%:5\n"
                              "Logical.3 = B:FILL:5\n";

TEST_F(PlannedPolicyRun, TwoControllersOfOnePolicyAreEachPlannedFromThePolicyAsRead) {
    // The first: the mirror gives up the four small drives that the RAID 5 needs and takes two large ones.
    Controller first{"Vaultix-M1", join(drivesOn(1, 0, 4, 100000), drivesOn(1, 4, 3, 300000))};
    // The second: the large drives, the hot spare among them, are numbered first.
    Controller second{"Vaultix-M1", join(drivesOn(1, 0, 4, 500000), drivesOn(2, 0, 3, 200000))};
    ProgramResult result = run({first, second}, kMirrorAndRaid5);
    ASSERT_EQ(result.status, 0) << result.out;

    std::string inventory = outputInventory();
    EXPECT_EQ(block(inventory, "[RAIDController.1.Array]"),
              "[RAIDController.1.Array]\nTotal_Number_Of_Arrays = 2\nID.1 = A \nMembers.1 = 5,6 \n"
              "ID.2 = B \nMembers.2 = 1,2,3,4 \n");
    EXPECT_EQ(block(inventory, "[RAIDController.2.Array]"),
              "[RAIDController.2.Array]\nTotal_Number_Of_Arrays = 2\nID.1 = A \nMembers.1 = 5,6 \n"
              "ID.2 = B \nMembers.2 = 1,2,3 \n");
    EXPECT_NE(block(inventory, "[RAIDController.1.Logical]").find("Size.2 = 100000\n"), std::string::npos)
        << "50 % of three 100000 MB drives at RAID 5";
    EXPECT_NE(block(inventory, "[RAIDController.2.Logical]").find("Size.2 = 500000\n"), std::string::npos);

    std::string policies = outputPolicies();
    EXPECT_EQ(linesStartingWith(policies, "Array."),
              "Array.A = 5,6\nArray.B = 1,2,3,4\nArray.A = 5,6\nArray.B = 1,2,3\n");
    EXPECT_EQ(linesStartingWith(policies, "Hotspares"), "Hotspares = 7\nHotspares = 4\n");
    EXPECT_EQ(linesStartingWith(policies, "Logical."),
              "Logical.1 = A:FILL:1\nLogical.2 = B:100000:5\nLogical.3 = B:FILL:5\n"
              "Logical.1 = A:FILL:1\nLogical.2 = B:500000:5\nLogical.3 = B:FILL:5\n");
}

TEST_F(PlannedPolicyRun, DebugRunDumpsThePlan) {
    Controller controller{"Vaultix-M1", join(drivesOn(1, 0, 4, 100000), drivesOn(1, 4, 3, 300000))};
    ProgramResult result = run({controller}, kMirrorAndRaid5, {"/debug"});
    ASSERT_EQ(result.status, 0) << result.out;
    EXPECT_NE(result.out.find(":Dumping Arrays for debugging:\n"), std::string::npos) << result.out;
    EXPECT_NE(result.out.find(":Array.A=(nth=5:chan=1:id=4:size=300000),(nth=6:chan=1:id=5:size=300000),\n"),
              std::string::npos);
    EXPECT_NE(result.out.find(":Logical.2 = B:100000:3:2\n"), std::string::npos);
    EXPECT_NE(result.out.find(":HotSpares=7,\n"), std::string::npos);
}

TEST_F(PlannedPolicyRun, ZeroCountAndAutoPlanAlikeAndAZeroMegabyteDriveKeepsItsNumber) {
    Controller controller{"Vaultix-M1", join({Drive{1, 0, 0}}, drivesOn(1, 1, 5, 73000))};
    std::string policy = "[Policy.Planned]\nAppliesTo.1 = ALL\nArray.A = %s\nLogical_Mode = CUSTOM\n"
                         "Logical.1 = A:100000:5\n";
    for (const char* count : {"AUTO", "#0"}) {
        std::string text = policy;
        text.replace(text.find("%s"), 2, count);
        ProgramResult result = run({controller}, text);
        ASSERT_EQ(result.status, 0) << count << "\n" << result.out;
        EXPECT_EQ(linesStartingWith(outputPolicies(), "Array."), "Array.A = 2,3,4,5,6\n") << count;
        EXPECT_NE(outputInventory().find("Members.1 = 2,3,4,5,6 \n"), std::string::npos) << count;
        std::remove((dir_ / "out-policies.ini").c_str());
    }
}

TEST_F(PlannedPolicyRun, PlannerFailuresEndTheRunWithTheirCode) {
    Controller controller{"Vaultix-M1", join(drivesOn(1, 0, 3, 36000), drivesOn(1, 3, 1, 73000))};
    ProgramResult result =
        run({controller}, "[Policy.P]\nAppliesTo.1 = ALL\nArray.A = #2\nArray.B = #2\nLogical_Mode = CUSTOM\n"
                          "Logical.1 = A:FILL:1\nLogical.2 = B:FILL:1\n");
    EXPECT_EQ(result.status, 10);
    EXPECT_NE(
        result.out.find("##ERROR\n   Not enough same size drives to accommodate requested configuration\n"),
        std::string::npos)
        << result.out;

    result = run({controller}, "[Policy.P]\nAppliesTo.1 = ALL\nArray_Defaults = 0%:5\nArray.A = AUTO\n"
                               "Logical_Mode = CUSTOM\nLogical.1 = A:FILL:0\n");
    EXPECT_EQ(result.status, 9);
    EXPECT_NE(result.out.find("##ERROR\n   Not enough available drives to allocate hot spares\n"),
              std::string::npos)
        << result.out;
}

} // namespace
