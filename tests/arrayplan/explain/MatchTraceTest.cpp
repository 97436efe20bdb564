// The match trace names, for each AppliesTo entry, the first criterion that the controller does not meet,
// and an entry changed to meet the facts applies.
#include "arrayplan/policy/MatchTrace.h"
#include "arrayplan/policy/Policy.h"
#include "arrayplan/policy/PolicyList.h"
#include "tests/arrayplan/config/ConfigTestSupport.h"

#include <gtest/gtest.h>

namespace {

struct MismatchCase {
    const char* entry;
    const char* mismatch; // empty: the entry matches
};

// A Vaultix-M1 with six drives, the second controller of the inventory, first of its scan group.
const MismatchCase kCases[] = {
    {"t:Vaultix-Q4", "t:Vaultix-Q4 (the controller type is Vaultix-M1)"},
    {"d:5, t:Vaultix-Q4", "t:Vaultix-Q4 (the controller type is Vaultix-M1)"},
    {"m:8840, t:Vaultix-Q4", "m:8840 (the machine type is 8837)"},
    {"s:ZZ1, c:1", "s:ZZ1 (the serial number is KQ4711X)"},
    {"o:2, t:Vaultix-M1", "o:2 (the scan order is 1)"},
    {"d:5", "d:5 (the drive count is 6)"},
    {"c:1, d:6", "c:1 (the controller number is 2)"},
    {"t:vaultix-m1, d:6, c:2, m:8837", ""},
    {"ALL", ""},
};

TEST(MatchTrace, TheFirstUnmetCriterionIsNamedAndAnEntryMadeToMeetTheFactsApplies) {
    auto controller = controllerWith(12, 2, {286102, 286102, 286102, 286102, 953869, 953869});
    for (const MismatchCase& row : kCases) {
        ConfigFixture fixture;
        const Policy& policy =
            *fixture.readPolicies(std::string("[Policy.A]\nAppliesTo.1 = ") + row.entry + "\n").at(0);
        ControllerFacts facts = factsOf(fixture.settings, *controller, 2);
        std::string expected = row.mismatch;
        EXPECT_EQ(firstMismatch(*policy.appliesToAt(0), facts), expected) << row.entry;
        EXPECT_EQ(matchingEntry(policy, facts), expected.empty() ? 0 : -1) << row.entry;
        AppliesToEntry met = entryMetBy(*policy.appliesToAt(0), facts);
        EXPECT_EQ(firstMismatch(met, facts), "") << row.entry;
        // What the entry already met stays as written.
        EXPECT_EQ(met.controllerType.IsEmpty(), policy.appliesToAt(0)->controllerType.IsEmpty()) << row.entry;
    }
}

TEST(MatchTrace, EveryEntryOfAPolicyThatDoesNotApplyIsExplained) {
    auto controller = controllerWith(12, 2, {286102, 286102});
    ConfigFixture fixture;
    const Policy& policy =
        *fixture.readPolicies("[Policy.A]\nAppliesTo.1 = t:Vaultix-Q4\nAppliesTo.3 = d:4\n").at(0);
    EXPECT_EQ(exclusionText(policy, factsOf(fixture.settings, *controller, 1)),
              "entry 1 wants t:Vaultix-Q4 (the controller type is Vaultix-M1); entry 2 wants d:4 (the drive "
              "count is 2)");
}

} // namespace
