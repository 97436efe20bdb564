// Runs the console examples of each document in a fresh copy of the examples and the support files, with
// the built programs on the PATH, and compares what every command prints with what the document shows.
#include "ConsoleExamples.h"

#include "support/RunProgram.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <cctype>
#include <sstream>

namespace {

const std::string kMarker = "@@@ example ";

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream stream(text);
    for (std::string line; std::getline(stream, line);) {
        // Files of the sample kit have Windows line ends; the documents show lines.
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        lines.push_back(line);
    }
    return lines;
}

std::string Joined(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines)
        text += "  | " + line + "\n";
    return text;
}

// One shell runs every command of the document in order, so that later examples see what earlier ones made;
// a marker line before each command splits the output.
std::string ScriptOf(const std::vector<ConsoleCommand>& commands) {
    std::string script = "PATH='" + std::string(KIT_BIN_DIR) + "':\"$PATH\"\nexport LC_ALL=C\nexec 2>&1\n";
    for (size_t i = 0; i < commands.size(); ++i)
        script += "echo '" + kMarker + std::to_string(i) + "'\n" + commands[i].command + "\n";
    return script;
}

std::vector<std::vector<std::string>> OutputsByCommand(const std::string& output, size_t count) {
    std::vector<std::vector<std::string>> outputs(count);
    std::vector<std::string>* current = nullptr;
    for (const std::string& line : Lines(output)) {
        if (line.rfind(kMarker, 0) == 0) {
            current = &outputs.at(std::stoul(line.substr(kMarker.size())));
            continue;
        }
        if (current)
            current->push_back(line);
    }
    return outputs;
}

class DocumentExamples : public ::testing::TestWithParam<const char*> {};

TEST_P(DocumentExamples, PrintWhatTheDocumentShows) {
    const std::string document = std::string(KIT_SOURCE_DIR) + "/" + GetParam();
    const std::vector<ConsoleCommand> commands = ConsoleExamplesOf(ReadWholeFile(document));
    ASSERT_FALSE(commands.empty()) << document << " has no console examples";

    TempDir work;
    work.CopyIn(std::string(KIT_SOURCE_DIR) + "/examples", "examples");
    work.CopyIn(std::string(KIT_SOURCE_DIR) + "/data", "data");
    ProgramResult run = RunProgram("/bin/sh", {"-c", ScriptOf(commands)}, work.Path().string());
    const auto outputs = OutputsByCommand(run.out, commands.size());
    for (size_t i = 0; i < commands.size(); ++i) {
        EXPECT_TRUE(LinesMatch(commands[i].expected, outputs[i]))
            << GetParam() << ":" << commands[i].line << ": $ " << commands[i].command << "\nshows:\n"
            << Joined(commands[i].expected) << "prints:\n"
            << Joined(outputs[i]);
    }
}

INSTANTIATE_TEST_SUITE_P(Docs, DocumentExamples,
                         ::testing::Values("README.md", "docs/arrayplan.md", "docs/drvstage.md",
                                           "docs/stagedesk.md"),
                         [](const ::testing::TestParamInfo<const char*>& info) {
                             std::string name = info.param;
                             for (char& c : name)
                                 c = std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
                             return name;
                         });

// The matching itself, since every example relies on it.
TEST(ConsoleExamples, CommandsAndWildcards) {
    const auto commands = ConsoleExamplesOf("text\n```console\n$ a 1\nout\n$ b\n```\n```\n$ not run\n```\n");
    ASSERT_EQ(commands.size(), 2u);
    EXPECT_EQ(commands[0].command, "a 1");
    EXPECT_EQ(commands[0].expected, std::vector<std::string>{"out"});
    EXPECT_TRUE(commands[1].expected.empty());
    EXPECT_EQ(commands[1].line, 5);

    EXPECT_TRUE(LinesMatch({"a", "<...>", "z"}, {"a", "b", "c", "z"}));
    EXPECT_TRUE(LinesMatch({"a", "<...>", "z"}, {"a", "z"}));
    EXPECT_FALSE(LinesMatch({"a", "<...>", "z"}, {"a", "b"}));
    EXPECT_TRUE(LinesMatch({"Captured on <...>: <...>"}, {"Captured on x: 12/08/2026"}));
    EXPECT_FALSE(LinesMatch({"Captured on <...>:"}, {"Captured at x:"}));
    EXPECT_FALSE(LinesMatch({"a"}, {"a", "b"}));
}

} // namespace
