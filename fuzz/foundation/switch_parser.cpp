// Fuzz target for the command-line switch parser: the input's first byte picks the switch table and the
// parse options, the rest is split at newlines into arguments.
#include "foundation/SwitchParser.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace {

const char* const kValidationNames[] = {"/ini:", "/inp:", "/outi:", "/outp:", "/raid:", "/?", "/debug"};
const char* const kCopyNames[] = {"/M:", "/ADS", "/C:", "/I:", "/W:", "/V:", "/?"};

void DeclareValidationSwitches(SwitchParser& parser) {
    for (const char* name : {"/ini:", "/inp:"}) {
        parser.AddSwitch(name, 4, true, true);
    }
    for (const char* name : {"/outi:", "/outp:", "/raid:"}) {
        parser.AddSwitch(name, 4, false, true);
    }
    parser.AddSwitch("/?", 1, false, true);
    parser.AddSwitch("/debug", 1, false, true);
}

void DeclareCopySwitches(SwitchParser& parser) {
    parser.AddSwitch("", 5, true, false);
    parser.AddSwitch("", 5, true, false);
    for (const char* name : kCopyNames) {
        bool flag = name[2] != ':';
        parser.AddSwitch(name, flag ? 1 : 4, false, true);
    }
}

// Kinds and lists that the two programs do not declare, so that every rule of the parser is reached.
void DeclareMixedSwitches(SwitchParser& parser) {
    parser.AddSwitch("/n:", 2, false, false);
    parser.AddSwitch("/t:", 3, true, false, kEmptyList, "/x,/n:~1");
    parser.AddSwitch("/x", 1, false, true, "/t:,/s:", kEmptyList);
    parser.AddSwitch("/s:", 5, false, true);
    parser.AddSwitch("", 4, false, true);
}

std::vector<std::string> SplitArguments(const uint8_t* data, size_t size) {
    std::vector<std::string> arguments(1, "prog");
    std::string current;
    for (size_t i = 0; i < size; ++i) {
        if (data[i] == '\n') {
            arguments.push_back(current);
            current.clear();
        } else {
            current += static_cast<char>(data[i]);
        }
    }
    arguments.push_back(current);
    return arguments;
}

void ReadResults(const SwitchParser& parser, bool copyTable) {
    CString value;
    for (const char* name : copyTable ? kCopyNames : kValidationNames) {
        if (parser.GetValue(name, value)) {
            // The programs read list values as comma-separated items.
            for (int i = 0; i < value.ItemCount(","); ++i) {
                value.LocateItem(value.Item(i, ","), ",");
            }
        }
    }
    parser.GetPositionalValue(0, value);
    parser.GetPositionalValue(1, value);
    parser.ErrorText().Length();
    parser.ErrorDetail().Length();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) {
        return 0;
    }
    uint8_t options = data[0];
    std::vector<std::string> arguments = SplitArguments(data + 1, size - 1);
    std::vector<const char*> argv;
    for (const std::string& argument : arguments) {
        argv.push_back(argument.c_str());
    }

    SwitchParser parser;
    int table = options % 3;
    if (table == 0) {
        DeclareValidationSwitches(parser);
    } else if (table == 1) {
        DeclareCopySwitches(parser);
    } else {
        DeclareMixedSwitches(parser);
    }
    bool caseSensitive = (options & 0x10) != 0;
    bool validate = (options & 0x20) == 0;
    parser.Parse(static_cast<int>(argv.size()), argv.data(), caseSensitive, validate);
    ReadResults(parser, table == 1);
    return 0;
}
