// The creation pass, the check of the created configurations and the configuration step around them.
#include "arrayplan/policy/ConfigurationCheck.h"
#include "arrayplan/policy/ConfigurationCreator.h"
#include "arrayplan/policy/ConfigurationStep.h"
#include "arrayplan/policy/PolicyList.h"
#include "support/ConsoleCapture.h"
#include "tests/arrayplan/config/ConfigTestSupport.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

const std::string kQ4Limits = "[RAIDController]\nModel = Vaultix-Q4\nStripeSizes = 8K,16K,32K,64K\n"
                              "RAIDLevels = 0,1,5\n[1]\nMaxPhysicalDrives = 2\n[5]\nMaxPhysicalDrives = 3\n";

class ConfigurationPassTest : public testing::Test, protected ConfigFixture {
protected:
    ConfigurationPassTest() { writeSupportFile("Vaultix-Q4", kQ4Limits); }

    void add(std::unique_ptr<RaidController> controller) { controllers.add(std::move(controller)); }

    int step(const PlanPolicy& plan = {}) {
        ConsoleCapture capture;
        int code = codeNumber(runConfigurationStep(settings, controllers, policies(), plan));
        out = capture.Out();
        return code;
    }
    const PolicyList& policies() { return *list_; }
    void read(const std::string& text) { list_ = &readPolicies(text); }

    ControllerList controllers;
    std::string out;
    const PolicyList* list_ = nullptr;
};

TEST_F(ConfigurationPassTest, EachControllerIsListedWithItsPolicy) {
    read("[Policy.Q4]\nAppliesTo.1 = t:Vaultix-Q4\nAppliesTo.2 = t:Vaultix-R2-SCSI\n");
    add(controllerWithDrives(1, 4, 3));
    add(controllerWithDrives(12, 2, 3));
    add(controllerWithDrives(4, -1, 1));
    ConfigurationCreator creator(settings, policies());
    ConsoleCapture capture;
    EXPECT_EQ(creator.createConfigurations(controllers, {}), ResultCode::Success);
    EXPECT_EQ(capture.Out(), "\tVaultix-Q4, controller 1 using policy:  Policy.Q4\n"
                             "\tVaultix-M1, controller 2 using policy:  No policy found.\n"
                             "\tSkipped Vaultix-R2-SCSI controller -- Not enough drives available.\n");
    EXPECT_NE(controllers.at(0)->configuration(), nullptr);
    EXPECT_EQ(controllers.at(1)->configuration(), nullptr);
    EXPECT_EQ(controllers.at(2)->configuration(), nullptr);
}

TEST_F(ConfigurationPassTest, CheckLimitsArraysAndClearsUnusedStripeSizes) {
    read("[Policy.Mirror]\nAppliesTo.1 = c:1\nStripeSize = 16\nArray_Mode = CUSTOM\nArray.A = 1,2\n"
         "Logical_Mode = CUSTOM\nLogical.1 = A:FILL:1\n"
         "[Policy.Stripes]\nAppliesTo.1 = c:2\nStripeSize = 16\nArray_Mode = CUSTOM\nArray.A = 1,2\nArray.B "
         "= 3\n"
         "Logical_Mode = CUSTOM\nLogical.1 = A:FILL:1\nLogical.2 = B:FILL:0\n");
    add(controllerWithDrives(1, 4, 3));
    add(controllerWithDrives(1, 4, 3));
    settings.debug = true;
    ASSERT_EQ(step(), 0) << out;
    EXPECT_EQ(controllers.at(0)->configuration()->stripeSize, kStripeNotSet);
    EXPECT_EQ(controllers.at(1)->configuration()->stripeSize, 1);
    // Arrays within their limits leave no trace of the check.
    EXPECT_EQ(out.find("checkConfigCreated()"), std::string::npos) << out;

    // Four RAID 5 members where the support file allows three.
    read("[Policy.Wide]\nAppliesTo.1 = ALL\nArray_Defaults = 0%:0\nLogical_Defaults = FILL:5\n");
    controllers = ControllerList();
    add(controllerWithDrives(1, 4, 4));
    EXPECT_EQ(step(), 7);
    EXPECT_NE(out.find("1187:checkConfigCreated() Array=4 drives, contINI=3 drives \n"), std::string::npos)
        << out;
}

TEST_F(ConfigurationPassTest, ArrayWithoutLogicalDriveIsNotLimited) {
    read("[Policy.Spare]\nAppliesTo.1 = ALL\nArray_Mode = CUSTOM\nArray.A = 1,2\nArray.B = 3,4,5,6\n"
         "Logical_Mode = CUSTOM\nLogical.1 = A:FILL:1\n");
    add(controllerWithDrives(1, 4, 6));
    ConfigurationCreator creator(settings, policies());
    ConsoleCapture capture;
    ASSERT_EQ(creator.createConfigurations(controllers, {}), ResultCode::Success);
    EXPECT_EQ(controllers.at(0)->configuration()->arrayCount(), 2);
    EXPECT_EQ(checkConfigCreated(settings, controllers), ResultCode::Success);
}

TEST_F(ConfigurationPassTest, RunCodesOfTheStep) {
    read("[Policy.M1]\nAppliesTo.1 = t:Vaultix-M1\n");
    add(controllerWithDrives(1, 4, 3));
    EXPECT_EQ(step(), 19);

    read("[Policy.Q4]\nAppliesTo.1 = ALL\nStripeSize = 128\n");
    EXPECT_EQ(step(), 5); // the support file lists no 128K stripes

    read("[Policy.Q4]\nAppliesTo.1 = ALL\nArray_Mode = CUSTOM\nArray.A = 7\nLogical_Mode = CUSTOM\n"
         "Logical.1 = A:FILL:0\n");
    EXPECT_EQ(step(), 10);
    EXPECT_EQ(lastErrorReport(out),
              "Policy.Q4, Array.A -- The following drive does not exist:  7\n\tVaultix-Q4 controller.\n");

    controllers = ControllerList();
    add(controllerWithDrives(1, 4, 0));
    read("[Policy.Q4]\nAppliesTo.1 = ALL\n");
    EXPECT_EQ(step(), 10); // no controller could be configured
}

TEST_F(ConfigurationPassTest, EachControllerIsPlannedFromThePolicyAsRead) {
    read("[Policy.Planned]\nAppliesTo.1 = ALL\nArray.A = #2\nLogical_Mode = CUSTOM\nLogical.1 = A:FILL:1\n");
    add(controllerWithDrives(1, 4, 2));
    add(controllerWithDrives(1, 4, 3));
    std::vector<int> countsSeen;
    PlanPolicy plan = [&](RaidController& controller, Policy& copy) {
        countsSeen.push_back(*copy.arrayAt(0)->driveNumbers.at(0));
        copy.removeAllArrays();
        auto array = std::make_unique<RaidArray>();
        array->addDriveNumber(controller.driveCount() - 1);
        array->addDriveNumber(controller.driveCount());
        copy.addArray(std::move(array));
        copy.arrayMode = Policy::kModeCustom;
        return ResultCode::Success;
    };
    ASSERT_EQ(step(plan), 0) << out;
    EXPECT_EQ(countsSeen, (std::vector<int>{2, 2}));
    const Policy& asRead = *policies().at(0);
    EXPECT_EQ(asRead.arrayMode, Policy::kModeAuto);
    EXPECT_EQ(*asRead.arrayAt(0)->driveNumbers.at(0), 2);
    // Each configuration comes from its own controller's planned copy.
    EXPECT_EQ(controllers.at(0)->configuration()->arrayAt(0)->members.at(0)->id, 0);
    EXPECT_EQ(controllers.at(1)->configuration()->arrayAt(0)->members.at(0)->id, 1);

    PlanPolicy refuse = [](RaidController&, Policy&) { return ResultCode::LogicalDrivesUnsupported; };
    EXPECT_EQ(step(refuse), 8);
}

} // namespace
