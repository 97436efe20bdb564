// The value lookup that the validation uses for every keyword.
#include "tests/arrayplan/policy/PolicyTestSupport.h"

namespace {

TEST_F(PolicyFileTest, ValueLookupFollowsTheLineRules) {
    CString path(dir.Write("lookup.ini", "; comment\n"
                                         "Stray = before any section\n"
                                         "  [ Policy.X ]  \n"
                                         "  Key = first  \n"
                                         "key = second\n"
                                         "a line without equals\n"
                                         "Empty =\n"
                                         "Marker = ^~\n"
                                         "Semi = value ; remark\n"
                                         "\tTabbed\t=\tv = w\t\n"
                                         " ;Hidden = x\n"
                                         "[policy.x]\n"
                                         "Late = in a later section of the same name\n"
                                         "[Policy.Y\n"
                                         "Other = y\n"
                                         "Last = no newline"));
    PolicyReader lookupReader(settings, path, false);
    ConsoleCapture capture;
    EXPECT_EQ(lookupReader.valueOf("Policy.X", "Key"), "first");
    EXPECT_EQ(lookupReader.valueOf("POLICY.x", "KEY"), "first");
    EXPECT_EQ(lookupReader.valueOf("Policy.X", "Tabbed"), "v = w");
    EXPECT_EQ(lookupReader.valueOf("Policy.X", "Empty"), "");
    EXPECT_EQ(lookupReader.valueOf("Policy.X", "Semi"), "value ; remark");
    EXPECT_EQ(lookupReader.valueOf("Policy.X", "Marker"), kAbsentValue);
    EXPECT_EQ(lookupReader.valueOf("Policy.X", "Stray"), kAbsentValue);
    EXPECT_EQ(lookupReader.valueOf("Policy.X", "Hidden"), kAbsentValue);
    EXPECT_EQ(lookupReader.valueOf("Policy.X", "Late"), kAbsentValue) << "only the first section counts";
    EXPECT_EQ(lookupReader.valueOf("Policy.X", "Other"), kAbsentValue);
    EXPECT_EQ(lookupReader.valueOf("Policy.Y", "Other"), "y") << "a header without ] names the rest";
    EXPECT_EQ(lookupReader.valueOf("Policy.Y", "Last"), "no newline");
    EXPECT_EQ(lookupReader.valueOf("Policy.Z", "Key"), kAbsentValue);
    EXPECT_EQ(capture.Out(), "");
}

TEST_F(PolicyFileTest, ValueLookupOfAMissingFileSaysSo) {
    PolicyReader lookupReader(settings, CString(dir / "gone.ini"), false);
    ConsoleCapture capture;
    EXPECT_EQ(lookupReader.valueOf("Policy.A", "Init"), kFileNotFoundValue);
    EXPECT_EQ(capture.Out(), "File not found:  " + dir / "gone.ini" + " \n");
}

TEST_F(PolicyFileTest, ValuesComeFromTheLastLineToo) {
    // Both passes see a last line without a newline: its value is read.
    ASSERT_TRUE(readPolicies(onePolicy("Init = build"))) << out;
    EXPECT_EQ(policy(0).init, Policy::kInitBuild);
}

} // namespace
