#include "ConsoleExamples.h"

#include <sstream>

namespace {

constexpr const char* kAnything = "<...>";

bool LineMatches(const std::string& pattern, const std::string& line) {
    size_t wildcard = pattern.find(kAnything);
    if (wildcard == std::string::npos)
        return pattern == line;
    const std::string head = pattern.substr(0, wildcard);
    const std::string tail = pattern.substr(wildcard + std::string(kAnything).size());
    if (line.compare(0, head.size(), head) != 0)
        return false;
    // The rest of the pattern may hold further wildcards: try every place for this one.
    for (size_t from = head.size(); from <= line.size(); ++from) {
        if (LineMatches(tail, line.substr(from)))
            return true;
    }
    return false;
}

bool MatchFrom(const std::vector<std::string>& expected, size_t e, const std::vector<std::string>& actual,
               size_t a) {
    if (e == expected.size())
        return a == actual.size();
    if (expected[e] == kAnything) {
        for (size_t skip = a; skip <= actual.size(); ++skip) {
            if (MatchFrom(expected, e + 1, actual, skip))
                return true;
        }
        return false;
    }
    return a < actual.size() && LineMatches(expected[e], actual[a]) &&
           MatchFrom(expected, e + 1, actual, a + 1);
}

} // namespace

std::vector<ConsoleCommand> ConsoleExamplesOf(const std::string& markdown) {
    std::vector<ConsoleCommand> commands;
    std::istringstream lines(markdown);
    bool inExample = false;
    int number = 0;
    for (std::string line; std::getline(lines, line);) {
        ++number;
        if (!inExample) {
            inExample = line == "```console";
            continue;
        }
        if (line.rfind("```", 0) == 0) {
            inExample = false;
        } else if (line.rfind("$ ", 0) == 0) {
            commands.push_back({line.substr(2), {}, number});
        } else if (!commands.empty()) {
            commands.back().expected.push_back(line);
        }
    }
    return commands;
}

bool LinesMatch(const std::vector<std::string>& expected, const std::vector<std::string>& actual) {
    return MatchFrom(expected, 0, actual, 0);
}
