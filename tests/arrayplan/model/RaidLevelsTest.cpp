// The RAID level table against the rules that read it: the texts read back to their codes, and no level
// takes a member count that leaves its array without data space.
#include "arrayplan/model/RaidLevels.h"
#include "arrayplan/model/RaidEnums.h"
#include "arrayplan/planner/DataSpace.h"
#include "arrayplan/policy/ConfigurationRules.h"

#include <gtest/gtest.h>

namespace {

TEST(RaidLevels, EveryTextReadsBackToItsCode) {
    int texted = 0;
    for (int code = 0; const RaidLevelFacts* facts = raidLevelFacts(code); ++code) {
        EXPECT_EQ(facts->level, code) << "the table is ordered by code";
        if (facts->text[0] == '\0')
            continue;
        ++texted;
        EXPECT_EQ(raidLevelFromText(facts->text), code) << facts->text;
    }
    EXPECT_EQ(texted, 13) << "every level but AUTO has a text";
    EXPECT_EQ(raidLevelFacts(-1), nullptr);
    EXPECT_EQ(raidLevelFacts(14), nullptr);
}

TEST(RaidLevels, AMemberCountALevelTakesHoldsData) {
    for (int level = -1; level <= 14; ++level) {
        for (int members = 0; members <= 32; ++members) {
            if (!memberCountFits(level, members, 1))
                continue;
            EXPECT_GT(dataSpace(members, 1000, level), 0)
                << "level " << level << ", " << members << " drives";
            EXPECT_GT(percentOfDataSpace(level, members, 1000, 100), 0) << "level " << level;
            EXPECT_LE(members, arrayDriveLimit(level, 1, 4)) << "level " << level;
        }
    }
}

} // namespace
