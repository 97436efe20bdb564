#include "arrayplan/policy/PolicyValueIndex.h"

#include "arrayplan/policy/PolicyText.h"

namespace {

// The section name of a trimmed "[" line: the text after "[" up to the first "]" (or the rest), trimmed.
std::string_view sectionNameOf(std::string_view line) {
    std::string_view inside = line.substr(1);
    size_t close = inside.find(']');
    if (close != std::string_view::npos)
        inside = inside.substr(0, close);
    return trimWhite(inside);
}

} // namespace

void PolicyValueIndex::clear() {
    sectionByName_.clear();
    sections_.clear();
}

void PolicyValueIndex::build(const std::string& fileText) {
    clear();
    Entries* current = nullptr; // the section being filled; null before the first one and in repeats
    std::string_view rest(fileText);
    while (!rest.empty()) {
        size_t end = rest.find('\n');
        std::string_view line = trimWhite(rest.substr(0, end));
        rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
        if (line.empty() || line.front() == ';')
            continue;
        if (line.front() == '[') {
            // Only the first section of a name is ever searched; later ones are passed over.
            auto [it, isNew] = sectionByName_.emplace(lowerAscii(sectionNameOf(line)), sections_.size());
            current = isNew ? &sections_.emplace_back() : nullptr;
            continue;
        }
        size_t equals = line.find('=');
        if (current == nullptr || equals == std::string_view::npos)
            continue;
        // emplace keeps the first value of a key.
        current->emplace(lowerAscii(trimWhite(line.substr(0, equals))),
                         std::string(trimWhite(line.substr(equals + 1))));
    }
}

const std::string* PolicyValueIndex::find(const std::string& sectionName, const std::string& key) const {
    auto section = sectionByName_.find(lowerAscii(sectionName));
    if (section == sectionByName_.end())
        return nullptr;
    const Entries& entries = sections_[section->second];
    auto entry = entries.find(lowerAscii(key));
    return entry == entries.end() ? nullptr : &entry->second;
}
