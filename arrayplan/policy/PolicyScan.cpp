#include "arrayplan/policy/PolicyScan.h"

#include "arrayplan/model/FileCheck.h"
#include "arrayplan/model/RunSettings.h"
#include "arrayplan/policy/PolicyText.h"
#include "foundation/TextCase.h"
#include "foundation/TextFormat.h"
#include "foundation/platform/FileSystem.h"

#include <algorithm>
#include <unordered_map>

namespace {

constexpr int kDebugLevel = 5;

// The keywords that take no number or letter after them.
constexpr const char* kPlainKeywords[] = {
    "RebuildRate",  "ReadAhead",        "StripeSize",
    "Array_Mode",   "Array_Defaults",   "Hotspares",
    "Logical_Mode", "Logical_Defaults", "Max_Logical_Drive_Size",
    "Init",
};

bool isNameCharacter(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '.' ||
           c == '_' || c == '-';
}

// A character as a message shows it: a NUL byte, which would end the message, as nothing.
std::string shown(char c) {
    return c == '\0' ? std::string() : std::string(1, c);
}

bool isPlainKeyword(std::string_view keyword) {
    for (const char* plain : kPlainKeywords) {
        if (EqualsNoCase(keyword, plain))
            return true;
    }
    return false;
}

// "Logical.<n>" or "AppliesTo.<n>" with n reading as a number other than 0.
bool isNumberedKeyword(std::string_view keyword) {
    if (!startsWithNoCase(keyword, "Logical.") && !startsWithNoCase(keyword, "AppliesTo."))
        return false;
    return readNumber(keyword.substr(keyword.find('.') + 1)) != 0;
}

// "Array.<letter>" with a letter from A to H in either case; more text may follow.
bool isArrayKeyword(std::string_view keyword) {
    constexpr std::string_view prefix = "Array.";
    if (!startsWithNoCase(keyword, prefix) || keyword.size() == prefix.size())
        return false;
    char letter = keyword[prefix.size()];
    return (letter >= 'A' && letter <= 'H') || (letter >= 'a' && letter <= 'h');
}

} // namespace

bool isValidPolicyName(std::string_view name) {
    constexpr std::string_view prefix = "Policy.";
    if (name.size() <= prefix.size() || !startsWithNoCase(name, prefix))
        return false;
    for (char c : name.substr(prefix.size() - 1)) {
        if (!isNameCharacter(c))
            return false;
    }
    return true;
}

bool isValidPolicyKeyword(std::string_view keyword) {
    return isPlainKeyword(keyword) || isNumberedKeyword(keyword) || isArrayKeyword(keyword);
}

PolicyScan::PolicyScan(NextLine nextLine, RunSettings& settings, const CString& path, bool optional)
    : nextLine_(std::move(nextLine)), settings_(settings), path_(path), optional_(optional) {}

bool PolicyScan::run(std::vector<CString>& names) {
    settings_.printLeveled("\tScanning policies ...\n", kDebugLevel);
    readLine();
    while (haveLine_) {
        if (line_.first() != '[')
            return fail(linePrefix() + " -- Invalid character:  " + shown(line_.first()) + "\n");
        CString name;
        std::vector<std::string> keywords;
        if (!takeDeclaration(names, name) || !collectKeywords(keywords) || !checkKeywords(name, keywords))
            return false;
    }
    if (failed_)
        return false;
    if (names.empty() && !optional_)
        return fail("\tYou must specify at least one policy in the policies file.\n");
    return true;
}

// Reads the next line that is not ignored. False at the end of the file, or after reporting a line that
// cannot be read or an ignored line that is too long. A longer line that is not ignored is judged by its
// start first (so that an endless line of bytes is an invalid character), its length when it passes.
bool PolicyScan::readLine() {
    haveLine_ = false;
    for (;;) {
        std::string text;
        LineRead read = nextLine_(text);
        if (read == LineRead::End)
            return false;
        if (read == LineRead::Failed) {
            std::string reason = settings_.fileSystem().LastFailureReason();
            fail("Could not read policies file:  " + path_.Str() + "\n");
            settings_.printPlain(failureLine(path_, reason).c_str());
            return false;
        }
        ++lineNumber_;
        line_ = Line{std::move(text), 0, read == LineRead::TooLong};
        size_t first = line_.text.find_first_not_of(' ');
        char c = first == std::string::npos ? '\0' : line_.text[first];
        bool ignored = first == std::string::npos || c == ';' || c == '\n' || c == '\r';
        if (ignored && !acceptLength())
            return false;
        if (ignored)
            continue;
        line_.firstNonSpace = first;
        haveLine_ = true;
        return true;
    }
}

bool PolicyScan::acceptLength() {
    if (!line_.tooLong)
        return true;
    return fail(FormatText("%s -- Line longer than %d characters.\n", linePrefix().c_str(), kMaxLineLength));
}

bool PolicyScan::takeDeclaration(std::vector<CString>& names, CString& name) {
    size_t close = line_.text.find(']', line_.firstNonSpace);
    if (close == std::string_view::npos)
        return fail(linePrefix() + " -- Invalid policy declaration.\n");
    std::string_view declared =
        std::string_view(line_.text).substr(line_.firstNonSpace + 1, close - line_.firstNonSpace - 1);
    name = CString(std::string(declared));
    bool known = !declaredNames_.insert(FoldedText(declared)).second;
    if (known || !isValidPolicyName(declared))
        return fail(linePrefix() + " -- Invalid or duplicate policy name:  " + std::string(declared) + "\n");
    if (names.size() >= static_cast<size_t>(kMaxPolicies))
        return fail(FormatText("%s -- Too many policies.  The maximum number of policies is %d\n",
                               linePrefix().c_str(), kMaxPolicies));
    if (!acceptLength())
        return false;
    names.push_back(name);
    if (settings_.messageLevel == kDebugLevel)
        settings_.printLeveled(("\t" + name + "\n").Text(), kDebugLevel);
    return true;
}

// Keeps the keywords of the lines up to the next declaration; leaves that declaration, or a line
// beyond the last allowed keyword line, in hand for the caller.
bool PolicyScan::collectKeywords(std::vector<std::string>& keywords) {
    while (readLine()) {
        if (line_.first() == '[' || keywords.size() == static_cast<size_t>(kMaxKeywordLines))
            return true;
        size_t equals = line_.text.find('=');
        if (equals == std::string_view::npos) {
            std::string whole(line_.text);
            if (whole.back() != '\n')
                whole += '\n'; // the last line of the file: keep the report on a line of its own
            return fail(linePrefix() + " -- Line not in keyword = value format:  " + whole);
        }
        std::string_view keyword = trimWhite(std::string_view(line_.text).substr(0, equals));
        if (!isValidPolicyKeyword(keyword))
            return fail(linePrefix() + " -- Invalid keyword:  " + std::string(keyword) + "\n");
        if (!acceptLength())
            return false;
        keywords.emplace_back(keyword);
    }
    return !failed_;
}

bool PolicyScan::checkKeywords(const CString& name, const std::vector<std::string>& keywords) {
    // The earliest keyword that is repeated later is the one reported.
    std::unordered_map<std::string, size_t> firstIndex;
    size_t repeated = keywords.size();
    for (size_t i = 0; i < keywords.size(); ++i) {
        auto [it, isNew] = firstIndex.emplace(FoldedText(keywords[i]), i);
        if (!isNew)
            repeated = std::min(repeated, it->second);
    }
    if (repeated < keywords.size())
        return fail(name.Str() + " -- Duplicate keywords found:  " + keywords[repeated]);
    if (firstIndex.count("appliesto.1") == 0)
        return fail(name.Str() + " -- Each policy must have an AppliesTo.1");
    return true;
}

bool PolicyScan::fail(const std::string& message) {
    failed_ = true;
    settings_.reportError(message.c_str());
    return false;
}

std::string PolicyScan::linePrefix() const {
    return FormatText("Line %d", lineNumber_);
}
