// Paths of the kit. The configuration and item description files are written for Windows
// (backslashes, drive letters); here both separators are accepted and paths are kept in Qt's form
// ('/' inside, native separators only when shown to the user).
#pragma once

#include <QString>

namespace sd {

// "C:\kit\os\" => "C:/kit/os/"; on POSIX "a\b" => "a/b" as well.
QString KitPath(const QString& text);

// Removes every leading and trailing backslash (the kit files' own trimming; '/' is kept, so a POSIX
// absolute path stays absolute).
QString TrimBackslashes(const QString& text);

// Removes separators at both ends of a relative part: "\i386\" => "i386".
QString TrimSeparators(const QString& text);

// Removes trailing separators but keeps a root: "/media/cd/" => "/media/cd", "/" => "/", "C:/" => "C:/".
QString TrimTrailingSeparators(const QString& text);

// Joins with exactly one separator: ("/src/", "\i386\") => "/src/i386"; an empty part adds nothing.
QString JoinPath(const QString& head, const QString& tail);

// "dir" => "dir/"; a path already ending in a separator is kept.
QString WithTrailingSeparator(const QString& path);

// The path as the user should read it (native separators).
QString ShownPath(const QString& path);

// When the path does not exist as written, looks for it component by component ignoring letter case
// (files copied from Windows media); returns the existing spelling, or the path as given (in Qt form).
QString ResolveCase(const QString& path);

} // namespace sd
