#include "stagedesk/core/sd_paths.h"
#include "stagedesk/core/sd_text.h"

#include "sd_fakes.h"

#include <gtest/gtest.h>

namespace {

TEST(CultureCompare, OrdersLettersBeforeCaseAndVersionsAsText) {
    EXPECT_LT(sd::CultureCompare("apple", "Banana"), 0); // an ordinal comparison puts "B" first
    EXPECT_LT(sd::CultureCompare("abc", "ABC"), 0);
    EXPECT_EQ(sd::CultureCompare("7.80", "7.80"), 0);
    EXPECT_GT(sd::CultureCompare("2.4", "2.1"), 0);
    EXPECT_GT(sd::CultureCompare("1.5", "1.10"), 0);
    EXPECT_LT(sd::CultureCompare("3790", "37901"), 0);
}

struct WildcardCase {
    const char* name;
    const char* pattern;
    bool matches;
};

class Wildcard : public testing::TestWithParam<WildcardCase> {};

TEST_P(Wildcard, MatchesLikeTheMediaFileSystems) {
    EXPECT_EQ(sd::WildcardMatch(GetParam().name, GetParam().pattern), GetParam().matches)
        << GetParam().name << " ~ " << GetParam().pattern;
}

INSTANTIATE_TEST_SUITE_P(
    Patterns, Wildcard,
    testing::Values(WildcardCase{"TXTSETUP.SIF", "*.sif", true},
                    WildcardCase{"txtsetup.sif", "TXTSETUP.SIF", true},
                    WildcardCase{"WIN51IP.SP1", "WIN51*", true}, WildcardCase{"WIN5", "WIN51*", false},
                    WildcardCase{"README", "*.*", true}, WildcardCase{"CDROM_S.1", "CDROM_?.1", true},
                    WildcardCase{"CDROM_.1", "CDROM_?.1", false}, WildcardCase{"abXcYbc", "a*b*c", true},
                    WildcardCase{"abXcYbd", "a*b*c", false}, WildcardCase{"setup.ini", "", false}));

TEST(KitPaths, JoinTrimAndResolveLetterCase) {
    EXPECT_EQ(sd::JoinPath("/src/", "\\i386\\"), "/src/i386");
    EXPECT_EQ(sd::JoinPath("C:\\media\\", "i386"), "C:/media/i386");
    EXPECT_EQ(sd::JoinPath("/", "i386"), "/i386");
    EXPECT_EQ(sd::JoinPath("/src", ""), "/src");
    EXPECT_EQ(sd::TrimTrailingSeparators("/"), "/");
    EXPECT_EQ(sd::TrimTrailingSeparators("C:\\"), "C:/");
    EXPECT_EQ(sd::TrimBackslashes("\\%sdroot%\\os\\"), "%sdroot%\\os");
    EXPECT_EQ(sd::TrimBackslashes("/abs/path"), "/abs/path");

    TestKit kit;
    kit.Write("media/I386/TxtSetup.SIF", "x");
    EXPECT_EQ(sd::ResolveCase(kit.Path("media/i386/txtsetup.sif")), kit.Path("media/I386/TxtSetup.SIF"));
    EXPECT_EQ(sd::ResolveCase(kit.Path("media/i386/missing.txt")), kit.Path("media/i386/missing.txt"));
}

} // namespace
