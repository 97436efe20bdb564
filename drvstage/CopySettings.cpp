#include "drvstage/CopySettings.h"

#include "drvstage/ItemList.h"
#include "foundation/FileOperations.h"
#include "foundation/SwitchParser.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iterator>
#include <vector>

namespace {

// The switch table, in declaration order. The nameless rows are the two paths.
constexpr SwitchDeclaration kSwitches[] = {
    {"", SwitchKind::OtherText, true, false},       // sourcepath
    {"", SwitchKind::OtherText, true, false},       // destinationpath
    {"/M:", SwitchKind::SpanningText, false, true}, // machine types
    {"/ADS", SwitchKind::Flag, false, true},
    {"/C:", SwitchKind::SpanningText, false, true}, // categories
    {"/I:", SwitchKind::SpanningText, false, true}, // installation modes
    {"/W:", SwitchKind::SpanningText, false, true}, // warning level
    {"/V:", SwitchKind::SpanningText, false, true}, // verbosity
    {"/?", SwitchKind::Flag, false, true},
};

// A whole number whose decimal form is exactly text: no plus sign, no leading zeros, no blanks.
bool ReadsBackAsNumber(const CString& text, long long& number) {
    if (text.IsEmpty())
        return false;
    errno = 0;
    char* end = nullptr;
    number = std::strtoll(text, &end, 10);
    if (errno == ERANGE || *end != '\0')
        return false;
    char formatted[32];
    std::snprintf(formatted, sizeof formatted, "%lld", number);
    return text == formatted;
}

// The rules that the parser itself does not know. False rejects the command line.
bool ReadSwitchValues(const SwitchParser& parser, CopySettings& settings) {
    CString value;
    if (parser.GetValue("/M:", value) && !ReadMachineTypes(value, settings.machineTypes))
        return false;
    settings.ads = parser.IsGiven("/ADS");
    settings.categoriesGiven = parser.GetValue("/C:", settings.categories);
    settings.installationModesGiven = parser.GetValue("/I:", settings.installationModes);
    // The ADS mode never empties the destination: it has nothing to update in place.
    if (settings.ads &&
        (parser.IsGiven("/M:") || parser.IsGiven("/C:") || parser.IsGiven("/I:") || settings.incremental))
        return false;
    if (parser.GetValue("/W:", value) && !value.IsEmpty() && !ReadWarningLevel(value, settings.warningLevel))
        return false;
    if (parser.GetValue("/V:", value) && !value.IsEmpty() && !ReadVerbosity(value, settings.verbosity))
        return false;
    return true;
}

// The switches of the run's outputs and /MT:, matched as whole arguments (a name ending in ':' takes the rest
// as its value). They are taken out before the switch parser sees the command line: the parser takes every
// argument that starts with a flag's name for that flag, so "/L" would claim each path below "/lib".
struct OutputSwitch {
    const char* name;
    bool CopySettings::*flag;
    CString CopySettings::*path;
};

constexpr OutputSwitch kOutputSwitches[] = {
    {"/L", &CopySettings::listOnly, nullptr},      {"/LINT", &CopySettings::lint, nullptr},
    {"/INC", &CopySettings::incremental, nullptr}, {"/REPORT:", nullptr, &CopySettings::reportPath},
    {"/LOG:", nullptr, &CopySettings::logPath},
};

enum class OutputMatch { None, Taken, Rejected };

constexpr const char* kThreadsSwitch = "/MT:";
constexpr long long kMostThreads = 64;

// /MT:n, n from 1 to kMostThreads, given once.
OutputMatch TakeThreadsSwitch(const CString& folded, CopySettings& settings) {
    if (!folded.StartsWith(kThreadsSwitch))
        return OutputMatch::None;
    long long threads = 0;
    if (settings.threads != 0 ||
        !ReadsBackAsNumber(folded.Mid(static_cast<int>(std::strlen(kThreadsSwitch))), threads) ||
        threads < 1 || threads > kMostThreads)
        return OutputMatch::Rejected;
    settings.threads = static_cast<int>(threads);
    return OutputMatch::Taken;
}

OutputMatch TakeOutputSwitch(const CString& argument, CopySettings& settings, std::vector<bool>& given) {
    CString folded = argument;
    folded.MakeUpper();
    if (OutputMatch threads = TakeThreadsSwitch(folded, settings); threads != OutputMatch::None)
        return threads;
    for (size_t i = 0; i < std::size(kOutputSwitches); ++i) {
        const OutputSwitch& row = kOutputSwitches[i];
        bool matches = row.flag ? folded == row.name : folded.StartsWith(row.name);
        if (!matches)
            continue;
        if (given[i])
            return OutputMatch::Rejected;
        given[i] = true;
        if (row.flag) {
            settings.*row.flag = true;
            return OutputMatch::Taken;
        }
        CString value = argument.Mid(static_cast<int>(std::strlen(row.name)));
        settings.*row.path = value.IsEmpty() ? CString() : FullPath(value);
        return (settings.*row.path).IsEmpty() ? OutputMatch::Rejected : OutputMatch::Taken;
    }
    return OutputMatch::None;
}

// The arguments left for the switch parser; false when an output switch was given twice or without a
// value, or /LINT with /L, /REPORT: or /INC (a check of the driver set has no plan to print, report or
// apply).
bool TakeOutputSwitches(int argc, const char* const* argv, CopySettings& settings,
                        std::vector<const char*>& rest) {
    std::vector<bool> given(std::size(kOutputSwitches), false);
    for (int i = 0; i < argc; ++i) {
        OutputMatch match = i == 0 ? OutputMatch::None : TakeOutputSwitch(argv[i], settings, given);
        if (match == OutputMatch::Rejected)
            return false;
        if (match == OutputMatch::None)
            rest.push_back(argv[i]);
    }
    return !(settings.lint && (settings.listOnly || !settings.reportPath.IsEmpty())) &&
           !(settings.lint && settings.incremental);
}

} // namespace

CString ProgramNameFrom(const char* argv0) {
    // Windows starts a program typed as C:/kit/drvstage.exe too, and passes that path on as it was typed.
    const char* slash = std::strrchr(argv0, '/');
    CString name = FileTitle(CString(slash ? slash + 1 : argv0));
    name.MakeLower();
    for (int i = 0; i < 3; ++i)
        name.MakeUpperAt(i);
    return name;
}

bool ReadVerbosity(CString text, int& verbosity) {
    text.MakeLower();
    int debugAt = text.Find("debug");
    long long number = 0;
    if (debugAt < 0) {
        if (!ReadsBackAsNumber(text, number))
            return false;
        verbosity = static_cast<int>(std::clamp<long long>(number, INT_MIN, 5));
        return true;
    }
    if (!ReadsBackAsNumber(text.Mid(debugAt + static_cast<int>(std::strlen("debug"))), number))
        return false;
    verbosity = (number <= 0 || number > 2147483642) ? 6 : static_cast<int>(5 + number);
    return true;
}

bool ReadWarningLevel(const CString& text, int& level) {
    long long number = 0;
    if (text.Length() != 1 || !ReadsBackAsNumber(text, number) || number > 3)
        return false;
    level = static_cast<int>(number);
    return true;
}

bool ReadMachineTypes(const CString& text, CString& machineTypes) {
    CString trimmed = text.Trim();
    if (trimmed.IsEmpty())
        return false;
    std::vector<CString> items = SplitItems(trimmed);
    std::sort(items.begin(), items.end(),
              [](const CString& a, const CString& b) { return std::strcmp(a, b) < 0; });
    CString list;
    for (const CString& item : items) {
        if (item.IsEmpty() || list.ContainsItem(item, kListSeparator))
            return false;
        list.AppendItem(item, kListSeparator);
    }
    machineTypes = list.EqualsNoCase("All") ? CString() : list;
    return true;
}

int InterpretCommandLine(int argc, const char* const* argv, CopySettings& settings) {
    SwitchParser parser;
    if (!parser.AddSwitches(kSwitches))
        return SwitchParser::kInternalError;
    std::vector<const char*> rest;
    if (!TakeOutputSwitches(argc, argv, settings, rest))
        return SwitchParser::kRejected;
    SwitchParser::Result parsed = parser.Parse(static_cast<int>(rest.size()), rest.data(), false, true);
    if (parsed != SwitchParser::kParsed)
        return parsed;
    if (parser.IsGiven("/?"))
        return SwitchParser::kRejected;
    parser.GetPositionalValue(0, settings.sourcePath);
    parser.GetPositionalValue(1, settings.destinationPath);
    if (!ReadSwitchValues(parser, settings))
        return SwitchParser::kRejected;
    settings.sourcePath = FullPath(settings.sourcePath);
    settings.destinationPath = FullPath(settings.destinationPath);
    // A path that cannot be made absolute (too long, say) would be taken relative to the current folder.
    if (settings.sourcePath.IsEmpty() || settings.destinationPath.IsEmpty())
        return SwitchParser::kRejected;
    return 0;
}
