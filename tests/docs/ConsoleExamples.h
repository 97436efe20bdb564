// The console examples of a Markdown document: fenced blocks marked "console", in which a line "$ command"
// is a command and the lines after it, up to the next command or the end of the block, are what it prints.
// In the printed lines, "<...>" stands for any text, and a line holding only "<...>" for any number of lines.
#pragma once

#include <string>
#include <vector>

struct ConsoleCommand {
    std::string command;
    std::vector<std::string> expected;
    int line = 0; // in the document, for messages
};

std::vector<ConsoleCommand> ConsoleExamplesOf(const std::string& markdown);

// Whether the printed lines fit the expected ones, with the wildcards above.
bool LinesMatch(const std::vector<std::string>& expected, const std::vector<std::string>& actual);
