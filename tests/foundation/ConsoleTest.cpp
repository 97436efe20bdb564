#include "foundation/Console.h"

#include "support/ConsoleCapture.h"

#include <gtest/gtest.h>

namespace {

class VerbosityGuard {
public:
    VerbosityGuard() : saved_(Verbosity()) {}
    ~VerbosityGuard() { SetVerbosity(saved_); }

private:
    int saved_;
};

TEST(ConsoleTest, PrintAtLevelWritesOnlyWithinTheVerbosity) {
    VerbosityGuard guard;
    ConsoleCapture capture;
    SetVerbosity(0);
    PrintAtLevel("hidden", 3);
    PrintAtLevel("level zero", 0);
    SetVerbosity(3);
    PrintAtLevel("at three", 3);
    PrintAtLevel("at five", 5);
    SetVerbosity(5);
    PrintAtLevel("now five", 5);
    PrintAtLevel("", 1);
    EXPECT_EQ(capture.Out(), "level zero\nat three\nnow five\n\n");
    EXPECT_EQ(capture.Err(), "");
}

TEST(ConsoleTest, OutputGoesToItsOwnStream) {
    ConsoleCapture capture;
    Console& console = Console::Instance();
    console.Out("plain ");
    console.OutFormat("%s=%d%%", "n", 42);
    console.Err("problem");
    EXPECT_EQ(capture.Out(), "plain n=42%");
    EXPECT_EQ(capture.Err(), "problem");
}

TEST(ConsoleTest, LongFormattedOutputIsNotCut) {
    ConsoleCapture capture;
    std::string word(5000, 'w');
    Console::Instance().OutFormat("[%s]", word.c_str());
    EXPECT_EQ(capture.Out(), "[" + word + "]");
}

TEST(ConsoleTest, AnswersSkipWhiteSpaceAndEndWithEof) {
    ConsoleCapture capture(" \ty\n\n n");
    Console& console = Console::Instance();
    EXPECT_EQ(console.ReadAnswerChar(), 'y');
    EXPECT_EQ(console.ReadAnswerChar(), 'n');
    EXPECT_EQ(console.ReadAnswerChar(), EOF);
    EXPECT_EQ(console.ReadAnswerChar(), EOF);
}

} // namespace
