// Trials plan and build copies: the run's controllers keep no configuration and no reserved drive, the
// run's console gets nothing, and the code the trials give a run is the configuration step's own.
#include "arrayplan/planner/ControllerTrial.h"
#include "arrayplan/model/ControllerList.h"
#include "arrayplan/model/InventoryFile.h"
#include "arrayplan/planner/PolicyConverter.h"
#include "arrayplan/policy/ConfigurationStep.h"
#include "arrayplan/policy/Policy.h"
#include "arrayplan/policy/PolicyKeywordLines.h"
#include "arrayplan/policy/PolicyList.h"
#include "support/ConsoleCapture.h"
#include "tests/arrayplan/config/ConfigTestSupport.h"

#include <gtest/gtest.h>

namespace {

struct TrialCase {
    const char* policies;
    ResultCode code;
};

const TrialCase kCases[] = {
    {"[Policy.Q4]\nAppliesTo.1 = t:Vaultix-Q4\nArray_Mode = CUSTOM\nArray.A = 1:0, 1:1, 1:2\nLogical_Mode = "
     "CUSTOM\nLogical.1 = A:FILL:5\n"
     "[Policy.M1]\nAppliesTo.1 = t:Vaultix-M1\nArray.A = #4\nLogical_Mode = CUSTOM\nLogical.1 = A:FILL:10\n",
     ResultCode::Success},
    {"[Policy.M1]\nAppliesTo.1 = t:Vaultix-M1\nArray_Defaults = 0%:1\nArray.A = #4\nArray.B = "
     "#2\nLogical_Mode = "
     "CUSTOM\nLogical.1 = A:FILL:10\nLogical.2 = B:FILL:1\n",
     ResultCode::NotEnoughSameSizeDrives},
    {"[Policy.Q4]\nAppliesTo.1 = t:Vaultix-Q4\nArray_Mode = CUSTOM\nArray.A = 1:0, 1:1\nHotspares = 9\n"
     "Logical_Mode = CUSTOM\nLogical.1 = A:FILL:1\n",
     ResultCode::NoDrivesForHotSpares},
    {"[Policy.M1]\nAppliesTo.1 = t:Vaultix-M1\nArray.A = #3\nLogical_Mode = CUSTOM\nLogical.1 = A:FILL:1\n",
     ResultCode::ArrayDrivesUnsupported},
    {"[Policy.None]\nAppliesTo.1 = m:9999\nArray.A = AUTO\n", ResultCode::NoPolicyApplies},
};

bool anyDriveReserved(const RaidController& controller) {
    for (int channel = 0; channel < RaidController::kChannels; ++channel) {
        for (int id = 0; id < RaidController::kIds; ++id) {
            if (controller.isReserved(channel, id))
                return true;
        }
    }
    return false;
}

TEST(ControllerTrial, TrialsLeaveTheRunAloneAndGiveTheConfigurationStepsCode) {
    for (const TrialCase& row : kCases) {
        ConfigFixture fixture;
        fixture.settings.raidDirectory = KIT_SOURCE_DIR "/data/raid/";
        ControllerList controllers;
        ASSERT_EQ(
            loadInventory(fixture.settings, KIT_SOURCE_DIR "/examples/arrayplan/inventory.ini", controllers),
            ResultCode::Success);
        const PolicyList& policies = fixture.readPolicies(row.policies);

        std::string arrayAsRead = arrayLine(*policies.at(0), 0);
        ConsoleCapture capture;
        std::vector<TrialOutcome> outcomes =
            tryControllers(fixture.settings, controllers, policiesOf(policies));
        EXPECT_EQ(capture.Out(), "") << row.policies;
        for (int i = 0; RaidController* controller = controllers.at(i); ++i) {
            EXPECT_EQ(controller->configuration(), nullptr) << row.policies;
            EXPECT_FALSE(anyDriveReserved(*controller)) << row.policies;
        }
        EXPECT_EQ(policies.at(0)->markedForPlanning,
                  policies.at(0)->arrayCount() > 0 && policies.at(0)->arrayMode != Policy::kModeCustom)
            << "the policy as read stays as read";

        PlanPolicy plan = [&](RaidController& controller, Policy& copy) {
            return PolicyConverter(fixture.settings, copy, controller).runConverter();
        };
        ResultCode step = runConfigurationStep(fixture.settings, controllers, policies, plan);
        EXPECT_EQ(runCodeOf(outcomes), step) << row.policies;
        EXPECT_EQ(runCodeOf(outcomes), row.code) << row.policies;
    }
}

} // namespace
