// The layout checks of the policy scan: each bad file ends the read with one exact report.
#include "tests/arrayplan/policy/PolicyTestSupport.h"

#include <ostream>
#include <string>

namespace {

struct LayoutCase {
    const char* label;
    std::string file;
    std::string report;
};

// Test listings name a case by its label, not by its bytes.
void PrintTo(const LayoutCase& c, std::ostream* os) {
    *os << c.label;
}

std::string keywordLines(int count) {
    std::string lines;
    for (int i = 2; i <= count; ++i)
        lines += "AppliesTo." + std::to_string(i) + " = ALL\n";
    return lines;
}

std::string manyPolicies(int count) {
    std::string file;
    for (int i = 1; i <= count; ++i)
        file += "[Policy.P" + std::to_string(i) + "]\nAppliesTo.1 = c:" + std::to_string(i) + "\n";
    return file;
}

class LayoutErrors : public PolicyFileTest, public ::testing::WithParamInterface<LayoutCase> {};

TEST_P(LayoutErrors, ReportsTheFirstErrorAndFails) {
    EXPECT_FALSE(readPolicies(GetParam().file));
    EXPECT_EQ(lastReport(), GetParam().report);
    EXPECT_EQ(out.find("#### ERROR"), out.rfind("#### ERROR")) << "one report only";
    EXPECT_EQ(reader->policyList().size(), 0);
}

INSTANTIATE_TEST_SUITE_P(
    PolicyScan, LayoutErrors,
    ::testing::Values(
        LayoutCase{"TextBeforeFirstPolicy", "; c\nRebuildRate = HIGH\n", "Line 2 -- Invalid character:  R\n"},
        LayoutCase{"TabIndentedFirstDeclaration", "\t[Policy.A]\nAppliesTo.1 = ALL\n",
                   "Line 1 -- Invalid character:  \t\n"},
        LayoutCase{"TabIndentedDeclarationInsidePolicy", onePolicy("\t[Policy.B]\n"),
                   "Line 3 -- Line not in keyword = value format:  \t[Policy.B]\n"},
        LayoutCase{"KeywordLineReportedWhole", onePolicy("   StripeSize 64 \n"),
                   "Line 3 -- Line not in keyword = value format:     StripeSize 64 \n"},
        LayoutCase{"DeclarationWithoutBracket", "\n[Policy.A\nAppliesTo.1 = ALL\n",
                   "Line 2 -- Invalid policy declaration.\n"},
        LayoutCase{"PrefixAlone", "[Policy.]\n", "Line 1 -- Invalid or duplicate policy name:  Policy.\n"},
        LayoutCase{"WrongPrefix", "[Server.A]\n", "Line 1 -- Invalid or duplicate policy name:  Server.A\n"},
        LayoutCase{"BlankInName", "[Policy.A B]\n",
                   "Line 1 -- Invalid or duplicate policy name:  Policy.A B\n"},
        LayoutCase{"NameNotTrimmed", "[ Policy.A]\n",
                   "Line 1 -- Invalid or duplicate policy name:   Policy.A\n"},
        LayoutCase{"DuplicateNameInOtherCase", onePolicy("[POLICY.a]\nAppliesTo.1 = ALL\n"),
                   "Line 3 -- Invalid or duplicate policy name:  POLICY.a\n"},
        LayoutCase{"UnknownKeyword", onePolicy("Colour = red\n"), "Line 3 -- Invalid keyword:  Colour\n"},
        LayoutCase{"ArrayLetterBeyondH", onePolicy("Array.I = 1:1\n"),
                   "Line 3 -- Invalid keyword:  Array.I\n"},
        LayoutCase{"AppliesToZero", onePolicy("AppliesTo.0 = ALL\n"),
                   "Line 3 -- Invalid keyword:  AppliesTo.0\n"},
        LayoutCase{"LogicalWithoutNumber", onePolicy(" Logical.x\t= A:FILL:5\n"),
                   "Line 3 -- Invalid keyword:  Logical.x\n"},
        LayoutCase{"DuplicateKeywordInOtherCase", onePolicy("Init = QUICK\nStripeSize = 8\nINIT = BUILD\n"),
                   "Policy.A -- Duplicate keywords found:  Init"},
        LayoutCase{"NoAppliesToOne", "[Policy.A]\nAppliesTo.2 = ALL\n[Policy.B]\n",
                   "Policy.A -- Each policy must have an AppliesTo.1"},
        LayoutCase{"FiftyFirstKeywordLine",
                   "[Policy.A]\nAppliesTo.1 = ALL\n" + keywordLines(50) + "  Init = QUICK\n",
                   "Line 52 -- Invalid character:  I\n"},
        LayoutCase{"OnlyCommentsAndBlanks", "; none\n\n   \n  ; still none\n",
                   "\tYou must specify at least one policy in the policies file.\n"},
        // The end of the file ends the last line, so it gets every check.
        LayoutCase{"LastLineWithoutNewline", onePolicy("Bogus = 1"), "Line 3 -- Invalid keyword:  Bogus\n"},
        LayoutCase{"LastLineWithoutEquals", onePolicy("Init"),
                   "Line 3 -- Line not in keyword = value format:  Init\n"},
        // Bounds that are refused rather than cut.
        LayoutCase{"LineTooLong", onePolicy("; " + std::string(253, 'x') + "\n"),
                   "Line 3 -- Line longer than 254 characters.\n"},
        LayoutCase{"MorePoliciesThanTheListHolds", manyPolicies(101),
                   "Line 201 -- Too many policies.  The maximum number of policies is 100\n"},
        // A longer line is judged by its start first, by its length when the start passes.
        LayoutCase{"LongLineWithABadStart", std::string(300, 'x') + "\n",
                   "Line 1 -- Invalid character:  x\n"},
        LayoutCase{"EndlessNulBytes", std::string(100000, '\0'), "Line 1 -- Invalid character:  \n"},
        LayoutCase{"LongDeclaration", "[Policy.A]" + std::string(300, ' ') + "\nAppliesTo.1 = ALL\n",
                   "Line 1 -- Line longer than 254 characters.\n"},
        LayoutCase{"LongKeywordLine", onePolicy("Init = QUICK" + std::string(250, ' ') + "\n"),
                   "Line 3 -- Line longer than 254 characters.\n"},
        LayoutCase{"LongLineWithoutEquals", onePolicy(std::string(300, 'y') + "\n"),
                   "Line 3 -- Line not in keyword = value format:  " + std::string(254, 'y') + "\n"}),
    [](const ::testing::TestParamInfo<LayoutCase>& info) { return std::string(info.param.label); });

TEST_F(PolicyFileTest, AcceptsEveryLayoutThatTheRulesAllow) {
    std::string file = "; comment\r\n"
                       "   \n"
                       "  [policy.Web-1_a.b] text after the bracket\r\n"
                       "appliesto.1 = c:1\r\nInit = BUILD\r\n"
                       "   ; indented comment\n"
                       "AppliesTo.16 = nonsense that is never read\n"
                       "Array.A2 = never read either\n"
                       "Logical.01 = ignored too\n"
                       "[Policy.Second]\n" +
                       keywordLines(49) + "AppliesTo.1=ALL\n" + "StripeSize = 64"; // no final newline
    ASSERT_TRUE(readPolicies(file)) << out;
    ASSERT_EQ(reader->policyCount(), 2);
    EXPECT_EQ(reader->policyNames()[0], "policy.Web-1_a.b");
    EXPECT_EQ(policy(0).appliesToCount(), 1);
    EXPECT_EQ(policy(0).appliesToAt(0)->controllerNumber, 1);
    EXPECT_EQ(policy(0).arrayCount(), 0);
    EXPECT_EQ(policy(0).init, Policy::kInitBuild) << "CR LF is one newline";
    EXPECT_EQ(policy(1).stripeSize, "64");
    EXPECT_EQ(policy(1).appliesToCount(), 15);
}

// Editors save a UTF-8 byte order mark at the start; the file reads as without it, in both passes.
TEST_F(PolicyFileTest, ByteOrderMarkIsSkipped) {
    ASSERT_TRUE(readPolicies("\xEF\xBB\xBF[Policy.A]\r\nAppliesTo.1 = ALL\r\nInit = BUILD\r\n")) << out;
    EXPECT_EQ(reader->policyNames()[0], "Policy.A");
    EXPECT_EQ(policy(0).init, Policy::kInitBuild);
}

TEST_F(PolicyFileTest, LongestLineIsAccepted) {
    std::string line = "AppliesTo.1 = m:" + std::string(254 - 16, 'x');
    ASSERT_EQ(line.size(), 254u);
    EXPECT_TRUE(readPolicies("[Policy.A]\n" + line + "\n")) << out;
}

TEST_F(PolicyFileTest, HundredPoliciesAreAccepted) {
    EXPECT_TRUE(readPolicies(manyPolicies(100)));
    EXPECT_EQ(reader->policyList().size(), 100);
}

TEST_F(PolicyFileTest, LastAppliesToWithoutNewlineCounts) {
    EXPECT_TRUE(readPolicies("[Policy.A]\nInit = BUILD\nAppliesTo.1 = d:2")) << out;
    EXPECT_EQ(policy(0).appliesToAt(0)->driveCount, 2);
}

TEST_F(PolicyFileTest, ScanAndValidationPrintTheirProgress) {
    ASSERT_TRUE(readPolicies("[Policy.A]\nAppliesTo.1 = ALL\n[Policy.B]\nAppliesTo.1 = ALL\n"));
    EXPECT_EQ(out, "\tScanning policies ...\n\tPolicy.A\n\tPolicy.B\n"
                   "\tValidating keywords and values ...\n\tPolicy.A\n\tPolicy.B\n");
}

// A path that is there but cannot be opened (a folder) is named with the system's reason.
TEST_F(PolicyFileTest, FileThatCannotBeOpenedIsNamedWithTheReason) {
    reader = std::make_unique<PolicyReader>(settings, CString(dir.Path().string().c_str()), false);
    ConsoleCapture capture;
    EXPECT_FALSE(reader->read());
    EXPECT_EQ(capture.Out(), "\n#### ERROR\n\tCould not open policies file:  " + dir.Path().string() + "\n" +
                                 dir.Path().string() + ": Is a directory\n");
}

TEST_F(PolicyFileTest, MissingFileFailsOnlyInTheStrictMode) {
    EXPECT_FALSE(readMissingFile(false));
    EXPECT_EQ(lastReport(), "Could not open policies file:  " + dir / "absent.ini" + "\n" +
                                dir / "absent.ini" + ": No such file or directory\n");

    EXPECT_TRUE(readMissingFile(true));
    EXPECT_EQ(reader->policyList().size(), 0);
    EXPECT_EQ(out.find("ERROR"), std::string::npos);
}

TEST_F(PolicyFileTest, LenientModeAcceptsAFileWithoutPolicies) {
    EXPECT_TRUE(readPolicies("; nothing yet\n", true));
    EXPECT_EQ(reader->policyList().size(), 0);
    EXPECT_FALSE(readPolicies("[Policy.A]\nInit = QUICK\n", true)) << "the file's own errors still count";
}

} // namespace
