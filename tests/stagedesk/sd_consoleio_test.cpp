#include "stagedesk/core/sd_consoleio.h"

#include <gtest/gtest.h>

#include <sstream>

namespace {

using Answer = sd_prompt::Answer;
using Buttons = sd_prompt::Buttons;

struct AnswerCase {
    const char* label;
    Buttons buttons;
    const char* input;
    bool typingShown; // typed on the terminal that shows the output
    Answer answer;
    const char* printedAfterText; // everything printed after the question's text line
};

void PrintTo(const AnswerCase& c, std::ostream* os) {
    *os << c.label;
}

class ConsoleAnswer : public testing::TestWithParam<AnswerCase> {};

TEST_P(ConsoleAnswer, IsPrintedUnlessTheTerminalShowsItAlready) {
    const AnswerCase& c = GetParam();
    std::ostringstream out;
    std::istringstream in(c.input);
    sd_ConsoleWriter writer(out, c.typingShown);
    sd_ConsolePrompt prompt(writer, in, false, c.typingShown);
    EXPECT_EQ(prompt.Ask("Question?", "Caption", c.buttons, sd_prompt::Icon::Question), c.answer);
    EXPECT_EQ(out.str(), std::string("Caption\nQuestion?\n") + c.printedAfterText);
}

INSTANTIATE_TEST_SUITE_P(
    Prompts, ConsoleAnswer,
    testing::Values(
        // Read from a pipe or a file: the answer's word ends the prompt's line.
        AnswerCase{"PipedYes", Buttons::YesNo, " Y \n", false, Answer::Yes, "[y/n] Yes\n"},
        AnswerCase{"PipedNo", Buttons::YesNo, "no\r\n", false, Answer::No, "[y/n] No\n"},
        AnswerCase{"PipedUnknownThenYes", Buttons::YesNo, "maybe\n\nyes\n", false, Answer::Yes,
                   "[y/n] maybe\n[y/n] \n[y/n] Yes\n"},
        AnswerCase{"PipedEnter", Buttons::OKCancel, "\n", false, Answer::OK,
                   "[Enter or o = OK, c = Cancel] OK\n"},
        AnswerCase{"PipedCancel", Buttons::OKCancel, "c\n", false, Answer::Cancel,
                   "[Enter or o = OK, c = Cancel] Cancel\n"},
        // The end of input answers, typed or piped, and says so.
        AnswerCase{"PipedEnd", Buttons::YesNo, "", false, Answer::No, "[y/n] No\n"},
        AnswerCase{"TypedEnd", Buttons::OKCancel, "", true, Answer::Cancel,
                   "[Enter or o = OK, c = Cancel] Cancel\n"},
        // Typed on the terminal: its echo already shows the answer and ends the line.
        AnswerCase{"TypedYes", Buttons::YesNo, "y\n", true, Answer::Yes, "[y/n] "},
        AnswerCase{"TypedUnknownThenNo", Buttons::YesNo, "x\nn\n", true, Answer::No, "[y/n] [y/n] "},
        AnswerCase{"TypedEnter", Buttons::OKCancel, "\n", true, Answer::OK,
                   "[Enter or o = OK, c = Cancel] "}),
    [](const testing::TestParamInfo<AnswerCase>& info) { return std::string(info.param.label); });

TEST(ConsoleAnswer, YesForEveryQuestionAndNoReadForAMessage) {
    std::ostringstream out;
    std::istringstream in("n\n");
    sd_ConsoleWriter writer(out, false);
    sd_ConsolePrompt always(writer, in, true, false);
    EXPECT_EQ(always.Ask("Remove?", "Exists", Buttons::YesNo, sd_prompt::Icon::Question), Answer::Yes);
    EXPECT_EQ(always.Ask("Insert the disc", "Disc", Buttons::OKCancel, sd_prompt::Icon::Question),
              Answer::Cancel);
    EXPECT_EQ(always.Ask("Done", "Note", Buttons::OK, sd_prompt::Icon::Information), Answer::OK);
    EXPECT_EQ(out.str(),
              "Exists\nRemove?\nYes\n"
              "Disc\nInsert the disc\n[Enter or o = OK, c = Cancel] n\n[Enter or o = OK, c = Cancel] Cancel\n"
              "Note\nDone\n");
}

} // namespace
