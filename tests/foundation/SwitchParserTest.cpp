#include "foundation/SwitchParser.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// The validation tool's table.
void DeclareValidationSwitches(SwitchParser& parser) {
    parser.AddSwitch("/ini:", 4, true, true);
    parser.AddSwitch("/inp:", 4, true, true);
    parser.AddSwitch("/outi:", 4, false, true);
    parser.AddSwitch("/outp:", 4, false, true);
    parser.AddSwitch("/raid:", 4, false, true);
    parser.AddSwitch("/?", 1, false, true);
    parser.AddSwitch("/debug", 1, false, true);
}

// The driver copy tool's table: two positional paths first.
void DeclareCopySwitches(SwitchParser& parser) {
    parser.AddSwitch("", 5, true, false);
    parser.AddSwitch("", 5, true, false);
    parser.AddSwitch("/M:", 4, false, true);
    parser.AddSwitch("/ADS", 1, false, false);
    parser.AddSwitch("/C:", 4, false, true);
    parser.AddSwitch("/I:", 4, false, true);
    parser.AddSwitch("/W:", 4, false, true);
    parser.AddSwitch("/V:", 4, false, true);
    parser.AddSwitch("/?", 1, false, true);
}

SwitchParser::Result Parse(SwitchParser& parser, std::vector<const char*> args, bool caseSensitive = false) {
    args.insert(args.begin(), "prog");
    return parser.Parse(static_cast<int>(args.size()), args.data(), caseSensitive, true);
}

std::string ValueOf(const SwitchParser& parser, const char* name) {
    CString value("unset");
    parser.GetValue(name, value);
    return value.Str();
}

TEST(SwitchParserTest, SpanningValueJoinsSplitArgumentsWithOneBlank) {
    SwitchParser parser;
    DeclareValidationSwitches(parser);
    ASSERT_EQ(Parse(parser, {"/ini:C:\\My", "Files", "/inp:p.txt", "/debug"}), SwitchParser::kParsed);
    EXPECT_EQ(ValueOf(parser, "/ini:"), "C:\\My Files");
    EXPECT_EQ(ValueOf(parser, "/inp:"), "p.txt");
    EXPECT_TRUE(parser.IsGiven("/debug"));
    EXPECT_FALSE(parser.IsGiven("/?"));
    EXPECT_EQ(ValueOf(parser, "/outi:"), "unset");
    EXPECT_EQ(parser.ProgramName(), "prog");
}

TEST(SwitchParserTest, RepeatRightAfterASpanningSwitchBecomesItsValue) {
    SwitchParser parser;
    DeclareValidationSwitches(parser);
    ASSERT_EQ(Parse(parser, {"/ini:a", "/ini:b", "/inp:x"}), SwitchParser::kParsed);
    EXPECT_EQ(ValueOf(parser, "/ini:"), "a /ini:b");

    // Any spanning switch takes a given switch's repeat into its value...
    ASSERT_EQ(Parse(parser, {"/ini:a", "/inp:x", "/ini:b"}), SwitchParser::kParsed);
    EXPECT_EQ(ValueOf(parser, "/inp:"), "x /ini:b");

    // ...but after a flag the repeat has no definition left to match.
    ASSERT_EQ(Parse(parser, {"/ini:a", "/debug", "/ini:b", "/inp:x"}), SwitchParser::kRejected);
    EXPECT_EQ(parser.ErrorCode(), SwitchParser::kUnknownArgument);
    EXPECT_EQ(parser.ErrorText(), "/ini:b");
    EXPECT_EQ(parser.ErrorIndex(), 3);
}

TEST(SwitchParserTest, RequiredSwitchMissing) {
    SwitchParser parser;
    DeclareValidationSwitches(parser);
    ASSERT_EQ(Parse(parser, {"/ini:a.ini"}), SwitchParser::kRejected);
    EXPECT_EQ(parser.ErrorCode(), SwitchParser::kRequiredMissing);
    EXPECT_EQ(parser.ErrorText(), "/inp:");
    EXPECT_EQ(parser.ErrorIndex(), 0); // never given

    // Without validation the same command line is accepted.
    const char* argv[] = {"prog", "/ini:a.ini"};
    EXPECT_EQ(parser.Parse(2, argv, false, false), SwitchParser::kParsed);
    EXPECT_EQ(parser.ErrorCode(), SwitchParser::kNoError);
}

TEST(SwitchParserTest, NamesIgnoreCaseButValuesKeepIt) {
    SwitchParser parser;
    DeclareValidationSwitches(parser);
    ASSERT_EQ(Parse(parser, {"/INI:MixedCase.Ini", "/Inp:p", "/DEBUG"}), SwitchParser::kParsed);
    EXPECT_EQ(ValueOf(parser, "/ini:"), "MixedCase.Ini");
    EXPECT_TRUE(parser.IsGiven("/debug"));
    // Lookups are byte-exact on the declared name.
    EXPECT_FALSE(parser.IsGiven("/DEBUG"));

    EXPECT_EQ(Parse(parser, {"/INI:a", "/inp:p"}, true), SwitchParser::kRejected);
    EXPECT_EQ(parser.ErrorCode(), SwitchParser::kUnknownArgument);
}

TEST(SwitchParserTest, FlagMatchesOnlyTheWholeName) {
    SwitchParser parser;
    DeclareValidationSwitches(parser);
    ASSERT_EQ(Parse(parser, {"/ini:a", "/inp:b", "/debugx"}), SwitchParser::kRejected);
    EXPECT_EQ(parser.ErrorCode(), SwitchParser::kUnknownArgument);
    EXPECT_EQ(parser.ErrorText(), "/debugx");

    // It also ends a spanning value, since it starts with a switch name.
    ASSERT_EQ(Parse(parser, {"/inp:b", "/ini:a", "/debugx"}), SwitchParser::kRejected);
    EXPECT_EQ(parser.ErrorText(), "/debugx");
}

TEST(SwitchParserTest, PositionalArgumentsTakeAnythingThatIsNotASwitch) {
    SwitchParser parser;
    DeclareCopySwitches(parser);
    ASSERT_EQ(Parse(parser, {"/srv/drivers", "/tmp/out dir", "/m:a,b", "/V:5"}), SwitchParser::kParsed);
    CString source;
    CString destination;
    ASSERT_TRUE(parser.GetPositionalValue(0, source));
    ASSERT_TRUE(parser.GetPositionalValue(1, destination));
    EXPECT_EQ(source, "/srv/drivers");
    EXPECT_EQ(destination, "/tmp/out dir");
    EXPECT_FALSE(parser.GetPositionalValue(2, source));
    EXPECT_EQ(ValueOf(parser, "/M:"), "a,b");
    EXPECT_EQ(ValueOf(parser, "/V:"), "5");

    // A third non-switch argument has no definition left.
    ASSERT_EQ(Parse(parser, {"src", "dst", "extra"}), SwitchParser::kRejected);
    EXPECT_EQ(parser.ErrorText(), "extra");
}

TEST(SwitchParserTest, SwitchesBeforeThePathsSwallowThem) {
    SwitchParser parser;
    DeclareCopySwitches(parser);
    ASSERT_EQ(Parse(parser, {"/M:a", "src", "dst"}), SwitchParser::kRejected);
    EXPECT_EQ(ValueOf(parser, "/M:"), "a src dst");
    EXPECT_EQ(parser.ErrorCode(), SwitchParser::kRequiredMissing);
    EXPECT_EQ(parser.ErrorText(), "");
}

TEST(SwitchParserTest, FlagIsNeverRejectedForItsMissingValue) {
    SwitchParser parser;
    DeclareCopySwitches(parser);
    EXPECT_EQ(Parse(parser, {"src", "dst", "/ads"}), SwitchParser::kParsed);
    EXPECT_TRUE(parser.IsGiven("/ADS"));
}

TEST(SwitchParserTest, EmptyAndNumericValueChecks) {
    SwitchParser parser;
    parser.AddSwitch("/n:", 2, false, false);
    parser.AddSwitch("/t:", 3, false, false);

    struct Case {
        std::vector<const char*> args;
        int code;
        const char* text;
    };
    const Case cases[] = {
        {{"/n:12", "/t:x"}, SwitchParser::kNoError, ""},
        {{"/n:-3"}, SwitchParser::kNoError, ""},
        {{"/t:"}, SwitchParser::kEmptyValue, "/t:"},
        {{"/n:"}, SwitchParser::kEmptyValue, "/n:"},
        {{"/n:012"}, SwitchParser::kNotANumber, "/n:"},
        {{"/n:1x"}, SwitchParser::kNotANumber, "/n:"},
        {{"/n:+1"}, SwitchParser::kNotANumber, "/n:"},
        {{"/n:99999999999999999999999"}, SwitchParser::kNotANumber, "/n:"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.args[0]);
        Parse(parser, c.args);
        EXPECT_EQ(parser.ErrorCode(), c.code);
        EXPECT_EQ(parser.ErrorText(), c.text);
        EXPECT_EQ(parser.ErrorIndex(), c.code == SwitchParser::kNoError ? 0 : 1);
    }
}

TEST(SwitchParserTest, ExcludesAndRequiresLists) {
    SwitchParser parser;
    parser.AddSwitch("/a", 1, false, true, kEmptyList, "/b,/c~2");
    parser.AddSwitch("/b", 1, false, true);
    parser.AddSwitch("/c", 1, false, true);
    parser.AddSwitch("/d", 1, false, true, "/b,/c", kEmptyList);

    EXPECT_EQ(Parse(parser, {"/a"}), SwitchParser::kParsed);

    ASSERT_EQ(Parse(parser, {"/c", "/a"}), SwitchParser::kRejected);
    EXPECT_EQ(parser.ErrorCode(), SwitchParser::kExcluded);
    EXPECT_EQ(parser.ErrorText(), "/a");
    EXPECT_EQ(parser.ErrorDetail(), "/c~2");

    ASSERT_EQ(Parse(parser, {"/d"}), SwitchParser::kRejected);
    EXPECT_EQ(parser.ErrorCode(), SwitchParser::kRequirementMissing);
    EXPECT_EQ(parser.ErrorText(), "/d");
    EXPECT_EQ(parser.ErrorDetail(), "/b,/c");

    EXPECT_EQ(Parse(parser, {"/d", "/c"}), SwitchParser::kParsed);
}

TEST(SwitchParserTest, FirstFailureInDeclarationOrderWins) {
    SwitchParser parser;
    parser.AddSwitch("/x:", 3, false, false);
    parser.AddSwitch("/y:", 3, true, false);
    ASSERT_EQ(Parse(parser, {"/x:"}), SwitchParser::kRejected);
    EXPECT_EQ(parser.ErrorCode(), SwitchParser::kEmptyValue);
    EXPECT_EQ(parser.ErrorText(), "/x:");
}

TEST(SwitchParserTest, UnknownKindIsAnInternalError) {
    SwitchParser parser;
    parser.AddSwitch("/a", 1, false, true);
    parser.AddSwitch("/z", 7, false, true);
    EXPECT_EQ(Parse(parser, {}), SwitchParser::kInternalError);
}

TEST(SwitchParserTest, ParsingAgainStartsFresh) {
    SwitchParser parser;
    DeclareValidationSwitches(parser);
    ASSERT_EQ(Parse(parser, {"/ini:a", "/inp:b", "/debug"}), SwitchParser::kParsed);
    ASSERT_EQ(Parse(parser, {"/ini:c", "/inp:d"}), SwitchParser::kParsed);
    EXPECT_EQ(ValueOf(parser, "/ini:"), "c");
    EXPECT_FALSE(parser.IsGiven("/debug"));
}

} // namespace
