#include "arrayplan/policy/PolicyLimits.h"
#include "arrayplan/model/RaidController.h"
#include "arrayplan/model/RunSettings.h"
#include "arrayplan/policy/Policy.h"
#include "support/ConsoleCapture.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

namespace {

std::unique_ptr<RaidLogicalDrive> logical(int arrayIndex, int level) {
    auto drive = std::make_unique<RaidLogicalDrive>();
    drive->arrayIndex = arrayIndex;
    drive->raidLevel = level;
    return drive;
}

TEST(PolicyLimits, ChecksAPolicyAsRead) {
    TempDir dir;
    dir.Write("Vaultix-Q4.ini",
              "[RAIDController]\nStripeSizes = 64K\nRAIDLevels = 1,5\n[1]\nMaxPhysicalDrives = 2\n");
    RunSettings settings;
    settings.raidDirectory = (dir.Path().string() + "/").c_str();
    RaidController controller(1, 4);

    Policy policy("Policy.Custom");
    policy.arrayMode = Policy::kModeCustom;
    policy.stripeSize = "64";
    auto mirror = std::make_unique<RaidArray>();
    mirror->addDriveNumber(1);
    mirror->addDriveNumber(2);
    policy.addArray(std::move(mirror));
    policy.addLogicalDrive(logical(0, kRaid1));
    ConsoleCapture capture;
    EXPECT_EQ(codeNumber(checkPolicyLimits(settings, controller, policy)), 0);

    policy.arrayAt(0)->addDriveNumber(3);
    EXPECT_EQ(codeNumber(checkPolicyLimits(settings, controller, policy)), 7) << "three drives in a mirror";

    policy.arrayMode = Policy::kModeAuto;
    EXPECT_EQ(codeNumber(checkPolicyLimits(settings, controller, policy)), 0)
        << "only the stripe size is checked in AUTO mode";
    policy.stripeSize = "16";
    EXPECT_EQ(codeNumber(checkPolicyLimits(settings, controller, policy)), 5);
}

} // namespace
