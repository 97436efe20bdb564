#include "foundation/TextFile.h"

#include "support/MemoryFileSystem.h"

#include <gtest/gtest.h>

namespace {

class TextFileTest : public testing::Test {
protected:
    MemoryFileSystem disk;
    ScopedFileSystem installed{disk};

    std::vector<std::string> ReadAll(const char* path, const char* mode) {
        TextFile file;
        EXPECT_TRUE(file.Open(CurrentFileSystem(), path, mode));
        std::vector<std::string> lines;
        CString line;
        while (file.ReadLine(line))
            lines.push_back(line.Str());
        EXPECT_TRUE(file.AtEnd());
        EXPECT_TRUE(line.IsEmpty());
        return lines;
    }
};

TEST_F(TextFileTest, ReadsLinesWithTheirNewlinesAndALastLineWithout) {
    disk.AddFile("/f", "one\n\nlast");
    EXPECT_EQ(ReadAll("/f", "r"), (std::vector<std::string>{"one\n", "\n", "last"}));
    disk.AddFile("/g", "only\n");
    EXPECT_EQ(ReadAll("/g", ""), (std::vector<std::string>{"only\n"}));
}

TEST_F(TextFileTest, TextModeDropsTheCarriageReturnOfLineEndsOnly) {
    disk.AddFile("/crlf", "a = 1\r\nb\rc\r\nlast\r");
    EXPECT_EQ(ReadAll("/crlf", "r"), (std::vector<std::string>{"a = 1\n", "b\rc\n", "last\r"}));
    EXPECT_EQ(ReadAll("/crlf", "rb"), (std::vector<std::string>{"a = 1\r\n", "b\rc\r\n", "last\r"}));
}

TEST_F(TextFileTest, LinesLongerThanTheReadBlockArriveWhole) {
    std::string longLine(200000, 'x');
    disk.AddFile("/long", longLine + "\r\n" + longLine);
    auto lines = ReadAll("/long", "r");
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0], longLine + "\n");
    EXPECT_EQ(lines[1], longLine);
}

TEST_F(TextFileTest, AtEndFollowsTheReadsAndIsTrueWhileClosed) {
    disk.AddFile("/f", "x\n");
    TextFile file;
    EXPECT_TRUE(file.AtEnd());
    ASSERT_TRUE(file.Open(CurrentFileSystem(), "/f"));
    EXPECT_FALSE(file.AtEnd());
    CString line;
    EXPECT_TRUE(file.ReadLine(line));
    EXPECT_FALSE(file.AtEnd()); // the end is seen only by the next read
    EXPECT_FALSE(file.ReadLine(line));
    EXPECT_TRUE(file.AtEnd());
    EXPECT_TRUE(file.Close());
    EXPECT_TRUE(file.AtEnd());
    EXPECT_FALSE(file.Close()); // nothing open
    EXPECT_FALSE(file.Open(CurrentFileSystem(), "/missing"));
    EXPECT_TRUE(file.AtEnd());
    EXPECT_FALSE(file.ReadLine(line));
}

TEST_F(TextFileTest, WritesLinesAndReportsAFailedWriteAtTheLatestOnClose) {
    TextFile file;
    ASSERT_TRUE(file.Open(CurrentFileSystem(), "/out", "w+"));
    EXPECT_TRUE(file.WriteLine("first"));
    EXPECT_TRUE(file.WriteLine(""));
    EXPECT_TRUE(file.Close());
    EXPECT_EQ(disk.Content("/out"), "first\n\n");

    disk.FailCall(MemoryFileSystem::Call::Write, 0, "/bad");
    ASSERT_TRUE(file.Open(CurrentFileSystem(), "/bad", "w"));
    file.WriteLine("lost");
    EXPECT_FALSE(file.Close());
    EXPECT_FALSE(file.WriteLine("after close"));
}

TEST_F(TextFileTest, DeleteOnCloseAndDeleteRemoveTheFile) {
    {
        TextFile file;
        ASSERT_TRUE(file.Open(CurrentFileSystem(), "/temp", "w"));
        file.SetDeleteOnClose(true);
        EXPECT_TRUE(file.Close());
        EXPECT_FALSE(disk.IsFile("/temp"));
    }
    {
        TextFile file;
        ASSERT_TRUE(file.Open(CurrentFileSystem(), "/released", "w"));
        file.SetDeleteOnClose(true);
    } // released here
    EXPECT_FALSE(disk.IsFile("/released"));
    {
        TextFile file;
        ASSERT_TRUE(file.Open(CurrentFileSystem(), "/kept", "w"));
    }
    EXPECT_TRUE(disk.IsFile("/kept"));

    TextFile file;
    ASSERT_TRUE(file.Open(CurrentFileSystem(), "/kept", "r"));
    EXPECT_TRUE(file.Delete());
    EXPECT_FALSE(disk.IsFile("/kept"));
    EXPECT_FALSE(file.Delete());
}

// The mark is skipped only where it opens the file, in either mode, and only whole.
TEST_F(TextFileTest, AByteOrderMarkOpeningTheFileIsSkippedAndRemembered) {
    struct Case {
        std::string content;
        std::vector<std::string> lines;
        bool mark;
    };
    const std::string bom = "\xEF\xBB\xBF";
    const Case cases[] = {
        {bom + "[Driver Information]\nx = 1\n", {"[Driver Information]\n", "x = 1\n"}, true},
        {bom, {}, true},
        {bom + bom + "a", {bom + "a"}, true},
        {"a\n" + bom + "b", {"a\n", bom + "b"}, false},
        {"\xEF\xBB" + std::string("x"), {"\xEF\xBBx"}, false},
        {"\xEF\xBB", {"\xEF\xBB"}, false},
        {"plain", {"plain"}, false},
    };
    for (const Case& c : cases) {
        for (const char* mode : {"r", "rb"}) {
            SCOPED_TRACE(c.content + " " + mode);
            disk.AddFile("/f", c.content);
            TextFile file;
            ASSERT_TRUE(file.Open(CurrentFileSystem(), "/f", mode));
            std::vector<std::string> lines;
            CString line;
            while (file.ReadLine(line))
                lines.push_back(line.Str());
            EXPECT_EQ(lines, c.lines);
            EXPECT_EQ(file.HadByteOrderMark(), c.mark);
        }
    }
}

TEST_F(TextFileTest, BoundedReadsStopAtALineLongerThanTheLimit) {
    struct Case {
        std::string content;
        const char* mode;
        LineRead result;
        std::string line;
    };
    const Case cases[] = {
        {"abcd\nrest", "r", LineRead::Line, "abcd\n"},
        {"abcd", "r", LineRead::Line, "abcd"},
        {"abcd\r\n", "r", LineRead::Line, "abcd\n"},   // the dropped carriage return does not count
        {"abcd\r\n", "rb", LineRead::TooLong, "abcd"}, // kept in binary mode, it does
        {"abcde\n", "r", LineRead::TooLong, "abcd"},
        {"abcdef", "r", LineRead::TooLong, "abcd"},
        {std::string(300000, 'z'), "r", LineRead::TooLong, "zzzz"},
        {"", "r", LineRead::End, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.content.substr(0, 10) + " " + c.mode);
        disk.AddFile("/f", c.content);
        TextFile file;
        ASSERT_TRUE(file.Open(CurrentFileSystem(), "/f", c.mode));
        CString line;
        EXPECT_EQ(file.ReadLine(line, 4), c.result);
        EXPECT_EQ(line.Str(), c.line);
    }
}

TEST_F(TextFileTest, AFileThatCannotBeReadIsAFailureNotAnEnd) {
    disk.AddFile("/f", "one\ntwo\n");
    TextFile file;
    ASSERT_TRUE(file.Open(CurrentFileSystem(), "/f"));
    disk.DeleteFile("/f"); // the memory file system fails reads of a file that went
    CString line;
    EXPECT_EQ(file.ReadLine(line, 100), LineRead::Failed);
    EXPECT_FALSE(file.ReadLine(line));
}

} // namespace
