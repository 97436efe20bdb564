// Lexical path rules with a selectable style, so Windows-form paths can be handled (and tested) anywhere.
#pragma once

#include <string_view>

enum class PathStyle {
    Windows, // separator '\', drive roots "C:", server roots "\\server\share\"
    Posix,   // separator '/', and '\' accepted as a separator too
};

// The style of the system the program runs on.
PathStyle NativePathStyle();
bool IsSeparator(char c, PathStyle style);
char PreferredSeparator(PathStyle style);

bool HasWildcards(std::string_view name);
// Matches a name as a directory search does: * is any run of characters, ? any one character, letters
// compare ignoring case, and "*.*" matches every name.
//   MatchesWildcard("DrvInfo.INI", "*.ini") => true;  MatchesWildcard("a", "??") => false
bool MatchesWildcard(std::string_view name, std::string_view pattern);
