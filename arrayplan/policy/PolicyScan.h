// The first pass over a policy file: its layout, the policy names, the keywords and the rules that need
// no values. Collects the declared names in file order. The end of the file ends the last line, so a
// last line without a newline is checked like any other.
#pragma once

#include "foundation/CString.h"

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

    PolicyScan(const std::string& fileText, RunSettings& settings);

    // Reports the first error through the settings and returns false.
    bool run(std::vector<CString>& names);

private:
    struct Line {
        std::string_view text; // as read, with its newline when it has one
        size_t firstNonSpace = 0;
        char first() const { return firstNonSpace < text.size() ? text[firstNonSpace] : '\0'; }
    };

    bool readLine();
    bool takeDeclaration(std::vector<CString>& names, CString& name);
    bool collectKeywords(std::vector<std::string>& keywords);
    bool checkKeywords(const CString& name, const std::vector<std::string>& keywords);
    bool fail(const std::string& message);
    std::string linePrefix() const;

    std::string_view rest_;
    RunSettings& settings_;
    Line line_;
    bool haveLine_ = false;
    bool failed_ = false;
    int lineNumber_ = 0;
    std::unordered_set<std::string> declaredNames_; // lower case, for the duplicate test
};

bool isValidPolicyName(std::string_view name);
bool isValidPolicyKeyword(std::string_view keyword);
