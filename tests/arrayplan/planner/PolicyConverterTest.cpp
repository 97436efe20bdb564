#include "PlannerFixture.h"

#include <gmock/gmock.h>

using testing::ElementsAre;
using testing::HasSubstr;
using Drives = std::vector<int>;

namespace {

TEST_F(PlannerTest, TwoMirrorsShareTheSmallerDrivesWhileTheyLast) {
    addDrives(36000, 4);
    addDrives(73000, 2);
    addArray(2);
    addArray(2);
    addLogical(0, kRaid1);
    addLogical(1, kRaid1);
    ASSERT_EQ(plan(), 0);
    EXPECT_EQ(arrayDrives(0), Drives({1, 2}));
    EXPECT_EQ(arrayDrives(1), Drives({3, 4}));
    EXPECT_EQ(planned_.arrayCount(), 2);
    EXPECT_EQ(planned_.arrayMode, Policy::kModeCustom);
    EXPECT_EQ(logicalSize(0), kSizeFill);
    EXPECT_EQ(logicalSize(1), kSizeFill);
    EXPECT_TRUE(hotSpares().empty());
    EXPECT_EQ(out_, "") << "nothing is printed without /debug";
}

TEST_F(PlannerTest, SecondMirrorTakesTheLargerDrivesWhenTheSmallerRunOut) {
    addDrives(36000, 3);
    addDrives(73000, 2);
    addArray(2);
    addArray(2);
    addLogical(0, kRaid1);
    addLogical(1, kRaid1);
    ASSERT_EQ(plan(), 0);
    EXPECT_EQ(arrayDrives(0), Drives({1, 2}));
    EXPECT_EQ(arrayDrives(1), Drives({4, 5}));
}

TEST_F(PlannerTest, AutoArrayGrowsUntilItsLogicalDrivesFitThenFillsToTheLevelMaximum) {
    addDrives(73000, 8);
    addArray(0);
    addLogical(0, kRaid5, 200000);
    addLogical(0, kRaid5, -10);
    ASSERT_EQ(plan(), 0);
    EXPECT_EQ(arrayDrives(0), Drives({1, 2, 3, 4, 5, 6})) << "4 drives hold 200000 MB, the fill adds up to 6";
    EXPECT_EQ(logicalSize(0), 200000);
    EXPECT_EQ(logicalSize(1), 21900) << "percentages refer to the 4 drives chosen, not to the filled array";
}

TEST_F(PlannerTest, FixedCountMirrorDropsASizeTooSmallInsteadOfGrowing) {
    addDrives(36000, 2);
    addDrives(73000, 2);
    addArray(2);
    addLogical(0, kRaid1, 50000);
    ASSERT_EQ(plan(), 0);
    EXPECT_EQ(arrayDrives(0), Drives({3, 4}));
    EXPECT_EQ(logicalSize(0), 50000);
}

TEST_F(PlannerTest, FixedCountArrayNeverGrows) {
    addDrives(36000, 6);
    addArray(3);
    addLogical(0, kRaid5, 100000); // three drives give 72000
    EXPECT_EQ(plan(), 10);
}

TEST_F(PlannerTest, HotSparesAreTheLargestDrivesUpToTheModelsMaximumListedAscending) {
    for (int size : {36000, 146000, 73000, 146000, 36000, 36000})
        addDrives(size, 1);
    policy_.arrayDefaultHotSpares = 3; // the model allows 2
    auto given = std::make_unique<RaidHotSpare>();
    given->setDriveNumber(1);
    policy_.addHotSpare(std::move(given));
    addArray(0);
    addLogical(0, kRaid0);
    ASSERT_EQ(plan(), 0);
    EXPECT_EQ(hotSpares(), Drives({2, 4})) << "the planned hot spares replace the policy's";
    EXPECT_EQ(arrayDrives(0), Drives({1, 5, 6}));
}

TEST_F(PlannerTest, AZeroMegabyteDriveKeepsItsNumberButIsNeverChosen) {
    controller_.setDrive(1, 0, 0, "SCSI");
    controller_.setDrive(1, 1, 36000, "SCSI");
    controller_.setDrive(2, 4, 36000, "SCSI");
    controller_.setDrive(2, 5, 36000, "SCSI");
    policy_.arrayDefaultHotSpares = 1;
    addArray(2);
    addLogical(0, kRaid1);
    ASSERT_EQ(plan(), 0);
    EXPECT_EQ(arrayDrives(0), Drives({2, 3}));
    EXPECT_EQ(hotSpares(), Drives({4}));
}

struct SizingCase {
    int maxLogicalDriveSize;
    int ldSize;
    int expected;
};

class LogicalSizing : public PlannerTest, public testing::WithParamInterface<SizingCase> {};

// A mirror of two 146000 MB drives: data space 146000.
TEST_P(LogicalSizing, SizeOnAMirrorOf146000) {
    addDrives(146000, 2);
    addArray(2);
    policy_.maxLogicalDriveSize = GetParam().maxLogicalDriveSize;
    addLogical(0, kRaid1, GetParam().ldSize);
    ASSERT_EQ(plan(), 0);
    EXPECT_EQ(logicalSize(0), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(PlannerTest, LogicalSizing,
                         testing::Values(SizingCase{-1, -50, 73000}, SizingCase{-1, -100, kSizeFill},
                                         SizingCase{-1, kSizeFill, kSizeFill}, SizingCase{-1, -1, 1460},
                                         SizingCase{-1, 146000, kSizeFill}, SizingCase{-1, 100000, 100000},
                                         SizingCase{100000, kSizeFill, 100000}, SizingCase{60000, -50, 60000},
                                         SizingCase{146000, kSizeFill, kSizeFill},
                                         SizingCase{200000, -50, 73000}, SizingCase{0, -50, 73000}));

TEST_F(PlannerTest, LargeDrivesAreSizedExactly) {
    addDrives(4000000, 16);
    addDrives(16777217, 3);
    addArray(16);
    addArray(3);
    addLogical(0, kRaid0, -50); // 50 % of 64 000 000 MB overflows a 32-bit product
    addLogical(0, kRaid0, -25);
    addLogical(1, kRaid5, -50); // single precision makes 33 554 434 MB 33 554 432
    ASSERT_EQ(plan(), 0);
    EXPECT_EQ(logicalSize(0), 32000000);
    EXPECT_EQ(logicalSize(1), 16000000);
    EXPECT_EQ(logicalSize(2), 16777217);
}

TEST_F(PlannerTest, WithoutPartialSizingEveryLogicalDriveFillsItsArray) {
    dir_.Write("Vaultix-R2-SATA.ini", kSupportFile);
    controller_.setType(3);
    addDrives(73000, 4);
    addArray(2);
    addArray(2);
    addLogical(0, kRaid1, -100);
    addLogical(1, kRaid1);
    ASSERT_EQ(plan(), 0);
    EXPECT_EQ(logicalSize(0), kSizeFill);
    EXPECT_EQ(logicalSize(1), kSizeFill);
}

TEST_F(PlannerTest, DebugShowsTheStepsAndDumpsThePlan) {
    settings_.debug = true;
    addDrives(36000, 3);
    addDrives(1234567890, 16);
    policy_.arrayDefaultHotSpares = 1;
    addArray(2);
    addLogical(0, kRaid1, -50);
    addArray(15);
    addLogical(1, kRaid0);
    ASSERT_EQ(plan(), 0);
    EXPECT_THAT(out_, HasSubstr(":allocateArray(arrayNum=1) start\n"));
    EXPECT_THAT(out_, HasSubstr(":getCommonDriveSize returning driveSize=36000\n"));
    EXPECT_THAT(out_, HasSubstr(":computeDataSpace end DataSpace=36000\n"));
    EXPECT_THAT(out_, HasSubstr(":HotSpares=19,\n"));
    EXPECT_THAT(out_, HasSubstr(":Dumping Arrays for debugging:\n"));
    EXPECT_THAT(out_, HasSubstr(":Array.A=(nth=1:chan=1:id=0:size=36000),(nth=2:chan=1:id=1:size=36000),\n"));
    std::string arrayB = ":Array.B=";
    for (int number = 4; number <= 18; ++number)
        arrayB += "(nth=" + std::to_string(number) + ":chan=1:id=" + std::to_string(number - 1) +
                  ":size=1234567890),";
    EXPECT_THAT(out_, HasSubstr(arrayB + "\n")) << "a long line is not cut";
    EXPECT_THAT(out_, HasSubstr(":Dumping Logical Drives for debugging:\n"));
    EXPECT_THAT(out_, HasSubstr(":Logical.1 = A:18000:1:2\n"));
    EXPECT_THAT(out_, HasSubstr(":Logical.2 = B:-101:0:2\n"));
}

// Failures, each with the code the run reports.

TEST_F(PlannerTest, MissingSupportFileIsCode3) {
    controller_.setType(2);
    addDrives(36000, 2);
    addArray(2);
    addLogical(0, kRaid1);
    EXPECT_EQ(plan(), 3);
    EXPECT_THAT(out_, HasSubstr("Error opening RAID support ini file\n"));
}

// One policy within the limits, each limit broken in turn; the checks come in the order of the codes'
// precedence: stripe size, arrays, levels, drive counts, logical drives.
TEST_F(PlannerTest, EachLimitOfTheSupportFileHasItsCode) {
    addDrives(36000, 4);
    addArray(2);
    RaidLogicalDrive* logical = addLogical(0, kRaid1);
    int& driveCount = *policy_.arrayAt(0)->driveNumbers.at(0);

    policy_.stripeSize = "32";
    EXPECT_EQ(plan(), 5);
    EXPECT_THAT(out_, HasSubstr("Supported Stripe sizes for Vaultix-Q4 are: 16, 64"));
    policy_.stripeSize = "64";
    logical->raidLevel = kRaidAuto;
    EXPECT_EQ(plan(), 4) << "no support file lists the level AUTO";
    logical->raidLevel = kRaid1;
    driveCount = 3;
    EXPECT_EQ(plan(), 7);
    driveCount = 2;
    EXPECT_EQ(plan(), 0);
    addLogical(0, kRaid1, -30);
    addLogical(0, kRaid1, -30);
    EXPECT_EQ(plan(), 8);
    addArray(2);
    addArray(2);
    addArray(2);
    EXPECT_EQ(plan(), 6);
    addLogical(1, kRaid1);
    EXPECT_EQ(plan(), 6);
}

TEST_F(PlannerTest, ArrayWithoutALogicalDriveHasNoLevel) {
    addDrives(36000, 4);
    addArray(2);
    addArray(2);
    addLogical(0, kRaid1);
    EXPECT_EQ(plan(), 4);
}

TEST_F(PlannerTest, MoreHotSparesThanDrivesIsCode9) {
    addDrives(36000, 1);
    policy_.arrayDefaultHotSpares = 2;
    addArray(0);
    addLogical(0, kRaid0);
    EXPECT_EQ(plan(), 9);
}

TEST_F(PlannerTest, ControllerWithoutDrivesIsCode10) {
    addArray(0);
    addLogical(0, kRaid0);
    EXPECT_EQ(plan(), 10);
}

TEST_F(PlannerTest, PartialSizeWhereNotAllowedOrSizeZeroIsCode17) {
    addDrives(36000, 2);
    addArray(2);
    RaidLogicalDrive* logical = addLogical(0, kRaid1, 0);
    EXPECT_EQ(plan(), 17);

    dir_.Write("Vaultix-R2-SATA.ini", kSupportFile);
    controller_.setType(3);
    logical->size = -50;
    EXPECT_EQ(plan(), 17);
}

// 128 drives, eight arrays: the depth-first search has astronomically many ways to fail here.
class LargePlannerTest : public PlannerTest {
protected:
    LargePlannerTest() {
        dir_.Write("Vaultix-Q4.ini", "[RAIDController]\nMaxArrays = 8\nRAIDLevels = 0,1\n"
                                     "[1]\nMinPhysicalDrives = 2\nMaxPhysicalDrives = 2\n");
    }
    void addArrays(int count, int driveCount, int level) {
        for (int i = 0; i < count; ++i) {
            addLogical(policy_.arrayCount(), level);
            addArray(driveCount);
        }
    }
    void addDistinctDrives(int count) {
        for (int i = 0; i < count; ++i)
            addDrives(1000 + 10 * i, 1);
    }
};

TEST_F(LargePlannerTest, NoMirrorCandidateAmongDistinctSizesFails) {
    addDistinctDrives(128);
    addArrays(7, 1, kRaid0);
    addArrays(1, 2, kRaid1);
    EXPECT_EQ(plan(), 10);
}

TEST_F(LargePlannerTest, TwoMirrorsCompetingForOnePairFail) {
    addDrives(500, 2);
    addDistinctDrives(126);
    addArrays(6, 1, kRaid0);
    addArrays(2, 2, kRaid1);
    EXPECT_EQ(plan(), 10);
}

TEST_F(LargePlannerTest, SingleDrivesLeaveTheOnlyPairsToTheMirrors) {
    addDrives(500, 4);
    addDistinctDrives(124);
    addArrays(6, 1, kRaid0);
    addArrays(2, 2, kRaid1);
    ASSERT_EQ(plan(), 0);
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(arrayDrives(i), Drives({5 + i}));
    EXPECT_EQ(arrayDrives(6), Drives({1, 2}));
    EXPECT_EQ(arrayDrives(7), Drives({3, 4}));
}

} // namespace
