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
        EXPECT_TRUE(file.Open(path, mode));
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
    ASSERT_TRUE(file.Open("/f"));
    EXPECT_FALSE(file.AtEnd());
    CString line;
    EXPECT_TRUE(file.ReadLine(line));
    EXPECT_FALSE(file.AtEnd()); // the end is seen only by the next read
    EXPECT_FALSE(file.ReadLine(line));
    EXPECT_TRUE(file.AtEnd());
    EXPECT_TRUE(file.Close());
    EXPECT_TRUE(file.AtEnd());
    EXPECT_FALSE(file.Close()); // nothing open
    EXPECT_FALSE(file.Open("/missing"));
    EXPECT_TRUE(file.AtEnd());
    EXPECT_FALSE(file.ReadLine(line));
}

TEST_F(TextFileTest, WritesLinesAndReportsAFailedWriteAtTheLatestOnClose) {
    TextFile file;
    ASSERT_TRUE(file.Open("/out", "w+"));
    EXPECT_TRUE(file.WriteLine("first"));
    EXPECT_TRUE(file.WriteLine(""));
    EXPECT_TRUE(file.Close());
    EXPECT_EQ(disk.Content("/out"), "first\n\n");

    disk.FailCall(MemoryFileSystem::Call::Write, 0, "/bad");
    ASSERT_TRUE(file.Open("/bad", "w"));
    file.WriteLine("lost");
    EXPECT_FALSE(file.Close());
    EXPECT_FALSE(file.WriteLine("after close"));
}

TEST_F(TextFileTest, DeleteOnCloseAndDeleteRemoveTheFile) {
    {
        TextFile file;
        ASSERT_TRUE(file.Open("/temp", "w"));
        file.SetDeleteOnClose(true);
        EXPECT_TRUE(file.Close());
        EXPECT_FALSE(disk.IsFile("/temp"));
    }
    {
        TextFile file;
        ASSERT_TRUE(file.Open("/released", "w"));
        file.SetDeleteOnClose(true);
    } // released here
    EXPECT_FALSE(disk.IsFile("/released"));
    {
        TextFile file;
        ASSERT_TRUE(file.Open("/kept", "w"));
    }
    EXPECT_TRUE(disk.IsFile("/kept"));

    TextFile file;
    ASSERT_TRUE(file.Open("/kept", "r"));
    EXPECT_TRUE(file.Delete());
    EXPECT_FALSE(disk.IsFile("/kept"));
    EXPECT_FALSE(file.Delete());
}

} // namespace
