// SwitchParser: table-driven parser of a console program's argument vector.
#pragma once

#include "foundation/CString.h"

#include <span>
#include <vector>

enum class SwitchKind {
    Flag = 1,         // matches only an argument equal to the name
    Number = 2,       // name followed by a whole number
    Text = 3,         // name followed by a text
    SpanningText = 4, // the text runs on over further arguments up to the next switch not yet given
    OtherText = 5,    // as Text
};

// One row of a program's switch table.
struct SwitchDeclaration {
    const char* name;
    SwitchKind kind;
    bool required;
    bool valueMayBeEmpty;
};

// A list argument equal to this text means "no list".
inline constexpr const char* kEmptyList = "%EmptyList%";

class SwitchParser {
public:
    enum Result { kParsed = 0, kRejected = 1, kInternalError = 2 };
    enum ErrorCode {
        kNoError = 0,
        kUnknownArgument = 1,
        kRequiredMissing = 2,
        kEmptyValue = 3,
        kNotANumber = 4,
        kExcluded = 5,
        kRequirementMissing = 6,
    };

    // An empty name declares a positional switch (kinds 2 to 5): it takes any argument that does not
    // start with a declared switch name.
    bool AddSwitch(const char* name, int kind, bool required, bool valueMayBeEmpty,
                   const char* requiresOneOf = kEmptyList, const char* excludes = kEmptyList);
    // Declares the rows of a switch table in order; false when one is refused.
    bool AddSwitches(std::span<const SwitchDeclaration> table);
    Result Parse(int argc, const char* const* argv, bool caseSensitive, bool validate);

    // Lookups compare the declared name (or alternative name) byte-exactly. The value is copied only
    // when the switch was given.
    bool GetValue(const char* name, CString& value) const;
    bool IsGiven(const char* name) const;
    // Positional switches are addressed by their declaration order among the nameless ones.
    bool GetPositionalValue(int position, CString& value) const;

    int ErrorCode() const { return errorCode_; }
    int ErrorIndex() const { return errorIndex_; }
    const CString& ErrorText() const { return errorText_; }
    const CString& ErrorDetail() const { return errorDetail_; }
    const CString& ProgramName() const { return programName_; }

private:
    struct Definition {
        CString name;
        int kind = 0;
        bool required = false;
        bool valueMayBeEmpty = false;
        CString requiresOneOf;
        CString excludes;
        bool given = false;
        CString value;
    };

    void Reset();
    bool AllKindsKnown() const;
    CString Folded(const CString& text) const; // upper-cased unless the parse is case-sensitive
    bool StartsWithName(const CString& foldedArgument, const Definition& definition) const;
    bool IsSwitch(const CString& foldedArgument, bool onlyNotGiven) const;
    bool Matches(const CString& foldedArgument, const Definition& definition) const;
    Definition* FindMatch(const CString& argument);
    int TakeValue(Definition& definition, int argc, const char* const* argv, int index);
    void Validate();
    int FirstFailure(const Definition& definition, CString& detail) const;
    bool FindGivenItem(const CString& list, const Definition* self, CString& foundItem) const;
    bool NamesDefinition(const CString& foldedName, const Definition& definition) const;
    int GivenCount(const CString& name) const;
    const Definition* Lookup(const char* name) const;
    void RecordError(int code, int index, const CString& text, const CString& detail);

    std::vector<Definition> definitions_;
    CString separator_ = ",";
    bool caseSensitive_ = false;
    int errorCode_ = kNoError;
    int errorIndex_ = 0;
    CString errorText_;
    CString errorDetail_;
    CString programName_;
};
