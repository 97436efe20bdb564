#include "arrayplan/planner/DrivePool.h"

#include "arrayplan/model/RaidController.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

std::vector<int> drvNums(const DrivePool& pool) {
    std::vector<int> numbers;
    for (int i = 0; i < pool.size(); ++i)
        numbers.push_back(pool.at(i).drvNum);
    return numbers;
}

TEST(DrivePool, ImportKeepsDrivesAboveZeroSmallestFirstInDiscoveryOrder) {
    RaidController controller(1, 4);
    controller.setDrive(0, 0, 100, "SCSI"); // channel 0 never counts
    controller.setDrive(1, 3, 300, "SCSI");
    controller.setDrive(1, 7, 0, "SCSI"); // numbered 2, never in the pool
    controller.setDrive(2, 0, 100, "SCSI");
    controller.setDrive(2, 1, 300, "SCSI");
    controller.setDrive(4, 31, 100, "SCSI");
    DrivePool pool;
    pool.importDrives(controller);
    EXPECT_EQ(drvNums(pool), std::vector<int>({3, 5, 1, 4}));
    EXPECT_EQ(pool.at(0).channel, 2);
    EXPECT_EQ(pool.at(0).id, 0);
    EXPECT_EQ(pool.at(1).channel, 4);
    EXPECT_EQ(pool.at(1).id, 31);
    EXPECT_FALSE(pool.at(0).allocated);
    EXPECT_EQ(pool.at(0).reservedArray, RaidPhysicalDrive::kNotReserved);
}

DrivePool poolOf(const std::vector<int>& sizes) {
    RaidController controller(1, 4);
    for (size_t i = 0; i < sizes.size(); ++i)
        controller.setDrive(1, static_cast<int>(i), sizes[i], "SCSI");
    DrivePool pool;
    pool.importDrives(controller);
    return pool;
}

TEST(DrivePool, CommonDriveSizeFindsTheNextSizeWithEnoughFreeDrives) {
    DrivePool pool = poolOf({10, 10, 10, 20, 20, 30});
    EXPECT_EQ(pool.commonDriveSize(2, 0), 10);
    EXPECT_EQ(pool.commonDriveSize(2, 10), 20);
    EXPECT_EQ(pool.commonDriveSize(2, 20), -1);
    EXPECT_EQ(pool.commonDriveSize(1, 20), 30);
    EXPECT_EQ(pool.commonDriveSize(3, 0), 10);
    EXPECT_EQ(pool.commonDriveSize(3, 9), 10);
    EXPECT_EQ(pool.commonDriveSize(4, 0), -1);
    EXPECT_EQ(pool.commonDriveSize(7, 0), -1);

    EXPECT_EQ(pool.allocateLargest(), 5);
    EXPECT_EQ(pool.commonDriveSize(1, 20), -1) << "the 30 is a hot spare now";
    EXPECT_EQ(pool.allocateNextOfSize(10), 0);
    EXPECT_EQ(pool.commonDriveSize(3, 0), -1);
    EXPECT_EQ(pool.commonDriveSize(2, 0), 10);
    EXPECT_EQ(pool.allocateNextOfSize(20), 3);
    EXPECT_EQ(pool.commonDriveSize(2, 10), -1);
    EXPECT_EQ(pool.commonDriveSize(1, 10), 20);
}

} // namespace
