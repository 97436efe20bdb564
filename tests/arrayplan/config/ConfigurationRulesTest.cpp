// Member counts by RAID level and the drive limits of arrays formed from free drives, at each bound.
#include "arrayplan/policy/ConfigurationRules.h"
#include "arrayplan/model/RaidEnums.h"

#include <gtest/gtest.h>

#include <set>

namespace {

struct MemberRule {
    int level;
    int type;
    std::set<int> fits; // member counts from 0 to 10 that the level accepts
};

class MemberCounts : public testing::TestWithParam<MemberRule> {};

TEST_P(MemberCounts, FromZeroToTen) {
    const MemberRule& rule = GetParam();
    for (int members = 0; members <= 10; ++members)
        EXPECT_EQ(memberCountFits(rule.level, members, rule.type), rule.fits.count(members) == 1) << members;
}

INSTANTIATE_TEST_SUITE_P(
    Levels, MemberCounts,
    testing::Values(
        MemberRule{kRaid0, 1, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10}},
        MemberRule{kRaid0, 3, {2, 3, 4, 5, 6, 7, 8, 9, 10}}, MemberRule{kRaid0, 4, {1, 2, 3, 4}},
        MemberRule{kRaid1, 1, {2}}, MemberRule{kRaid1E, 1, {3, 4, 5, 6, 7, 8, 9, 10}},
        MemberRule{kRaid5, 4, {3, 4, 5, 6, 7, 8, 9, 10}}, MemberRule{kRaid5E, 1, {4, 5, 6, 7, 8, 9, 10}},
        MemberRule{kRaid5EE, 1, {4, 5, 6, 7, 8, 9, 10}}, MemberRule{kRaid6, 12, {4, 5, 6, 7, 8, 9, 10}},
        MemberRule{kRaid10, 12, {4}}, MemberRule{kRaid50, 12, {6, 8, 10}}, MemberRule{kRaid60, 12, {8, 10}},
        MemberRule{kRaidVolume, 9, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10}}, MemberRule{kRaidSimpleVolume, 9, {}},
        MemberRule{kRaidSpanned, 1, {}}, MemberRule{kRaidLevelNotSet, 1, {}}));

TEST(ArrayDriveLimit, ByLevelOrElseByControllerType) {
    for (int level :
         {kRaid0, kRaid1E, kRaid5, kRaid5E, kRaid5EE, kRaid6, kRaid10, kRaid50, kRaid60, kRaidVolume})
        EXPECT_EQ(arrayDriveLimit(level, 4, -1), 32) << level;
    for (int level : {kRaid1, kRaidSpanned, kRaidSimpleVolume})
        EXPECT_EQ(arrayDriveLimit(level, 1, -1), 2) << level;
    const int byType[] = {0, 32, 4, 2, 4, 2, 2, 16, 4, 2, 6, 16, 32};
    for (int type = 1; type <= 12; ++type) {
        EXPECT_EQ(arrayDriveLimit(kRaidLevelNotSet, type, -1), byType[type]) << type;
        EXPECT_EQ(arrayDriveLimit(kRaidAuto, type, 3), byType[type]) << type;
    }
    EXPECT_EQ(arrayDriveLimit(kRaidAuto, 10, 1), 2);
}

TEST(PercentOfDataSpace, ExactAndRoundedHalfUp) {
    EXPECT_EQ(percentOfDataSpace(kRaid5, 3, 70000, 50), 70000);
    EXPECT_EQ(percentOfDataSpace(kRaid1, 2, 70001, 50), 35001);    // 35000.5
    EXPECT_EQ(percentOfDataSpace(kRaid10, 4, 70000, 100), 140000); // half of four drives
    EXPECT_EQ(percentOfDataSpace(kRaid1E, 3, 1000, 100), 1500);
    EXPECT_EQ(percentOfDataSpace(kRaid6, 6, 1000, 25), 1000);
    EXPECT_EQ(percentOfDataSpace(kRaid60, 8, 1000, 10), 400);
    EXPECT_EQ(percentOfDataSpace(kRaid0, 3, 33333, 33), 33000); // 32999.67
    EXPECT_EQ(percentOfDataSpace(kRaid60, 2, 1000, 10), 0);     // no data drives left
    EXPECT_EQ(percentOfDataSpace(kRaidVolume, 32, 2000000000, 100), 64000000000LL);
}

} // namespace
