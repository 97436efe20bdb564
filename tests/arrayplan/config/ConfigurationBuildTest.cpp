// Building configurations for small controllers from hand-written policies.
#include "arrayplan/policy/ConfiguratorFamilies.h"
#include "arrayplan/policy/PolicyList.h"
#include "support/ConsoleCapture.h"
#include "tests/arrayplan/config/ConfigTestSupport.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

class ConfigurationBuildTest : public testing::Test, protected ConfigFixture {
protected:
    // Builds controller's configuration from the one policy of "[Policy.Test]" + lines.
    bool build(RaidController& controller, const std::string& lines) {
        readPolicies("[Policy.Test]\nAppliesTo.1 = ALL\n" + lines);
        auto configurator = makeConfigurator(settings, controller, policy());
        ConsoleCapture capture;
        failureCode = codeNumber(configurator->buildConfiguration());
        out = capture.Out();
        return failureCode == 0;
    }

    static std::vector<int> members(const RaidController& controller, int array) {
        std::vector<int> numbers;
        for (const DrivePosition& member : controller.configuration()->arrayAt(array)->members)
            numbers.push_back(controller.driveNumber(member.channel, member.id));
        return numbers;
    }
    static std::vector<int> hotSpares(const RaidController& controller) {
        std::vector<int> numbers;
        for (int h = 0; const RaidHotSpare* spare = controller.configuration()->hotSpareAt(h); ++h)
            numbers.push_back(spare->driveNumber());
        return numbers;
    }
    static const RaidLogicalDrive& logical(const RaidController& controller, int index) {
        return *controller.configuration()->logicalDriveAt(index);
    }

    std::string out;
    int failureCode = 0; // of the last build, 0 when it succeeded
};

TEST_F(ConfigurationBuildTest, CustomPolicyBuildsWhatItLists) {
    auto controller = controllerWith(1, 4, {70000, 70000, 70000, 140000, 140000, 36000});
    ASSERT_TRUE(build(*controller,
                      "StripeSize = 32\nReadAhead = off\nRebuildRate = low\nInit = BUILD\n"
                      "Array_Mode = CUSTOM\nArray.A = 1:0, 1:1, 1:2\nArray.B = 4, 5\n"
                      "Hotspares = 6\nLogical_Mode = CUSTOM\n"
                      "Logical.1 = A:20000:5\nLogical.2 = A:FILL:5:ON\nLogical.3 = B:FILL:AUTO\n"));
    EXPECT_EQ(out, "");
    const RaidConfiguration& configuration = *controller->configuration();
    EXPECT_EQ(configuration.policyName, "Policy.Test");
    EXPECT_EQ(members(*controller, 0), (std::vector<int>{1, 2, 3}));
    EXPECT_EQ(members(*controller, 1), (std::vector<int>{4, 5}));
    EXPECT_EQ(hotSpares(*controller), std::vector<int>{6});
    ASSERT_EQ(configuration.logicalDriveCount(), 3);
    EXPECT_EQ(logical(*controller, 0).size, 20000);
    EXPECT_EQ(logical(*controller, 1).size, kSizeFill);
    EXPECT_EQ(logical(*controller, 1).writeCache, kWriteCacheOn);
    EXPECT_EQ(logical(*controller, 2).raidLevel, kRaid1); // "AUTO" on two members
    EXPECT_EQ(logical(*controller, 2).arrayIndex, 1);
    EXPECT_EQ(configuration.stripeSize, 2);
    EXPECT_EQ(configuration.readAhead, kReadAheadOff);
    EXPECT_EQ(configuration.rebuildRate, kRebuildLow);
    EXPECT_EQ(configuration.init, 1);
}

TEST_F(ConfigurationBuildTest, MissingDrivesFailWithTheirCodes) {
    auto controller = controllerWithDrives(1, 4, 4);
    EXPECT_FALSE(build(*controller, "Array_Mode = CUSTOM\nArray.A = 1, 2\nArray.B = 3, 9\n"));
    EXPECT_EQ(failureCode, 10);
    EXPECT_EQ(lastErrorReport(out),
              "Policy.Test, Array.B -- The following drive does not exist:  9\n\tVaultix-Q4 controller.\n");
    EXPECT_EQ(controller->configuration(), nullptr);

    EXPECT_FALSE(build(*controller, "Array_Mode = CUSTOM\nArray.A = 1:0, 2:0\n"));
    EXPECT_EQ(lastErrorReport(out),
              "Policy.Test, Array.A -- The following drive does not exist:  2:0\n\tVaultix-Q4 controller.\n");

    EXPECT_FALSE(build(*controller, "Array_Mode = CUSTOM\nArray.A = 1, 2\nHotspares = 1:3, 1:7\n"));
    EXPECT_EQ(failureCode, 9);
    EXPECT_EQ(
        lastErrorReport(out),
        "Policy.Test, Hotspares -- The following drive does not exist:  1:7\n\tVaultix-Q4 controller.\n");

    EXPECT_FALSE(build(*controller, "Array_Mode = CUSTOM\nArray.A = 1, 2\nHotspares = 5\n"));
    EXPECT_EQ(lastErrorReport(out),
              "Policy.Test, Hotspares -- The following drive does not exist:  5\n\tVaultix-Q4 controller.\n");

    EXPECT_FALSE(build(*controller, "Array_Defaults = 0%:5\n"));
    EXPECT_EQ(failureCode, 9);
    EXPECT_EQ(lastErrorReport(out),
              "Policy.Test, Hotspares -- Not enough drives available to create 5 hot-spare "
              "drives.\n\tVaultix-Q4 controller.\n");
}

// A drive can be taken once: a second use, in the same array, another array or as a hot spare, fails
// like a drive that is not there, with the code of the entry that asks for it second.
TEST_F(ConfigurationBuildTest, DriveNamedTwiceIsRefused) {
    struct Case {
        const char* lines;
        int code;
        const char* keywordAndDrive;
    };
    const Case cases[] = {
        {"Array.A = 1,2,1\n", 10, "Array.A -- The following drive is already used:  1"},
        {"Array.A = 1:0, 1:1, 1:0\n", 10, "Array.A -- The following drive is already used:  1:0"},
        {"Array.A = 1,2\nArray.B = 3,2\n", 10, "Array.B -- The following drive is already used:  2"},
        {"Array.A = 1:0,1:1\nArray.B = 1:2,1:1\n", 10,
         "Array.B -- The following drive is already used:  1:1"},
        {"Array.A = 1,2\nHotspares = 2\n", 10, "Array.A -- The following drive is already used:  2"},
        {"Array.A = 1,2\nHotspares = 3,3\n", 9, "Hotspares -- The following drive is already used:  3"},
        {"Array.A = 1:0,1:1\nHotspares = 1:2,1:2\n", 9,
         "Hotspares -- The following drive is already used:  1:2"},
    };
    for (const Case& c : cases) {
        auto controller = controllerWithDrives(1, 4, 4);
        EXPECT_FALSE(build(*controller, std::string("Array_Mode = CUSTOM\n") + c.lines)) << c.lines;
        EXPECT_EQ(failureCode, c.code) << c.lines;
        EXPECT_EQ(lastErrorReport(out),
                  std::string("Policy.Test, ") + c.keywordAndDrive + "\n\tVaultix-Q4 controller.\n")
            << c.lines;
        EXPECT_EQ(controller->configuration(), nullptr);
    }
}

TEST_F(ConfigurationBuildTest, MemberCountMustSuitTheLevel) {
    auto controller = controllerWithDrives(12, 2, 6);
    const std::string sixDrives = "Array_Mode = CUSTOM\nArray.A = 1,2,3,4,5,6\nLogical_Mode = CUSTOM\n";
    EXPECT_FALSE(build(*controller, sixDrives + "Logical.1 = A:FILL:10\n"));
    EXPECT_EQ(failureCode, 10);
    EXPECT_EQ(lastErrorReport(out),
              "Could not use Policy.Test to configure Vaultix-M1 controller.\nThe number of "
              "drives in the Array.A cannot accommodate the RAID level specified.\n");
    EXPECT_TRUE(build(*controller, sixDrives + "Logical.1 = A:FILL:50\n")) << out;

    EXPECT_FALSE(build(*controller, sixDrives + "Logical.1 = A:FILL:1E\n"));
    EXPECT_EQ(lastErrorReport(out),
              "Error in Policy.Test -- Vaultix-M1 does not support the RAID level specified.\n");
    EXPECT_FALSE(build(*controller, sixDrives + "Logical.1 = B:FILL:5\n"));
    EXPECT_EQ(lastErrorReport(out), "Policy.Test -- Invalid array letter specified:  B\n");
}

TEST_F(ConfigurationBuildTest, PercentagesOfTheDataSpaceRoundHalfUp) {
    auto raid5 = controllerWith(1, 4, {33333, 33335, 33334});
    ASSERT_TRUE(build(*raid5, "Array_Mode = CUSTOM\nArray.A = 1,2,3\nLogical_Mode = CUSTOM\n"
                              "Logical.1 = A:25%:5\nLogical.2 = A:FILL:5\n"));
    EXPECT_EQ(logical(*raid5, 0).size, 16667); // 25 % of 2 x 33333

    // The mirrored levels keep half of their drives for data, four-drive RAID 10 included.
    auto raid10 = controllerWith(12, 2, {70000, 70000, 70000, 70000, 70001, 70001});
    ASSERT_TRUE(build(*raid10,
                      "Array_Mode = CUSTOM\nArray.A = 1,2,3,4\nArray.B = 5,6\nLogical_Mode = CUSTOM\n"
                      "Logical.1 = A:100%:10\nLogical.2 = B:50%:1\n"));
    EXPECT_EQ(logical(*raid10, 0).size, 140000);
    EXPECT_EQ(logical(*raid10, 1).size, 35001); // half of 70001, rounded up

    auto volume = controllerWith(12, 2, {2000000000, 2000000000, 2000000000, 2000000000, 2000000000});
    ASSERT_TRUE(build(*volume, "Array_Mode = CUSTOM\nArray.A = 1,2,3,4,5\nLogical_Mode = CUSTOM\n"
                               "Logical.1 = A:10%:5\n"));
    EXPECT_EQ(logical(*volume, 0).size, 800000000); // 10 % of 8e9 MB, past 32 bits on the way
}

TEST_F(ConfigurationBuildTest, AutomaticArraysGroupDrivesWithinTheVariance) {
    auto controller = controllerWith(1, 4, {70000, 71000, 140000, 73000, 74000, 141000});
    ASSERT_TRUE(build(*controller, "Array_Defaults = 5%:0\n")) << out;
    ASSERT_EQ(controller->configuration()->arrayCount(), 3);
    EXPECT_EQ(members(*controller, 0), (std::vector<int>{1, 2, 4})); // 74000 lies 4000 above 70000
    EXPECT_EQ(members(*controller, 1), (std::vector<int>{3, 6}));
    EXPECT_EQ(members(*controller, 2), std::vector<int>{5});
    EXPECT_EQ(logical(*controller, 0).raidLevel, kRaid5);
    EXPECT_EQ(logical(*controller, 1).raidLevel, kRaid1);
    EXPECT_EQ(logical(*controller, 2).raidLevel, kRaid0);
    EXPECT_EQ(logical(*controller, 0).size, kSizeFill);

    auto equalOnly = controllerWith(1, 4, {70000, 70001, 70000});
    ASSERT_TRUE(build(*equalOnly, "Array_Defaults = 0%:0\nLogical_Defaults = 50%:AUTO\n"));
    EXPECT_EQ(members(*equalOnly, 0), (std::vector<int>{1, 3}));
    EXPECT_EQ(logical(*equalOnly, 0).size, 35000); // half of a mirror's 70000 MB
    EXPECT_EQ(logical(*equalOnly, 1).size, 35001);

    // A level in the logical defaults sets the array size: two drives for "1".
    auto mirrors = controllerWithDrives(1, 4, 5);
    ASSERT_TRUE(build(*mirrors, "Array_Defaults = 0%:1\nLogical_Defaults = FILL:1\n"));
    EXPECT_EQ(hotSpares(*mirrors), std::vector<int>{5});
    EXPECT_EQ(members(*mirrors, 0), (std::vector<int>{1, 2}));
    EXPECT_EQ(members(*mirrors, 1), (std::vector<int>{3, 4}));
}

TEST_F(ConfigurationBuildTest, SomeTypesTakeOneArrayOnOneChannel) {
    auto controller = controllerWith(4, -1, {70000, 70000});
    controller->setDrive(2, 0, 70000, "SCSI");
    controller->setDrive(2, 1, 70000, "SCSI");
    ASSERT_TRUE(build(*controller, "Array_Defaults = 0%:0\n"));
    EXPECT_EQ(controller->configuration()->arrayCount(), 1);
    EXPECT_EQ(members(*controller, 0), (std::vector<int>{1, 2}));
    EXPECT_EQ(logical(*controller, 0).raidLevel, kRaid1);
    // The second channel's drives never join, so "10" finds two members where it needs four.
    EXPECT_FALSE(build(*controller, "Array_Defaults = 0%:0\nLogical_Defaults = FILL:10\n"));
    EXPECT_EQ(failureCode, 10);
    EXPECT_EQ(lastErrorReport(out),
              "Could not use Policy.Test to configure Vaultix-R2-SCSI controller.\nThe number "
              "of drives in the Array.A cannot accommodate the RAID level specified.\n");
}

TEST_F(ConfigurationBuildTest, DefaultHotSpareIsTheLargestLastDrive) {
    auto controller = controllerWith(12, 2, {70000, 140000, 140000, 70000});
    ASSERT_TRUE(build(*controller, ""));
    EXPECT_EQ(hotSpares(*controller), std::vector<int>{3});
    ASSERT_EQ(controller->configuration()->arrayCount(), 2);
    EXPECT_EQ(members(*controller, 0), (std::vector<int>{1, 4}));
    EXPECT_EQ(members(*controller, 1), (std::vector<int>{2}));
    EXPECT_EQ(logical(*controller, 0).raidLevel, kRaid1);
    EXPECT_EQ(logical(*controller, 1).raidLevel, kRaid0);
    EXPECT_EQ(logical(*controller, 0).writeCache, kWriteCacheOn);
}

TEST_F(ConfigurationBuildTest, AllArrayTakesFreeDrivesUpToTheLevelLimit) {
    auto controller = controllerWithDrives(1, 4, 5);
    ASSERT_TRUE(build(*controller, "Array_Mode = CUSTOM\nArray.A = ALL\nHotspares = 1\n"
                                   "Logical_Mode = CUSTOM\nLogical.1 = A:FILL:1\n"));
    EXPECT_EQ(members(*controller, 0), (std::vector<int>{2, 3}));
}

TEST_F(ConfigurationBuildTest, StripeSizeComesFromThePolicyOrTheFamily) {
    auto scsiRaid = controllerWithDrives(5, -1, 3);
    ASSERT_TRUE(build(*scsiRaid, "Array_Defaults = 0%:0\n"));
    EXPECT_EQ(scsiRaid->configuration()->stripeSize, kStripeNotSet);

    auto q4 = controllerWithDrives(1, 4, 3);
    EXPECT_FALSE(build(*q4, "StripeSize = 128\n"));
    EXPECT_EQ(failureCode, 10);
    EXPECT_EQ(lastErrorReport(out),
              "Error in Policy.Test -- Vaultix-Q4 does not support the stripe size specified.\n");
    ASSERT_TRUE(build(*q4, "StripeSize = 32\n"));
    EXPECT_EQ(q4->configuration()->stripeSize, 2);
}

} // namespace
