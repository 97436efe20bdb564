#include "arrayplan/policy/PolicyValueIndex.h"

#include "arrayplan/policy/PolicyText.h"
#include "foundation/TextCase.h"

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
    current_ = nullptr;
}

void PolicyValueIndex::addLine(std::string_view text) {
    std::string_view line = trimWhite(text);
    if (line.empty() || line.front() == ';')
        return;
    if (line.front() == '[') {
        // Only the first section of a name is ever searched; later ones are passed over.
        auto [it, isNew] = sectionByName_.emplace(FoldedText(sectionNameOf(line)), sections_.size());
        current_ = isNew ? &sections_.emplace_back() : nullptr;
        return;
    }
    size_t equals = line.find('=');
    if (current_ == nullptr || equals == std::string_view::npos)
        return;
    // emplace keeps the first value of a key.
    current_->emplace(FoldedText(trimWhite(line.substr(0, equals))),
                      std::string(trimWhite(line.substr(equals + 1))));
}

const std::string* PolicyValueIndex::find(const std::string& sectionName, const std::string& key) const {
    auto section = sectionByName_.find(FoldedText(sectionName));
    if (section == sectionByName_.end())
        return nullptr;
    const Entries& entries = sections_[section->second];
    auto entry = entries.find(FoldedText(key));
    return entry == entries.end() ? nullptr : &entry->second;
}
