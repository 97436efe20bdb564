#include "RunJudge.h"

#include <algorithm>
#include <cctype>
#include <map>
#include <regex>
#include <sstream>

namespace {

bool Contains(const std::vector<std::string>& list, const std::string& item) {
    return std::find(list.begin(), list.end(), item) != list.end();
}

// A file saved in steps, each step changing some of its lines: as many lines as before and after, each one
// of the two. A cut save is short by lines or ends inside one.
bool IsLineByLineMix(const std::string& before, const std::string& after, const std::string& bytes) {
    if (bytes.empty() || bytes.back() != '\n')
        return false;
    const std::vector<std::string> old = Lines(before), updated = Lines(after), found = Lines(bytes);
    if (found.size() != old.size() || found.size() != updated.size())
        return false;
    for (size_t i = 0; i < found.size(); ++i) {
        if (found[i] != old[i] && found[i] != updated[i])
            return false;
    }
    return true;
}

std::string WithDigitsMasked(std::string line) {
    std::replace_if(
        line.begin(), line.end(), [](unsigned char c) { return std::isdigit(c); }, '#');
    return line;
}

// A log that runs append to: whole lines only (a failed run may add lines that whole runs do not write).
bool IsWholeLog(const std::string& bytes, const std::string& linePattern) {
    if (!bytes.empty() && bytes.back() != '\n')
        return false;
    const std::regex line(linePattern);
    const std::vector<std::string> found = Lines(bytes);
    return std::all_of(found.begin(), found.end(),
                       [&](const std::string& text) { return std::regex_match(text, line); });
}

// The comment lines of a generated policy that carry the date and time of the run, digits masked.
std::string WithoutRunDates(const std::string& bytes) {
    std::string result;
    std::istringstream in(bytes);
    for (std::string line; std::getline(in, line);) {
        if (line.rfind("; * Captured on", 0) == 0 || line.rfind("; * System time", 0) == 0)
            line = WithDigitsMasked(line);
        result += line;
        if (!in.eof())
            result += '\n';
    }
    return result;
}

std::string Size(const std::string& bytes) {
    return std::to_string(bytes.size()) + " bytes";
}

} // namespace

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

void Findings::Add(const std::string& when, const std::string& problem, const std::string& detail) {
    static const std::regex number("[0-9A-Fa-f]*[0-9][0-9A-Fa-f]*");
    problems.push_back(when + ": " + problem + detail);
    kinds_.push_back(std::regex_replace(problem, number, "#"));
}

std::string Findings::Summary() const {
    std::map<std::string, std::pair<size_t, int>> kinds; // kind -> first problem, count
    for (size_t i = 0; i < problems.size(); ++i) {
        auto [kind, added] = kinds.try_emplace(kinds_[i], i, 0);
        ++kind->second.second;
    }
    std::string text = std::to_string(problems.size()) + " problem(s) of " + std::to_string(kinds.size()) +
                       " kind(s), the first of each:";
    for (const auto& [kind, example] : kinds)
        text += "\n  (" + std::to_string(example.second) + "x) " + problems[example.first];
    return text;
}

RunJudge::RunJudge(const Scenario& scenario, ReferenceTrees references)
    : scenario_(scenario), references_(std::move(references)) {}

std::string RunJudge::Comparable(const std::string& bytes) const {
    return scenario_.masksRunDates ? WithoutRunDates(bytes) : bytes;
}

bool RunJudge::IsWholeVersion(const std::string& relative, const std::string& bytes) const {
    if (Contains(scenario_.journals, relative))
        return IsWholeLog(bytes, scenario_.journalLine);
    const std::string found = Comparable(bytes);
    for (const TreeSnapshot* tree : {&references_.before, &references_.after}) {
        auto file = tree->files.find(relative);
        if (file != tree->files.end() && Comparable(file->second) == found)
            return true;
    }
    for (const CopyRule& rule : scenario_.copies) {
        if (!IsWithin(relative, rule.destination) || relative == rule.destination)
            continue;
        const std::string rest = relative.substr(rule.destination.size());
        for (const auto& [source, content] : references_.before.files) {
            if (!IsWithin(source, rule.source) || content != bytes)
                continue;
            const std::string tail = source.substr(rule.source.size());
            const size_t folderEnd = tail.find('/', 1);
            if (tail == rest ||
                (rule.fromAnyFolder && folderEnd != std::string::npos && tail.substr(folderEnd) == rest))
                return true;
        }
    }
    return Contains(scenario_.editedInPlace, relative) && references_.before.HasFile(relative) &&
           references_.after.HasFile(relative) &&
           IsLineByLineMix(references_.before.files.at(relative), references_.after.files.at(relative),
                           bytes);
}

std::string RunJudge::WhyNotWhole(const std::string& relative, const std::string& bytes) const {
    std::string why = relative + " holds " + Size(bytes) + ", which is no whole version of it";
    for (const auto& [tree, name] : {std::pair{&references_.before, "the file before the run"},
                                     std::pair{&references_.after, "the file a whole run writes"}}) {
        auto file = tree->files.find(relative);
        if (file == tree->files.end())
            continue;
        why += std::string("; ") + name + ": " + Size(file->second);
        if (bytes.size() < file->second.size() && file->second.compare(0, bytes.size(), bytes) == 0)
            why += " (found: its first " + Size(bytes) + ")";
    }
    return why;
}

void RunJudge::CheckInputs(const std::string& when, const TreeSnapshot& left, Findings& findings) const {
    const TreeSnapshot& before = references_.before;
    for (const std::string& input : scenario_.inputs) {
        for (const auto& [relative, bytes] : before.files) {
            if (!IsWithin(relative, input))
                continue;
            ++findings.filesChecked;
            auto found = left.files.find(relative);
            if (found == left.files.end())
                findings.Add(when, "input " + relative + " is gone");
            else if (found->second != bytes)
                findings.Add(when, "input " + relative + " changed (" + Size(bytes) + " before, " +
                                       Size(found->second) + " now)");
        }
        for (const auto& [relative, bytes] : left.files) {
            if (IsWithin(relative, input) && !before.HasFile(relative))
                findings.Add(when, "a file " + relative + " appeared among the inputs");
        }
    }
}

void RunJudge::CheckCutShort(const std::string& when, const TreeSnapshot& left, Findings& findings) const {
    CheckInputs(when, left, findings);
    for (const auto& [relative, bytes] : left.files) {
        const bool realName = references_.before.HasFile(relative) || references_.after.HasFile(relative);
        if (!realName)
            continue;
        ++findings.filesChecked;
        if (!IsWholeVersion(relative, bytes))
            findings.Add(when, WhyNotWhole(relative, bytes));
    }
}

void RunJudge::CheckEqual(const std::string& when, const TreeSnapshot& expected, const TreeSnapshot& actual,
                          Findings& findings) const {
    for (const auto& [relative, bytes] : expected.files) {
        ++findings.filesChecked;
        auto found = actual.files.find(relative);
        if (found == actual.files.end())
            findings.Add(when, relative + " is missing");
        else if (Contains(scenario_.journals, relative) ? !IsWholeVersion(relative, found->second)
                                                        : Comparable(found->second) != Comparable(bytes))
            findings.Add(when, relative + " differs from a whole run's (" + Size(found->second) +
                                   ", expected " + Size(bytes) + ")");
    }
    for (const auto& [relative, bytes] : actual.files) {
        if (!expected.HasFile(relative))
            findings.Add(when, "a file " + relative + " is left over");
    }
    for (const std::string& folder : actual.folders) {
        if (!expected.folders.count(folder))
            findings.Add(when, "a folder " + folder + " is left over");
    }
    for (const std::string& folder : expected.folders) {
        if (!actual.folders.count(folder))
            findings.Add(when, "the folder " + folder + " is missing");
    }
}

void RunJudge::CheckRecovered(const std::string& when, const TreeSnapshot& cutShort,
                              const TreeSnapshot& recovered, Findings& findings) const {
    TreeSnapshot expected = references_.after;
    for (const std::string& appended : scenario_.appendedTo) {
        auto cut = cutShort.files.find(appended);
        const bool alreadyAppended =
            cut != cutShort.files.end() &&
            Comparable(cut->second) == Comparable(references_.after.files.at(appended));
        if (alreadyAppended)
            expected.files[appended] = references_.afterTwo.files.at(appended);
    }
    CheckEqual(when, expected, recovered, findings);
}

void RunJudge::CheckWholeRun(const std::string& when, const TreeSnapshot& tree, Findings& findings) const {
    CheckEqual(when, references_.after, tree, findings);
}

std::vector<std::string> RunJudge::Temporaries(const TreeSnapshot& left) const {
    std::vector<std::string> temporaries;
    for (const auto& [relative, bytes] : left.files) {
        if (!references_.before.HasFile(relative) && !references_.after.HasFile(relative) &&
            !Contains(scenario_.resumeRecords, relative))
            temporaries.push_back(relative);
    }
    return temporaries;
}

std::vector<std::string> RunJudge::Outputs() const {
    std::vector<std::string> outputs;
    for (const auto& [relative, bytes] : references_.after.files) {
        auto old = references_.before.files.find(relative);
        if (old == references_.before.files.end() || Comparable(old->second) != Comparable(bytes))
            outputs.push_back(relative);
    }
    return outputs;
}
