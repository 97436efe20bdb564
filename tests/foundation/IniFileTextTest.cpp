#include "foundation/IniFile.h"

#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::vector<std::string> LinesOf(const IniFile& ini) {
    std::vector<std::string> lines;
    for (const CString& line : ini.Lines())
        lines.push_back(line.Str());
    return lines;
}

// The contents given as text read exactly as a file holding them: the same lines, the same verdict on
// the bounds, and the same file when saved (the byte order mark included).
TEST(IniFileText, ReadsAsAFileHoldingTheSameBytes) {
    const std::string bom = "\xEF\xBB\xBF";
    const std::string longest(IniFile::kMaxLineLength, 'x');
    struct Case {
        const char* label;
        std::string content;
    };
    const Case cases[] = {
        {"empty", ""},
        {"plain", "[A]\nx = 1\n  ; note\n\n[B]\ny=2"},
        {"byte order mark", bom + "[A]\nx=1\n"},
        {"only a byte order mark", bom},
        {"part of a byte order mark", "\xEF\xBB[A]\nx=1\n"},
        {"CR LF", "[A]\r\nx = 1\r\n\r\ny = 2\r\n"},
        {"lone CR", "[A]\rx=1\r\n"},
        {"NUL bytes", std::string("[A]\nx=1\0tail\n", 14)},
        {"longest line", "[A]\n" + longest + "\n"},
        {"longest line with CR LF", "[A]\r\n" + longest + "\r\n"},
        {"too long a line", "[A]\n" + longest + "x\n"},
        {"too long a last line", longest + "x"},
        {"too many lines", std::string(IniFile::kMaxLines + 1, '\n')},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        TempDir dir;
        std::string path = dir.Write("doc.ini", c.content);
        IniFile fromFile(CurrentFileSystem(), path.c_str(), true);
        IniFile fromText(TextContents{c.content}, true);
        EXPECT_EQ(LinesOf(fromText), LinesOf(fromFile));
        EXPECT_EQ(fromText.IsUnreadable(), fromFile.IsUnreadable());
        EXPECT_EQ(fromText.ReadFailureReason(), fromFile.ReadFailureReason());
        EXPECT_EQ(fromText.GetValue("A", "x", "none").Str(), fromFile.GetValue("A", "x", "none").Str());
        if (fromFile.IsUnreadable())
            continue;
        ASSERT_TRUE(fromFile.Save(CurrentFileSystem(), (dir / "file.ini").c_str()));
        ASSERT_TRUE(fromText.Save(CurrentFileSystem(), (dir / "text.ini").c_str()));
        EXPECT_EQ(dir.Read("text.ini"), dir.Read("file.ini"));
    }
}

// Text has no file of its own: the document is never written anywhere it was not asked to be.
TEST(IniFileText, AnEditedDocumentFromTextFlushesNowhere) {
    IniFile ini(TextContents{"[A]\nx=1\n"}, true);
    EXPECT_FALSE(ini.FileExists());
    EXPECT_TRUE(ini.SetValue("A", "x", "2", false, false));
    EXPECT_FALSE(ini.Flush());
    EXPECT_TRUE(ini.IsDirty());
}

} // namespace
