#include "foundation/SwitchParser.h"

#include <new>

namespace {

CString ListOrNone(const char* list) {
    if (!list || CString(list) == kEmptyList) {
        return CString();
    }
    return CString(list);
}

// An item may carry a "~n" suffix; it takes no part in naming the switch.
CString SwitchNameOfItem(const CString& item) {
    CString name = item.Trim();
    int tilde = name.FindOccurrence("~", 0);
    return tilde < 0 ? name : name.Left(tilde);
}

bool IsNamed(const CString& name) {
    return !name.IsEmpty();
}

} // namespace

bool SwitchParser::AddSwitch(const char* name, int kind, bool required, bool valueMayBeEmpty,
                             const char* requiresOneOf, const char* excludes) {
    Definition definition;
    definition.name = name;
    definition.kind = kind;
    definition.required = required;
    definition.valueMayBeEmpty = valueMayBeEmpty;
    definition.requiresOneOf = ListOrNone(requiresOneOf);
    definition.excludes = ListOrNone(excludes);
    try {
        definitions_.push_back(definition);
    } catch (const std::bad_alloc&) {
        return false;
    }
    return true;
}

bool SwitchParser::AddSwitches(std::span<const SwitchDeclaration> table) {
    for (const SwitchDeclaration& row : table) {
        if (!AddSwitch(row.name, static_cast<int>(row.kind), row.required, row.valueMayBeEmpty))
            return false;
    }
    return true;
}

SwitchParser::Result SwitchParser::Parse(int argc, const char* const* argv, bool caseSensitive,
                                         bool validate) {
    Reset();
    caseSensitive_ = caseSensitive;
    programName_ = argc > 0 && argv ? argv[0] : "";
    if (!AllKindsKnown()) {
        return kInternalError;
    }
    for (int index = 1; index < argc;) {
        CString argument(argv[index]);
        Definition* definition = FindMatch(argument);
        if (!definition) {
            RecordError(kUnknownArgument, index, argument, "");
            return kRejected;
        }
        definition->given = true;
        index = TakeValue(*definition, argc, argv, index);
    }
    if (validate) {
        Validate();
    }
    return errorCode_ == kNoError ? kParsed : kRejected;
}

bool SwitchParser::GetValue(const char* name, CString& value) const {
    const Definition* definition = Lookup(name);
    if (!definition || !definition->given) {
        return false;
    }
    value = definition->value;
    return true;
}

bool SwitchParser::IsGiven(const char* name) const {
    const Definition* definition = Lookup(name);
    return definition && definition->given;
}

bool SwitchParser::GetPositionalValue(int position, CString& value) const {
    int seen = 0;
    for (const Definition& definition : definitions_) {
        if (IsNamed(definition.name) || seen++ != position) {
            continue;
        }
        if (!definition.given) {
            return false;
        }
        value = definition.value;
        return true;
    }
    return false;
}

void SwitchParser::Reset() {
    for (Definition& definition : definitions_) {
        definition.given = false;
        definition.value.Clear();
    }
    errorCode_ = kNoError;
    errorIndex_ = 0;
    errorText_.Clear();
    errorDetail_.Clear();
}

bool SwitchParser::AllKindsKnown() const {
    for (const Definition& definition : definitions_) {
        if (definition.kind < 1 || definition.kind > 5) {
            return false;
        }
    }
    return true;
}

CString SwitchParser::Folded(const CString& text) const {
    CString copy(text);
    if (!caseSensitive_) {
        copy.MakeUpper();
    }
    return copy;
}

bool SwitchParser::StartsWithName(const CString& foldedArgument, const Definition& definition) const {
    return IsNamed(definition.name) && foldedArgument.StartsWith(Folded(definition.name));
}

bool SwitchParser::IsSwitch(const CString& foldedArgument, bool onlyNotGiven) const {
    for (const Definition& definition : definitions_) {
        if ((!onlyNotGiven || !definition.given) && StartsWithName(foldedArgument, definition)) {
            return true;
        }
    }
    return false;
}

bool SwitchParser::Matches(const CString& foldedArgument, const Definition& definition) const {
    if (definition.kind == static_cast<int>(SwitchKind::Flag)) {
        return foldedArgument == Folded(definition.name);
    }
    if (!IsNamed(definition.name)) {
        return !IsSwitch(foldedArgument, false);
    }
    return StartsWithName(foldedArgument, definition);
}

SwitchParser::Definition* SwitchParser::FindMatch(const CString& argument) {
    CString folded = Folded(argument);
    for (Definition& definition : definitions_) {
        if (!definition.given && Matches(folded, definition)) {
            return &definition;
        }
    }
    return nullptr;
}

// Fills the definition's value from the argument at index (and, for a spanning text, the arguments
// after it); returns the index of the first argument not consumed.
int SwitchParser::TakeValue(Definition& definition, int argc, const char* const* argv, int index) {
    CString argument(argv[index]);
    if (definition.kind != static_cast<int>(SwitchKind::Flag)) {
        definition.value = argument.Mid(definition.name.Length());
    }
    ++index;
    if (definition.kind != static_cast<int>(SwitchKind::SpanningText)) {
        return index;
    }
    for (; index < argc; ++index) {
        CString next(argv[index]);
        if (IsSwitch(Folded(next), true)) {
            break;
        }
        // The shell split the value at blanks; join the parts again with one blank.
        if (!definition.value.IsEmpty()) {
            definition.value += ' ';
        }
        definition.value += next;
    }
    return index;
}

void SwitchParser::Validate() {
    for (const Definition& definition : definitions_) {
        CString detail;
        int code = FirstFailure(definition, detail);
        if (code != kNoError) {
            RecordError(code, GivenCount(definition.name), definition.name, detail);
            return;
        }
    }
}

int SwitchParser::FirstFailure(const Definition& definition, CString& detail) const {
    if (!definition.given) {
        return definition.required ? kRequiredMissing : kNoError;
    }
    bool hasValue = !definition.value.IsEmpty();
    // A flag never carries a value, so the empty-value rule does not apply to it.
    if (!hasValue && !definition.valueMayBeEmpty && definition.kind != static_cast<int>(SwitchKind::Flag)) {
        return kEmptyValue;
    }
    if (hasValue && definition.kind == static_cast<int>(SwitchKind::Number) &&
        CString(definition.value.ToLong()) != definition.value) {
        return kNotANumber;
    }
    if (FindGivenItem(definition.excludes, &definition, detail)) {
        return kExcluded;
    }
    if (!definition.requiresOneOf.IsEmpty() && !FindGivenItem(definition.requiresOneOf, nullptr, detail)) {
        detail = definition.requiresOneOf;
        return kRequirementMissing;
    }
    return kNoError;
}

// Whether an item of list names a given switch other than self; the item found goes to foundItem.
bool SwitchParser::FindGivenItem(const CString& list, const Definition* self, CString& foundItem) const {
    int count = list.ItemCount(separator_);
    for (int i = 0; i < count; ++i) {
        CString item = list.Item(i, separator_);
        CString name = Folded(SwitchNameOfItem(item));
        for (const Definition& other : definitions_) {
            if (&other != self && other.given && IsNamed(name) && NamesDefinition(name, other)) {
                foundItem = item;
                return true;
            }
        }
    }
    return false;
}

bool SwitchParser::NamesDefinition(const CString& foldedName, const Definition& definition) const {
    return foldedName == Folded(definition.name);
}

int SwitchParser::GivenCount(const CString& name) const {
    CString folded = Folded(name);
    int count = 0;
    for (const Definition& definition : definitions_) {
        if (definition.given && NamesDefinition(folded, definition)) {
            ++count;
        }
    }
    return count;
}

const SwitchParser::Definition* SwitchParser::Lookup(const char* name) const {
    for (const Definition& definition : definitions_) {
        if (definition.name == name) {
            return &definition;
        }
    }
    return nullptr;
}

void SwitchParser::RecordError(int code, int index, const CString& text, const CString& detail) {
    if (errorCode_ != kNoError) {
        return;
    }
    errorCode_ = code;
    errorIndex_ = index;
    errorText_ = text;
    errorDetail_ = detail;
}
