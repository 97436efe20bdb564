#include "arrayplan/model/RaidConfiguration.h"
#include "foundation/Console.h"
#include "support/ConsoleCapture.h"

#include <gtest/gtest.h>

namespace {

TEST(RaidConfiguration, SlotSetsRefuseAddsWhenFull) {
    RaidConfiguration configuration;
    for (int i = 0; i < 8; ++i)
        ASSERT_TRUE(configuration.addLogicalDrive(RaidLogicalDrive{}));
    EXPECT_FALSE(configuration.addLogicalDrive(RaidLogicalDrive{}));
    for (int i = 0; i < 16; ++i)
        ASSERT_TRUE(configuration.addArray(RaidArray{}));
    EXPECT_FALSE(configuration.addArray(RaidArray{}));
    EXPECT_EQ(configuration.arrayCount(), 16);
    EXPECT_EQ(configuration.arrayAt(16), nullptr);
    EXPECT_EQ(configuration.logicalDriveAt(-1), nullptr);
}

TEST(RaidConfiguration, OnlyTheFirstEightHotSparesAreReachable) {
    RaidConfiguration configuration;
    for (int i = 0; i < 16; ++i) {
        RaidHotSpare spare;
        spare.setDriveNumber(i + 1);
        ASSERT_TRUE(configuration.addHotSpare(spare));
    }
    EXPECT_FALSE(configuration.addHotSpare(RaidHotSpare{}));
    ASSERT_NE(configuration.hotSpareAt(7), nullptr);
    EXPECT_EQ(configuration.hotSpareAt(7)->driveNumber(), 8);
    EXPECT_EQ(configuration.hotSpareAt(8), nullptr);
}

TEST(RaidRecords, RangeCheckedSetters) {
    RaidHotSpare spare;
    EXPECT_FALSE(spare.setId(32));
    EXPECT_FALSE(spare.setId(-1));
    EXPECT_EQ(spare.id(), -1);
    EXPECT_TRUE(spare.setId(0));
    EXPECT_FALSE(spare.setDriveNumber(-2));
    EXPECT_EQ(spare.driveNumber(), -1);

    RaidArray array;
    for (int i = 0; i < 32; ++i)
        ASSERT_TRUE(array.addMember(1, i));
    EXPECT_FALSE(array.addMember(2, 0));
    EXPECT_EQ(array.memberCount(), 32);
}

TEST(RaidConfiguration, Dump) {
    RaidConfiguration configuration;
    configuration.stripeSize = 3;
    configuration.policyName = "Policy.A";
    RaidArray array;
    for (int id = 0; id < 5; ++id)
        array.addMember(1, id);
    configuration.addArray(array);
    RaidLogicalDrive fill;
    fill.arrayIndex = 0;
    configuration.addLogicalDrive(fill);
    RaidLogicalDrive sized;
    sized.arrayIndex = 0;
    sized.size = 2048;
    sized.raidLevel = kRaidSpanned;
    sized.writeCache = kWriteCacheOn;
    configuration.addLogicalDrive(sized);
    RaidHotSpare spare;
    spare.setChannel(2);
    spare.setId(7);
    configuration.addHotSpare(spare);

    ConsoleCapture capture;
    configuration.dump(Console::Instance());
    EXPECT_EQ(capture.Out(), "#### START Configuration dump ####\n"
                             "RebuildRate   = 0\n"
                             "StripeSize    = 3\n"
                             "ReadAhed      = 0\n"
                             "Init          = 0\n"
                             "Policy used   = Policy.A\n"
                             "Array A.  Drives in array (chan,sid):\n"
                             "\t(1,0)\t(1,1)\t(1,2)\t(1,3)\n\t(1,4)"
                             "Logical drive 0.  Logical drive info:\n"
                             "\tsize=FILL\n"
                             "\tarray = A\n"
                             "\traidlevel = ERROR\n"
                             "\twritecache = AUTO\n"
                             "Logical drive 1.  Logical drive info:\n"
                             "\tsize=2048\n"
                             "\tarray = A\n"
                             "\traidlevel = ERROR\n"
                             "\twritecache = ON\n"
                             "Hot-spare drive 0.  Hotspare info:\n\t(2,7)\n"
                             "\n"
                             "#### END Configuration dump ####\n");
}

} // namespace
