// The value lookup's view of a policy file, built line by line as the file is read so that every lookup
// is served from memory. The rules are those of a line-by-line search: lines trimmed of blank, tab and
// newline; empty lines and ";" lines skipped; a "[" line is a section header named by the trimmed text up to
// the first "]"; the first section of a name counts; inside it the first entry of a key counts; names
// and keys compare ignoring case.
#pragma once

#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

class PolicyValueIndex {
public:
    // The next line of the file, its newline kept or not.
    void addLine(std::string_view line);
    void clear();
    // The trimmed value of key in the first section called sectionName; null when there is none.
    const std::string* find(const std::string& sectionName, const std::string& key) const;

private:
    using Entries = std::unordered_map<std::string, std::string>; // lower-case key -> first value
    std::unordered_map<std::string, size_t> sectionByName_;       // lower-case name -> first section
    std::vector<Entries> sections_;
    Entries* current_ = nullptr; // the section being filled; null before the first one and in repeats
};
