#include "foundation/platform/CommandLine.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Arguments = std::vector<std::string>;

struct SplitCase {
    const char* commandLine;
    Arguments expected;
};

class SplitLiterally : public testing::TestWithParam<SplitCase> {};

TEST_P(SplitLiterally, TakesBackslashesAsTheyStand) {
    EXPECT_EQ(SplitCommandLineLiterally(GetParam().commandLine), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    CommandLines, SplitLiterally,
    testing::Values(SplitCase{R"(p.exe "C:\a b\" "D:\c d\" /V:2)",
                              {"p.exe", R"(C:\a b\)", R"(D:\c d\)", "/V:2"}},
                    SplitCase{R"("C:\Program Files\p.exe"  C:\x\	/M:a,b )",
                              {R"(C:\Program Files\p.exe)", R"(C:\x\)", "/M:a,b"}},
                    SplitCase{R"(p "/raid:C:\kit dir\" /ini:a)", {"p", R"(/raid:C:\kit dir\)", "/ini:a"}},
                    SplitCase{R"(p /raid:"C:\kit dir\" /ini:a)", {"p", R"(/raid:C:\kit dir\)", "/ini:a"}},
                    SplitCase{R"(p C:\a" b"\c "" x)", {"p", R"(C:\a b\c)", "", "x"}},
                    SplitCase{R"(p "C:\open ended)", {"p", R"(C:\open ended)"}}, SplitCase{"   ", {}}));

// Arguments without a quote are used as the system split them, on every system.
TEST(ProgramArguments, PlainArgumentsAreArgvUnchanged) {
    const char* argv[] = {"prog", R"(C:\a b\\)", "", "/V:2"};
    EXPECT_EQ(ProgramArguments(4, argv), (Arguments{"prog", R"(C:\a b\\)", "", "/V:2"}));
}

} // namespace
