#include "arrayplan/model/RaidController.h"
#include "arrayplan/model/ControllerList.h"
#include "foundation/Console.h"
#include "support/ConsoleCapture.h"

#include <gtest/gtest.h>

namespace {

// Drives on channel 0, an empty-typed 0 MB drive, and drives out of ID order within a channel.
RaidController mixedController() {
    RaidController controller(1, 4);
    controller.setDrive(0, 0, 36000, "SCSI");
    controller.setDrive(1, 5, 72000, "SCSI");
    controller.setDrive(1, 2, 36000, "SCSI");
    controller.setDrive(2, 0, 0, "");
    controller.setDrive(3, 31, 146000, "SAS");
    return controller;
}

TEST(RaidController, DrivesAreCountedAndNumberedOnChannelsOneToFourOnly) {
    RaidController controller = mixedController();
    EXPECT_EQ(controller.driveCount(), 4) << "channel 0 is not counted, a 0 MB drive is";
    EXPECT_EQ(controller.driveNumber(1, 2), 1);
    EXPECT_EQ(controller.driveNumber(1, 5), 2);
    EXPECT_EQ(controller.driveNumber(2, 0), 3);
    EXPECT_EQ(controller.driveNumber(3, 31), 4);
    EXPECT_EQ(controller.driveNumber(0, 0), -1);
    EXPECT_EQ(controller.driveNumber(1, 3), -1);

    for (int number = 1; number <= 4; ++number) {
        int channel = -1, id = -1;
        ASSERT_TRUE(controller.findDriveNumber(number, channel, id));
        EXPECT_EQ(controller.driveNumber(channel, id), number);
    }
    int channel = -1, id = -1;
    EXPECT_FALSE(controller.findDriveNumber(5, channel, id));
    EXPECT_FALSE(controller.findDriveNumber(0, channel, id));
}

TEST(RaidController, GridAndRangeChecks) {
    RaidController controller(7, 1);
    EXPECT_FALSE(controller.setDrive(5, 0, 100, ""));
    EXPECT_FALSE(controller.setDrive(1, 32, 100, ""));
    EXPECT_FALSE(controller.setDrive(-1, 0, 100, ""));
    EXPECT_EQ(controller.driveCount(), 0);
    EXPECT_EQ(controller.drive(4, 32), nullptr);
    EXPECT_EQ(controller.driveSize(1, 1), -1);

    EXPECT_TRUE(controller.setDrive(4, 31, 100, "SAS", 9));
    EXPECT_EQ(controller.drive(4, 31)->targetNumber, 9);
    EXPECT_TRUE(controller.setReserved(4, 31, true));
    EXPECT_TRUE(controller.isReserved(4, 31));
    EXPECT_FALSE(controller.setReserved(4, 32, true));

    EXPECT_FALSE(controller.setScanOrder(0));
    EXPECT_FALSE(controller.setScanOrder(16));
    EXPECT_TRUE(controller.setScanOrder(15));
    EXPECT_EQ(controller.scanOrder(), 15);
    EXPECT_STREQ(controller.modelName(), "Vaultix-S4");
}

TEST(RaidController, DumpListsCountedDrivesAndTheConfiguration) {
    RaidController controller = mixedController();
    controller.setBiosVersion("1.2");
    controller.setScanOrder(2);
    auto configuration = std::make_unique<RaidConfiguration>();
    configuration->policyName = "Policy.Web";
    configuration->addLogicalDrive(RaidLogicalDrive{});
    controller.setConfiguration(std::move(configuration));

    ConsoleCapture capture;
    controller.dump(Console::Instance(), false);
    EXPECT_EQ(capture.Out(), "***** DUMPING RAID CONTROLLER INFO *********\n"
                             "Type:       1\n"
                             "BIOSVersion =1.2 \n"
                             "FirmwareVersion = \n"
                             "Scan order: 2\n"
                             "Number of Drives=4\n"
                             "Drives:\nnth=(chan,sid,tid,type) size\n"
                             " 1( 1, 2,-1,SCSI) 36000MB\n"
                             " 2( 1, 5,-1,SCSI) 72000MB\n"
                             " 3( 2, 0,-1,    ) 0MB\n"
                             " 4( 3,31,-1, SAS) 146000MB\n"
                             "\n");
    capture.Clear();
    controller.dump(Console::Instance(), true);
    EXPECT_NE(capture.Out().find("#### START Configuration dump ####\n"), std::string::npos);
    EXPECT_NE(capture.Out().find("Policy used   = Policy.Web\n"), std::string::npos);
}

TEST(ControllerList, HoldsTwentySixControllersAndWalksInOrder) {
    ControllerList list;
    for (int i = 0; i < ControllerList::kMaxControllers; ++i)
        ASSERT_TRUE(list.add(std::make_unique<RaidController>(1, i)));
    EXPECT_FALSE(list.add(std::make_unique<RaidController>(2, -1)));
    EXPECT_FALSE(list.put(26, std::make_unique<RaidController>(2, -1)));
    EXPECT_EQ(list.size(), 26);

    list.rewind();
    int walked = 0;
    while (RaidController* controller = list.next())
        EXPECT_EQ(controller->variant(), walked++);
    EXPECT_EQ(walked, 26);
    EXPECT_EQ(list.next(), nullptr);
    EXPECT_EQ(list.at(26), nullptr);

    ControllerList gap;
    gap.put(0, std::make_unique<RaidController>(1, 1));
    gap.put(2, std::make_unique<RaidController>(1, 3));
    EXPECT_EQ(gap.size(), 1) << "a walk stops at the first empty slot";
}

} // namespace
