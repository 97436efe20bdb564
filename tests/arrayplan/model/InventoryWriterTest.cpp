#include "arrayplan/model/ControllerList.h"
#include "arrayplan/model/InventoryFile.h"
#include "arrayplan/model/OutputFile.h"
#include "arrayplan/model/RunSettings.h"
#include "support/ConsoleCapture.h"
#include "support/MemoryFileSystem.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

namespace {

RaidLogicalDrive logical(int arrayIndex, int level, int size) {
    return RaidLogicalDrive{level, size, arrayIndex, kWriteCacheAuto};
}

std::unique_ptr<RaidController> configuredController() {
    auto controller = std::make_unique<RaidController>(1, 4);
    controller->setBiosVersion("5.2-0");
    controller->setDrive(1, 0, 70000, "SCSI");
    controller->setDrive(1, 1, 72000, "");
    controller->setDrive(1, 2, 73000, "SCSI");
    controller->setDrive(2, 0, 0, "SCSI");
    controller->setDrive(2, 1, 140000, "SAS");
    controller->setDrive(3, 5, 146000, "SCSI");
    controller->setDrive(0, 3, 9000, "SCSI");
    auto configuration = std::make_unique<RaidConfiguration>();
    configuration->stripeSize = 3;
    RaidArray a;
    a.addMember(1, 0);
    a.addMember(1, 1);
    a.addMember(1, 2);
    configuration->addArray(a);
    RaidArray b;
    b.addMember(2, 1);
    configuration->addArray(b);
    configuration->addLogicalDrive(logical(0, kRaid5, 20000));
    configuration->addLogicalDrive(logical(0, kRaid5, kSizeFill));
    configuration->addLogicalDrive(logical(1, kRaid0, kSizeFill));
    RaidHotSpare spare;
    spare.setChannel(3);
    spare.setId(5);
    configuration->addHotSpare(spare);
    controller->setConfiguration(std::move(configuration));
    return controller;
}

TEST(InventoryWriter, WritesHardwareAndConfigurations) {
    ControllerList list;
    list.add(configuredController());
    auto plain = std::make_unique<RaidController>(12, 2);
    plain->setDrive(4, 0, 300000, "");
    list.add(std::move(plain));
    RunSettings settings;
    settings.machineType = "8837";
    settings.serialNumber = "KQ4711X";

    TempDir dir;
    OutputFile output(CString((dir / "out.ini").c_str()), "~arrayplan~");
    ASSERT_TRUE(output.open(settings));
    ASSERT_TRUE(writeInventory(settings, output, list));
    EXPECT_EQ(dir.Read("out.ini"), "[System]\n"
                                   "Machine_Type = 8837 \n"
                                   "Serial_Number = KQ4711X \n"
                                   "Total_Number_Of_Controllers = 2 \n"
                                   "\n[RAIDController.1] \n"
                                   "Model = Vaultix-Q4 \n"
                                   "BIOSVersion = 5.2-0 \n"
                                   "StripeSize = 64 \n"
                                   "\n[RAIDController.1.Array]\n"
                                   "Total_Number_Of_Arrays = 2\n"
                                   "ID.1 = A \n"
                                   "Members.1 = 1,2,3 \n"
                                   "ID.2 = B \n"
                                   "Members.2 = 5 \n"
                                   "\n[RAIDController.1.Hotspares]\n"
                                   "Total_Number_Of_Hotspares = 1\n"
                                   "Physical.1 = 6 \n"
                                   "\n[RAIDController.1.Logical]\n"
                                   "Total_Number_Of_Logicals = 3\n"
                                   "Array.1 = A\nSize.1 = 20000\nRaid_Level.1 = 5\n"
                                   "Array.2 = A\nSize.2 = 120000\nRaid_Level.2 = 5\n"
                                   "Array.3 = B\nSize.3 = 140000\nRaid_Level.3 = 0\n"
                                   "\n[RAIDController.1.Physical]\n"
                                   "Total_Number_Of_Physicals = 6\n"
                                   "Channel.1 = 1\nID.1 = 0\nSize.1 = 70000\nType.1 = SCSI\n"
                                   "Channel.2 = 1\nID.2 = 1\nSize.2 = 72000\nType.2 = SCSI\n"
                                   "Channel.3 = 1\nID.3 = 2\nSize.3 = 73000\nType.3 = SCSI\n"
                                   "Channel.4 = 2\nID.4 = 1\nSize.4 = 140000\nType.4 = SAS\n"
                                   "Channel.5 = 3\nID.5 = 5\nSize.5 = 146000\nType.5 = SCSI\n"
                                   "\n[RAIDController.2] \n"
                                   "Model = Vaultix-M1 \n"
                                   "\n[RAIDController.2.Array]\n"
                                   "Total_Number_Of_Arrays = 0\n"
                                   "\n[RAIDController.2.Hotspares]\n"
                                   "Total_Number_Of_Hotspares = 0\n"
                                   "\n[RAIDController.2.Logical]\n"
                                   "Total_Number_Of_Logicals = 0\n"
                                   "\n[RAIDController.2.Physical]\n"
                                   "Total_Number_Of_Physicals = 1\n"
                                   "Channel.1 = 4\nID.1 = 0\nSize.1 = 300000\n");
}

// Each failure names the file and the system's reason on a line of its own; the file stays as it was.
TEST(InventoryWriter, FailuresAreReportedWithTheirReason) {
    ControllerList list;
    list.add(std::make_unique<RaidController>(1, 1));
    struct Case {
        MemoryFileSystem::Call call;
        std::string out;
    };
    const Case cases[] = {
        {MemoryFileSystem::Call::OpenForWriting,
         "\n#### ERROR\n\tFORMAT:Error writing /out/i.ini\n/out/i.ini: Permission denied\n"},
        {MemoryFileSystem::Call::Write, "/out/i.ini: Permission denied\n"},
        {MemoryFileSystem::Call::RenameFile, "/out/i.ini: Permission denied\n"},
    };
    for (const Case& c : cases) {
        MemoryFileSystem files;
        files.AddFile("/out/i.ini", "old");
        ScopedFileSystem scoped(files);
        RunSettings settings;
        OutputFile output("/out/i.ini", "~arrayplan~");
        ASSERT_TRUE(output.open(settings));
        files.FailCall(c.call, 0, "", "Permission denied");
        ConsoleCapture capture;
        EXPECT_FALSE(writeInventory(settings, output, list));
        EXPECT_EQ(capture.Out(), c.out);
        EXPECT_EQ(files.Content("/out/i.ini"), "old");
        EXPECT_EQ(files.AllPaths(), (std::vector<std::string>{"/", "/out", "/out/i.ini", "/out/i.ini.lock"}));
    }
}

// A controller whose array A holds one drive of each size, with FILL and sized logical drives on it.
struct FillCase {
    std::vector<int> sizes;
    int level;
    std::vector<int> siblings; // sizes of the other logical drives on the array
    long long expected;
};

class FillSize : public testing::TestWithParam<FillCase> {};

TEST_P(FillSize, IsTheSpaceLeftOnTheArray) {
    const FillCase& c = GetParam();
    RaidController controller(1, 1);
    RaidArray array;
    for (size_t i = 0; i < c.sizes.size(); ++i) {
        controller.setDrive(1, static_cast<int>(i), c.sizes[i], "");
        array.addMember(1, static_cast<int>(i));
    }
    RaidConfiguration configuration;
    configuration.addArray(array);
    for (int size : c.siblings)
        configuration.addLogicalDrive(logical(0, c.level, size));
    configuration.addLogicalDrive(logical(0, c.level, kSizeFill));
    EXPECT_EQ(fillSize(controller, configuration, configuration.logicalDriveCount() - 1), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Arrays, FillSize,
    testing::Values(FillCase{{70000, 72000, 73000}, kRaid5, {}, 140000},
                    FillCase{{70000, 72000, 73000}, kRaid5, {20000}, 120000},
                    FillCase{{70000, 72000, 73000}, kRaid5, {100000, 50000}, 0},
                    FillCase{{100000, 100000, 100000, 100000}, kRaid10, {}, 200000},
                    FillCase{{100000, 100000}, kRaid1, {}, 100000},
                    FillCase{{100001, 100001, 100001}, kRaid1E, {}, 150002},
                    FillCase{{600000, 600000, 600000}, kRaid5, {}, 1200000},
                    FillCase{{4000001, 4000001, 4000001, 4000001, 4000001, 4000001, 4000001, 4000001},
                             kRaid5,
                             {},
                             28000007},
                    FillCase{{2000000000, 2000000000, 2000000000}, kRaid0, {}, 6000000000LL},
                    FillCase{{50000, 60000, 70000, 80000}, kRaid6, {}, 100000},
                    FillCase{{50000, 50000, 50000}, kRaid60, {}, 0},
                    FillCase{{30000, 40000}, kRaidVolume, {10000}, 50000}));

TEST(InventoryWriter, FillSizeOfAnArrayGivenByDriveNumbers) {
    RaidController controller(1, 1);
    controller.setDrive(1, 0, 0, "");
    controller.setDrive(1, 1, 90000, "");
    controller.setDrive(1, 2, 80000, "");
    RaidConfiguration configuration;
    RaidArray array;
    array.addDriveNumber(2);
    array.addDriveNumber(3);
    configuration.addArray(array);
    configuration.addLogicalDrive(logical(0, kRaid1, kSizeFill));
    EXPECT_EQ(fillSize(controller, configuration, 0), 80000);
}

} // namespace
