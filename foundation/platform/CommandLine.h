// The arguments of a console program as its user typed them.
#pragma once

#include <string>
#include <string_view>
#include <vector>

// On Windows the C library reads a backslash before a quote as a quote inside the argument, so a folder
// typed in quotes with its trailing backslash, "C:\kit dir\", swallows its closing quote and runs on into
// the next arguments. No argument of these programs can hold a quote (no Windows path does), so when one
// does, the command line the system was given is split again with every backslash taken as it stands.
// Elsewhere, and when no argument holds a quote, the arguments are argv unchanged.
std::vector<std::string> ProgramArguments(int argc, const char* const* argv);

// Splits a Windows command line: blanks and tabs outside quotes separate arguments, each quote starts or
// ends a quoted part and is dropped, every other character (backslashes too) stands as it is.
//   SplitCommandLineLiterally(R"(p.exe "C:\a b\" /V:2)") => {"p.exe", "C:\a b\", "/V:2"}
std::vector<std::string> SplitCommandLineLiterally(std::string_view commandLine);
