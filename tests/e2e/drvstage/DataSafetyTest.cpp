// Files that common editors write, destinations that cannot be made and copies that fail: the driver set is
// read as written, and a failure names the file and the system's reason.
#include "DriverSetFixture.h"

#include <fstream>

namespace {

using ByteOrderMark = DriverSetTest;
using UncreatableDestination = DriverSetTest;
using InterruptedCopies = DriverSetTest;

const std::string kMark = "\xEF\xBB\xBF";

bool StartsWithMark(const std::string& text) {
    return text.rfind(kMark, 0) == 0;
}

size_t Count(const std::string& text, const std::string& part) {
    size_t count = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
        ++count;
    return count;
}

// A driver file whose first line is its section, saved with a byte order mark: selected by what it says,
// and rewritten with the mark and its one section.
TEST_F(ByteOrderMark, DriverFilesWithTheMarkAreReadAsWrittenAndKeepIt) {
    struct Case {
        const char* machineType;
        bool staged;
    };
    for (const Case& c : {Case{"y", false}, Case{"x", true}}) {
        SCOPED_TRACE(c.machineType);
        AddDriverSetFile("x,y");
        dir_.Write("set/a/DrvInfo.ini",
                   kMark + "[Driver Information]\nSupported Systems = x\nCategory = Net\n");
        ProgramResult run = Stage({std::string("/M:") + c.machineType});
        ASSERT_EQ(run.status, 0) << run.out;
        EXPECT_EQ(Exists("out/a"), c.staged) << run.out;
        if (!c.staged)
            continue;
        std::string rewritten = Read("out/a/DrvInfo.ini");
        EXPECT_TRUE(StartsWithMark(rewritten)) << rewritten;
        EXPECT_EQ(Count(rewritten, "[Driver Information]"), 1u) << rewritten;
        EXPECT_TRUE(HasLine("out/a/DrvInfo.ini", "Supported Systems = x"));
        EXPECT_TRUE(HasLine("out/a/DrvInfo.ini", "Category = Net"));
    }
}

TEST_F(ByteOrderMark, ADriverSetFileWithTheMarkLimitsTheMachineTypesAndKeepsIt) {
    dir_.Write("set/DrvSet.ini", kMark + "[Main]\nSupported Systems = x\n");
    AddDriver("a", "Supported Systems = x\n");
    ProgramResult refused = Stage({"/M:z"});
    EXPECT_EQ(refused.status, 4) << refused.out;
    EXPECT_NE(refused.out.find("The machine type 'z' is not supported by this device driver set."),
              std::string::npos)
        << refused.out;

    ProgramResult run = Stage({"/M:x"});
    ASSERT_EQ(run.status, 0) << run.out;
    std::string rewritten = Read("out/DrvSet.ini");
    EXPECT_TRUE(StartsWithMark(rewritten)) << rewritten;
    EXPECT_EQ(Count(rewritten, "[Main]"), 1u) << rewritten;
    EXPECT_TRUE(HasLine("out/DrvSet.ini", "Supported Systems = x"));
}

// A destination below a plain file does not exist: it is created, which fails, and the failure says why.
TEST_F(UncreatableDestination, ADestinationBelowAPlainFileCannotBeCreated) {
    AddDriverSetFile("x");
    AddDriver("a", "Supported Systems = x\n");
    dir_.Write("f.txt", "plain");
    for (const std::string& below : {"f.txt/dst", "f.txt/dst/deeper"}) {
        SCOPED_TRACE(below);
        std::string destination = Shown(dir_ / below);
        ProgramResult run = StageTo(dir_ / below, {"/V:1"});
        EXPECT_EQ(run.status, 3);
        std::string expected =
            "Creating " + destination + "\n\nUnable to create directory " + destination + "\n";
        size_t failure = run.out.find(expected);
        ASSERT_NE(failure, std::string::npos) << run.out;
        std::string reasonLine = run.out.substr(failure + expected.size());
        EXPECT_EQ(reasonLine.rfind(Shown(dir_ / "f.txt/dst") + ": ", 0), 0u) << reasonLine;
        EXPECT_EQ(run.out.find("Unable to remove directory"), std::string::npos) << run.out;
        EXPECT_EQ(Read("f.txt"), "plain");
    }
}

// The ADS mode copies into a destination that stays: what an interrupted copy left there goes, and a copy
// that fails leaves no part of itself.
TEST_F(InterruptedCopies, TemporaryFilesOfAnInterruptedCopyAreRemovedAndOthersKept) {
    AddDriver("a", "Required For ADS = Yes\n");
    dir_.Write("set/a/a.sys", "a driver");
    dir_.Write("set/a/sub/b.sys", "b driver");
    dir_.Write("out/~copy-0badc0de.tmp", "cut short");
    dir_.Write("out/sub/~copy-12345678.tmp", "cut short");
    dir_.Write("out/~copy-notes.txt", "someone's notes");
    ProgramResult run = Stage({"/ADS"});
    ASSERT_EQ(run.status, 0) << run.out;
    EXPECT_EQ(Names("out"), (std::vector<std::string>{"DrvInfo.ini", "a.sys", "sub", "~copy-notes.txt"}));
    EXPECT_EQ(Names("out/sub"), (std::vector<std::string>{"b.sys"}));
    EXPECT_EQ(Read("out/a.sys"), "a driver");
}

TEST_F(InterruptedCopies, ACopyThatCannotTakeItsNameLeavesNoPartOfItself) {
    AddDriver("a", "Required For ADS = Yes\n");
    dir_.Write("set/a/a.sys", "a driver");
    std::filesystem::create_directories(dir_.Path() / "out/a.sys/inside");
    ProgramResult run = Stage({"/ADS"});
    EXPECT_EQ(run.status, 3);
    std::string target = Shown(Joined(Destination(), "a.sys"));
    std::string expected = "Unable to copy file " + Shown(Joined(Joined(Source(), "a"), "a.sys")) + " to " +
                           target + "\n" + target + ": ";
    EXPECT_NE(run.out.find(expected), std::string::npos) << run.out;
    for (const std::string& name : Names("out")) // DrvInfo.ini too when the search gives it first
        EXPECT_TRUE(name == "a.sys" || name == "DrvInfo.ini") << name;
    EXPECT_EQ(Names("out/a.sys"), (std::vector<std::string>{"inside"}));
}

#ifdef __linux__
// A source file whose read fails part-way: the file of that name in the destination stays as it was, and the
// reason line names the file that could not be read.
TEST_F(InterruptedCopies, AFailedReadLeavesTheOldDestinationFile) {
    if (TestingWindowsBuild())
        GTEST_SKIP() << "the failing source is a file of Linux";
    AddDriver("a", "Required For ADS = Yes\n");
    std::filesystem::create_symlink("/proc/self/mem", dir_.Path() / "set/a/unreadable.bin");
    dir_.Write("out/unreadable.bin", "old contents");
    ProgramResult run = Stage({"/ADS"});
    EXPECT_EQ(run.status, 3);
    std::string source = Shown(Joined(Joined(Source(), "a"), "unreadable.bin"));
    EXPECT_NE(run.out.find("\n" + source + ": Input/output error\n"), std::string::npos) << run.out;
    EXPECT_EQ(Read("out/unreadable.bin"), "old contents");
    for (const std::string& name : Names("out"))
        EXPECT_EQ(name.rfind("~copy-", 0), std::string::npos) << name;
}
#endif

} // namespace
