#include "foundation/platform/CommandLine.h"

#ifdef _WIN32
#include <windows.h>

namespace {

bool AnyHoldsAQuote(int argc, const char* const* argv) {
    for (int i = 0; i < argc; ++i) {
        if (std::string_view(argv[i]).find('"') != std::string_view::npos)
            return true;
    }
    return false;
}

} // namespace
#endif

std::vector<std::string> SplitCommandLineLiterally(std::string_view commandLine) {
    std::vector<std::string> arguments;
    std::string current;
    bool started = false; // "" is an empty argument
    bool quoted = false;
    for (char c : commandLine) {
        if (c == '"') {
            quoted = !quoted;
            started = true;
        } else if ((c == ' ' || c == '\t') && !quoted) {
            if (started)
                arguments.push_back(current);
            current.clear();
            started = false;
        } else {
            current += c;
            started = true;
        }
    }
    if (started)
        arguments.push_back(current);
    return arguments;
}

std::vector<std::string> ProgramArguments(int argc, const char* const* argv) {
#ifdef _WIN32
    if (AnyHoldsAQuote(argc, argv)) {
        const char* commandLine = GetCommandLineA();
        if (commandLine)
            return SplitCommandLineLiterally(commandLine);
    }
#endif
    return std::vector<std::string>(argv, argv + argc);
}
