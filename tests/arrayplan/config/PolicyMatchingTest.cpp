#include "arrayplan/policy/PolicyMatching.h"
#include "arrayplan/policy/PolicyList.h"
#include "support/ConsoleCapture.h"
#include "tests/arrayplan/config/ConfigTestSupport.h"

#include <gtest/gtest.h>

namespace {

class PolicyMatchingTest : public testing::Test, protected ConfigFixture {
protected:
    // The name of the policy that applies to controller as the nth of the inventory, or "none".
    std::string applicable(const RaidController& controller, int number) {
        const Policy* policy = getApplicablePolicy(settings, readList(), controller, number);
        return policy != nullptr ? policy->name.Str() : "none";
    }
    const PolicyList& readList() { return *list_; }
    void read(const std::string& text) { list_ = &readPolicies(text); }

    const PolicyList* list_ = nullptr;
};

TEST_F(PolicyMatchingTest, CriteriaOfOneEntryMustAllHold) {
    read("[Policy.Second4]\nAppliesTo.1 = c:2, d:4\n"
         "[Policy.TypeOtherCase]\nAppliesTo.1 = t:vaultix-q4\n"
         "[Policy.System]\nAppliesTo.1 = m:8837, s:kq4711x, o:2\n");
    auto four = controllerWithDrives(1, 4, 4);
    auto three = controllerWithDrives(1, 4, 3);
    auto other = controllerWithDrives(12, 2, 4);
    EXPECT_EQ(applicable(*four, 2), "Policy.Second4");
    EXPECT_EQ(applicable(*four, 1), "Policy.TypeOtherCase");
    EXPECT_EQ(applicable(*three, 2), "Policy.TypeOtherCase");
    EXPECT_EQ(applicable(*other, 1), "none");
    other->setScanOrder(2);
    EXPECT_EQ(applicable(*other, 1), "Policy.System");
    settings.serialNumber = "KQ4711Y";
    EXPECT_EQ(applicable(*other, 1), "none");
}

TEST_F(PolicyMatchingTest, FirstApplicablePolicyOfTheFileWins) {
    read("[Policy.Q1]\nAppliesTo.1 = t:Vaultix-Q1\n[Policy.Any]\nAppliesTo.1 = ALL\n"
         "[Policy.Q4]\nAppliesTo.1 = t:Vaultix-Q4\n");
    EXPECT_EQ(applicable(*controllerWithDrives(1, 4, 2), 1), "Policy.Any");
    EXPECT_EQ(applicable(*controllerWithDrives(1, 1, 2), 1), "Policy.Q1");
}

TEST_F(PolicyMatchingTest, AnyOfFifteenEntriesApplies) {
    std::string text = "[Policy.Many]\n";
    for (int i = 1; i <= 14; ++i)
        text += "AppliesTo." + std::to_string(i) + " = c:" + std::to_string(i + 10) + "\n";
    read(text + "AppliesTo.15 = c:3\n");
    EXPECT_EQ(applicable(*controllerWithDrives(1, 4, 2), 3), "Policy.Many");
    EXPECT_EQ(applicable(*controllerWithDrives(1, 4, 2), 4), "none");
}

TEST_F(PolicyMatchingTest, DebugTracesStartAndEnd) {
    read("[Policy.Q4]\nAppliesTo.1 = t:Vaultix-Q4\n");
    auto q4 = controllerWithDrives(1, 4, 2);
    auto m1 = controllerWithDrives(12, 2, 2);
    ConsoleCapture quiet;
    applicable(*q4, 1);
    EXPECT_EQ(quiet.Out(), "");
    settings.debug = true;
    ConsoleCapture capture;
    applicable(*q4, 1);
    applicable(*m1, 2);
    EXPECT_EQ(capture.Out(),
              "41:getApplicablePolicy(controller=Vaultix-Q4,order=1) start\n"
              "52:getApplicablePolicy end: Found policy returning policy\n"
              "41:getApplicablePolicy(controller=Vaultix-M1,order=2) start\n"
              "57:getApplicablePolicy(controller=Vaultix-M1,order=2) end FAILED return NULL\n");
}

} // namespace
