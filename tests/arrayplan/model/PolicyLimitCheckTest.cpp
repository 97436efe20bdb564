#include "arrayplan/model/PolicyLimitCheck.h"
#include "arrayplan/model/RaidController.h"
#include "arrayplan/model/RunSettings.h"
#include "support/ConsoleCapture.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <deque>

namespace {

class PolicyLimitCheckTest : public testing::Test {
protected:
    PolicyLimitCheckTest() {
        dir_.Write("Vaultix-Q4.ini", "[RAIDController]\nModel = Vaultix-Q4\nStripeSizes = 16K,64K\n"
                                     "MaxArrays = 2\nRAIDLevels = 1,5\n"
                                     "[1]\nMinPhysicalDrives = 2\nMaxPhysicalDrives = 2\n"
                                     "[5]\nMaxPhysicalDrives = 4\nMaxLogicalDrives = 2\n");
        settings_.raidDirectory = (dir_.Path().string() + "/").c_str();
        settings_.debug = true;
        policy_.customArrays = true;
    }

    void addArray(int members) {
        arrays_.emplace_back();
        for (int i = 0; i < members; ++i)
            arrays_.back().addMember(1, i);
        policy_.arrays.push_back(&arrays_.back());
    }
    void addLogical(int arrayIndex, int level, int size = kSizeFill) {
        logicals_.push_back(RaidLogicalDrive{level, size, arrayIndex, kWriteCacheAuto});
        policy_.logicalDrives.push_back(&logicals_.back());
    }
    int check(int type = 1, int variant = 4) {
        return codeNumber(checkPolicyLimits(settings_, RaidController(type, variant), policy_));
    }

    TempDir dir_;
    RunSettings settings_;
    PolicyLayout policy_;
    std::deque<RaidArray> arrays_;
    std::deque<RaidLogicalDrive> logicals_;
};

TEST_F(PolicyLimitCheckTest, PolicyWithinTheLimitsPasses) {
    policy_.stripeSize = "64";
    addArray(4);
    addArray(2);
    addLogical(0, kRaid5, 20000);
    addLogical(0, kRaid5);
    addLogical(1, kRaid1);
    ConsoleCapture capture;
    EXPECT_EQ(check(), 0);
    EXPECT_EQ(capture.Out(), "");
}

TEST_F(PolicyLimitCheckTest, UnsupportedStripeSizeListsTheSupportedOnes) {
    policy_.stripeSize = "32";
    ConsoleCapture capture;
    EXPECT_EQ(check(), 5);
    EXPECT_EQ(capture.Out(),
              "\nSupported Stripe sizes for Vaultix-Q4 are: 16, 64\n289:Stripe Size not supported\n");
}

TEST_F(PolicyLimitCheckTest, NoStripeSizesListedSupportsNone) {
    dir_.Write("Vaultix-Q5.ini", "[RAIDController]\nModel = Vaultix-Q5\nRAIDLevels = 5\n");
    policy_.stripeSize = "64";
    ConsoleCapture capture;
    EXPECT_EQ(check(1, 5), 5);
    EXPECT_EQ(capture.Out(),
              "\nSupported Stripe sizes for Vaultix-Q5 are: \n289:Stripe Size not supported\n");
}

TEST_F(PolicyLimitCheckTest, AutoArrayModePassesAfterTheStripeTest) {
    policy_.customArrays = false;
    addArray(9);
    addLogical(0, kRaid10);
    ConsoleCapture capture;
    EXPECT_EQ(check(), 0);
}

TEST_F(PolicyLimitCheckTest, LevelMissingFromTheFileFailsBeforeAnyCount) {
    addArray(9);
    addLogical(0, kRaid5);
    addLogical(0, kRaid10);
    ConsoleCapture capture;
    EXPECT_EQ(check(), 4);
    EXPECT_EQ(capture.Out(), "\nSupported RAID levels for Vaultix-Q4 are: 1, 5\n309:Logical.1\n\n");
}

TEST_F(PolicyLimitCheckTest, PartialSizingOnlyWhereTheTypeAllowsIt) {
    addArray(3);
    addLogical(0, kRaid5, -50);
    dir_.Write("Corvane-SCSI-RAID.ini", "[RAIDController]\nRAIDLevels = 5\n");
    ConsoleCapture capture;
    EXPECT_EQ(check(5, -1), 17);
    EXPECT_EQ(capture.Out(), "315:Controller doesn't support partial sizing\n");
    EXPECT_EQ(check(1, 4), 0);
}

TEST_F(PolicyLimitCheckTest, DriveAndLogicalCountsPerArray) {
    addArray(3);
    addArray(3);
    addLogical(0, kRaid5);
    addLogical(1, kRaid1);
    ConsoleCapture capture;
    EXPECT_EQ(check(), 7);
    EXPECT_EQ(capture.Out(), "328:Array.B contains 3 drives\n");

    arrays_[1].members.clear();
    arrays_[1].addMember(2, 0);
    arrays_[1].addMember(2, 1);
    addLogical(0, kRaid5);
    addLogical(0, kRaid5);
    capture.Clear();
    EXPECT_EQ(check(), 8);
    EXPECT_EQ(capture.Out(), "336:Array.A contains 3 logicals\n");
}

TEST_F(PolicyLimitCheckTest, NumberOfArrays) {
    for (int i = 0; i < 3; ++i) {
        addArray(2);
        addLogical(i, kRaid1);
    }
    ConsoleCapture capture;
    EXPECT_EQ(check(), 6);
    EXPECT_EQ(capture.Out(), "345:Policy contains 3 arrays\n");
}

TEST_F(PolicyLimitCheckTest, MissingSupportFileAndQuietWithoutDebug) {
    settings_.debug = false;
    policy_.stripeSize = "8";
    ConsoleCapture capture;
    EXPECT_EQ(check(), 5);
    EXPECT_EQ(capture.Out(), "\nSupported Stripe sizes for Vaultix-Q4 are: 16, 64\n");

    capture.Clear();
    EXPECT_EQ(check(1, 5), 3);
    EXPECT_NE(capture.Out().find("Vaultix-Q5.ini doesn't exists\n"), std::string::npos);
    EXPECT_NE(capture.Out().find("Error opening RAID support ini file\n"), std::string::npos);
}

} // namespace
