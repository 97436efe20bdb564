// The keyword lines that /explain suggests are read back by the policy reader as the policy they were
// made from: each line, written into a policy file, gives the record it was written from.
#include "arrayplan/policy/AppliesToEntry.h"
#include "arrayplan/policy/Policy.h"
#include "arrayplan/policy/PolicyKeywordLines.h"
#include "arrayplan/policy/PolicyList.h"
#include "tests/arrayplan/config/ConfigTestSupport.h"

#include <gtest/gtest.h>

namespace {

struct KeywordLineCase {
    const char* context; // the policy's other lines that the keyword needs
    const char* line;    // as read, and as written again
    std::string (*write)(const Policy&);
};

std::string firstArray(const Policy& policy) {
    return arrayLine(policy, 0);
}
std::string firstLogical(const Policy& policy) {
    return logicalLine(policy, 0);
}
std::string firstEntry(const Policy& policy) {
    return appliesToLine(1, *policy.appliesToAt(0));
}

const char* const kCustom = "Array_Mode = CUSTOM\nLogical_Mode = CUSTOM\nLogical.1 = A:FILL:1\n";
const char* const kCustomArray = "Array_Mode = CUSTOM\nArray.A = 1:0, 1:1\nLogical_Mode = CUSTOM\n";
const char* const kCustomLayout =
    "Array_Mode = CUSTOM\nArray.A = 1:0, 1:1\nLogical_Mode = CUSTOM\nLogical.1 = A:FILL:1\n";

const KeywordLineCase kCases[] = {
    {"", "Array_Defaults = 10%:2", arrayDefaultsLine},
    {"", "Array_Defaults = 0%:0", arrayDefaultsLine},
    {"Logical_Mode = CUSTOM\nLogical.1 = A:FILL:1\n", "Array.A = #3", firstArray},
    {"Logical_Mode = CUSTOM\nLogical.1 = A:FILL:1\n", "Array.A = AUTO", firstArray},
    {kCustom, "Array.A = 1:0, 1:1, 2:31", firstArray},
    {kCustom, "Array.A = 1, 2, 3", firstArray},
    {kCustom, "Array.A = ALL", firstArray},
    {kCustomArray, "Logical.1 = A:50%:5", firstLogical},
    {kCustomArray, "Logical.1 = A:20000:10", firstLogical},
    {kCustomArray, "Logical.1 = A:FILL:1E:ON", firstLogical},
    {kCustomArray, "Logical.1 = A:FILL:VOLUME:OFF", firstLogical},
    {kCustomLayout, "Hotspares = 1:5, 1:6", hotSparesLine},
    {kCustomLayout, "Hotspares = 7, 8", hotSparesLine},
    {"", "StripeSize = 64", stripeSizeLine},
};

TEST(KeywordLines, ALineWrittenFromAPolicyReadsBackAsTheLineItWasReadFrom) {
    for (const KeywordLineCase& row : kCases) {
        ConfigFixture fixture;
        std::string text = std::string("[Policy.A]\nAppliesTo.1 = ALL\n") + row.context + row.line + "\n";
        const Policy& policy = *fixture.readPolicies(text).at(0);
        EXPECT_EQ(row.write(policy), row.line) << text;
    }
}

TEST(KeywordLines, AppliesToListsEveryGivenCriterion) {
    const char* const lines[] = {
        "AppliesTo.1 = ALL",
        "AppliesTo.1 = t:Vaultix-M1",
        "AppliesTo.1 = m:8837, s:KQ4711X, o:1, d:4, t:Vaultix-M1, c:2",
    };
    for (const char* line : lines) {
        ConfigFixture fixture;
        const Policy& read = *fixture.readPolicies(std::string("[Policy.A]\n") + line + "\n").at(0);
        // Written again and read back, the entry keeps every criterion.
        ConfigFixture again;
        const Policy& reread = *again.readPolicies("[Policy.A]\n" + firstEntry(read) + "\n").at(0);
        const AppliesToEntry& a = *read.appliesToAt(0);
        const AppliesToEntry& b = *reread.appliesToAt(0);
        EXPECT_EQ(a.all, b.all) << line;
        EXPECT_EQ(a.machineType.Str(), b.machineType.Str()) << line;
        EXPECT_EQ(a.serialNumber.Str(), b.serialNumber.Str()) << line;
        EXPECT_EQ(a.controllerNumber, b.controllerNumber) << line;
        EXPECT_EQ(a.scanOrder, b.scanOrder) << line;
        EXPECT_EQ(a.driveCount, b.driveCount) << line;
        EXPECT_EQ(a.controllerType.Str(), b.controllerType.Str()) << line;
    }
}

} // namespace
