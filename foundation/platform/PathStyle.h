// Lexical path rules with a selectable style, so Windows-form paths can be handled (and tested) anywhere.
#pragma once

enum class PathStyle {
    Windows, // separator '\', drive roots "C:", server roots "\\server\share\"
    Posix,   // separator '/', and '\' accepted as a separator too
};

// The style of the system the program runs on.
PathStyle NativePathStyle();
bool IsSeparator(char c, PathStyle style);
char PreferredSeparator(PathStyle style);
