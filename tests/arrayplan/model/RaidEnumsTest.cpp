#include "arrayplan/model/RaidEnums.h"

#include <gtest/gtest.h>

namespace {

TEST(RaidEnums, LevelTextsReadTrimmedWithoutLetterRIgnoringCase) {
    EXPECT_EQ(raidLevelFromText("r10 "), kRaid10);
    EXPECT_EQ(raidLevelFromText("volume"), kRaidVolume);
    EXPECT_EQ(raidLevelFromText("R5"), kRaid5);
    EXPECT_EQ(raidLevelFromText("\t5ee\n"), kRaid5EE);
    EXPECT_EQ(raidLevelFromText("1e"), kRaid1E);
    EXPECT_EQ(raidLevelFromText("Simple Volume"), kRaidSimpleVolume);
    EXPECT_EQ(raidLevelFromText("SPANNED"), kRaidSpanned);
    EXPECT_EQ(raidLevelFromText("AUTO"), -1);
    EXPECT_EQ(raidLevelFromText(""), -1);
    EXPECT_EQ(raidLevelFromText("R"), -1);
    EXPECT_EQ(raidLevelFromText("55"), -1);
    EXPECT_EQ(raidLevelFromText(nullptr), -1);
}

TEST(RaidEnums, LevelTextsWritten) {
    EXPECT_STREQ(raidLevelText(kRaid10), "10");
    EXPECT_STREQ(raidLevelText(kRaidSimpleVolume), "SIMPLE VOLUME");
    EXPECT_STREQ(raidLevelText(kRaidSpanned), "");
    EXPECT_STREQ(raidLevelText(kRaidAuto), "");
    EXPECT_STREQ(raidLevelText(-1), "");
    EXPECT_STREQ(raidLevelText(14), "");
}

TEST(RaidEnums, StripeTextsAreExactSizes) {
    EXPECT_EQ(stripeSizeFromText("64"), 3);
    EXPECT_EQ(stripeSizeFromText("4096"), 9);
    EXPECT_EQ(stripeSizeFromText(" 4096"), -1);
    EXPECT_EQ(stripeSizeFromText("64KB"), -1);
    EXPECT_EQ(stripeSizeFromText("3"), -1);
    EXPECT_STREQ(stripeSizeText(kStripeNotSet), "");
    EXPECT_EQ(writeCacheFromText("auto"), kWriteCacheAuto);
    EXPECT_EQ(writeCacheFromText("FAST"), -1);
}

} // namespace
