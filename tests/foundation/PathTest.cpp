#include "foundation/FileOperations.h"
#include "foundation/platform/PathStyle.h"

#include <gtest/gtest.h>

namespace {

constexpr PathStyle kWin = PathStyle::Windows;
constexpr PathStyle kPosix = PathStyle::Posix;

struct JoinCase {
    PathStyle style;
    const char* base;
    const char* tail;
    const char* joined;
};

class JoinPathTest : public testing::TestWithParam<JoinCase> {};

TEST_P(JoinPathTest, PutsExactlyOneSeparatorBetween) {
    const JoinCase& c = GetParam();
    EXPECT_STREQ(JoinPath(c.base, c.tail, c.style).Text(), c.joined);
}

INSTANTIATE_TEST_SUITE_P(
    Styles, JoinPathTest,
    testing::Values(JoinCase{kWin, "C:\\a\\", "\\b", "C:\\a\\b"}, JoinCase{kWin, "C:\\a", "b", "C:\\a\\b"},
                    JoinCase{kWin, "C:\\a\\", "b", "C:\\a\\b"}, JoinCase{kWin, "C:\\a", "\\b", "C:\\a\\b"},
                    JoinCase{kWin, "", "b", "b"}, JoinCase{kWin, "C:\\a", "", "C:\\a"},
                    // '/' is no separator in the Windows style
                    JoinCase{kWin, "a/", "b", "a/\\b"}, JoinCase{kPosix, "/a", "b", "/a/b"},
                    JoinCase{kPosix, "/a/", "/b", "/a/b"}, JoinCase{kPosix, "a\\", "/b", "a\\b"},
                    JoinCase{kPosix, "/a", "\\b", "/a\\b"}, JoinCase{kPosix, "/", "*", "/*"}));

struct SplitCase {
    PathStyle style;
    const char* path;
    const char* root;
    const char* directory;
    const char* baseName;
    const char* extension;
};

class SplitPathTest : public testing::TestWithParam<SplitCase> {};

TEST_P(SplitPathTest, GivesRootDirectoryBaseNameAndExtension) {
    const SplitCase& c = GetParam();
    PathParts parts = SplitPath(c.path, c.style);
    EXPECT_STREQ(parts.root.Text(), c.root);
    EXPECT_STREQ(parts.directory.Text(), c.directory);
    EXPECT_STREQ(parts.baseName.Text(), c.baseName);
    EXPECT_STREQ(parts.extension.Text(), c.extension);
    EXPECT_STREQ(FileTitle(c.path, c.style).Text(), c.baseName);
}

INSTANTIATE_TEST_SUITE_P(
    Styles, SplitPathTest,
    testing::Values(SplitCase{kWin, "C:\\a\\b\\file.ini", "C:", "\\a\\b\\", "file", ".ini"},
                    SplitCase{kWin, " \tC:\\a.html\n", "C:", "\\", "a.html", ""},
                    SplitCase{kWin, "C:rel\\x.c", "C:", "rel\\", "x", ".c"},
                    SplitCase{kWin, "\\\\srv\\share\\dir\\x.txt", "\\\\srv\\share\\", "dir\\", "x", ".txt"},
                    // three backslashes make no server root
                    SplitCase{kWin, "\\\\srv\\share", "", "\\\\srv\\", "share", ""},
                    SplitCase{kWin, "dir.d\\file", "", "dir.d\\", "file", ""},
                    SplitCase{kWin, "a.b.txt", "", "", "a.b", ".txt"},
                    SplitCase{kWin, "file.", "", "", "file", "."},
                    SplitCase{kWin, "x:\\y:z", "x:", "\\", "y:z", ""},
                    SplitCase{kPosix, "/usr/bin/drvstage", "", "/usr/bin/", "drvstage", ""},
                    SplitCase{kPosix, "a\\b/c.so", "", "a\\b/", "c", ".so"},
                    SplitCase{kPosix, "C:/d/x.ini", "", "C:/d/", "x", ".ini"}));

struct WildcardCase {
    const char* name;
    const char* pattern;
    bool matches;
};

class WildcardTest : public testing::TestWithParam<WildcardCase> {};

TEST_P(WildcardTest, MatchesLikeADirectorySearch) {
    const WildcardCase& c = GetParam();
    EXPECT_EQ(MatchesWildcard(c.name, c.pattern), c.matches) << c.name << " ~ " << c.pattern;
}

INSTANTIATE_TEST_SUITE_P(
    Patterns, WildcardTest,
    testing::Values(WildcardCase{"DrvInfo.INI", "*.ini", true},
                    WildcardCase{"DrvInfo.ini", "drvinfo.ini", true}, WildcardCase{"a", "??", false},
                    WildcardCase{"ab", "??", true}, WildcardCase{"noext", "*.*", true},
                    WildcardCase{"a.b.c", "*.c", true}, WildcardCase{"abcbd", "a*bd", true},
                    WildcardCase{"abcbe", "a*bd", false}, WildcardCase{"", "*", true},
                    WildcardCase{"x", "", false},
                    WildcardCase{"aaaaaaaaaaaaaaaaaaaaaaaaaaaab", "*a*a*a*a*a*a*c", false}));

} // namespace
