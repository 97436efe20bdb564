// The first pass over a policy file: its layout, the policy names, the keywords and the rules that need
// no values. Collects the declared names in file order. The end of the file ends the last line, so a
// last line without a newline is checked like any other. Lines are taken one at a time and the scan
// stops at the first error, so a huge or endless file is never held whole.
#pragma once

#include "foundation/CString.h"
#include "foundation/TextFile.h"

#include <functional>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

class RunSettings;

class PolicyScan {
public:
    static constexpr int kMaxLineLength = 254;  // characters before the newline
    static constexpr int kMaxKeywordLines = 50; // per policy
    static constexpr int kMaxPolicies = 100;

    // Gives the next line as read, its newline kept when it has one; TooLong with the first
    // kMaxLineLength characters of a longer line.
    using NextLine = std::function<LineRead(std::string& text)>;

    // path names the file in messages; an optional file may hold no policy.
    PolicyScan(NextLine nextLine, RunSettings& settings, const CString& path, bool optional);

    // Reports the first error through the settings and returns false.
    bool run(std::vector<CString>& names);

private:
    struct Line {
        std::string text; // as read, with its newline when it has one
        size_t firstNonSpace = 0;
        bool tooLong = false; // text holds only the start of the line
        char first() const { return firstNonSpace < text.size() ? text[firstNonSpace] : '\0'; }
    };

    bool readLine();
    bool takeDeclaration(std::vector<CString>& names, CString& name);
    bool collectKeywords(std::vector<std::string>& keywords);
    bool checkKeywords(const CString& name, const std::vector<std::string>& keywords);
    // A line that passed its checks may still be too long to be taken.
    bool acceptLength();
    bool fail(const std::string& message);
    std::string linePrefix() const;

    NextLine nextLine_;
    RunSettings& settings_;
    CString path_;
    bool optional_;
    Line line_;
    bool haveLine_ = false;
    bool failed_ = false;
    int lineNumber_ = 0;
    std::unordered_set<std::string> declaredNames_; // lower case, for the duplicate test
};

bool isValidPolicyName(std::string_view name);
bool isValidPolicyKeyword(std::string_view keyword);
