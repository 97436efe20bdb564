// arrayplan runs with Windows-form paths: a support-file directory typed with back or forward slashes,
// with or without its trailing separator, support files whose names differ in letter case, and input
// files with Windows line ends. The same cases run natively with this machine's paths.
#include "support/RunProgram.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>

namespace fs = std::filesystem;

namespace {

constexpr size_t npos = std::string::npos;

std::string WithSlashes(std::string path, char from, char to) {
    std::replace(path.begin(), path.end(), from, to);
    return path;
}

std::string WithWindowsLineEnds(const std::string& text) {
    std::string result;
    for (char c : text) {
        if (c == '\n')
            result += '\r';
        result += c;
    }
    return result;
}

// The generated policies say when they were made; two runs differ there only.
std::string WithoutClockLines(const std::string& text) {
    std::string result;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        end = end == npos ? text.size() : end + 1;
        std::string line = text.substr(start, end - start);
        if (line.find("(mm/dd/yyyy)") == npos && line.find("(hh:mm:ss)") == npos)
            result += line;
        start = end;
    }
    return result;
}

class SupportDirectory : public testing::Test {
protected:
    SupportDirectory() {
        dir_.Write("in/inventory.ini", ExampleText("examples/arrayplan/inventory.ini"));
        dir_.Write("in/policies.ini", ExampleText("examples/arrayplan/policies.ini"));
        dir_.Write("raid/VAULTIX-Q4.INI", ExampleText("data/raid/Vaultix-Q4.ini"));
        dir_.Write("raid/vaultix-m1.ini", ExampleText("data/raid/Vaultix-M1.ini"));
    }

    static std::string ExampleText(const std::string& relative) {
        return ReadWholeFile(std::string(KIT_SOURCE_DIR) + "/" + relative);
    }

    std::string Shown(const std::string& relative) const { return ProgramPath(dir_ / relative); }

    ProgramResult Validate(const std::string& raidDirectory) {
        fs::remove(dir_ / "out.ini");
        fs::remove(dir_ / "out.pol");
        return RunProgram(BuiltProgram("arrayplan"),
                          {"/ini:" + Shown("in/inventory.ini"), "/inp:" + Shown("in/policies.ini"),
                           "/outi:" + Shown("out.ini"), "/outp:" + Shown("out.pol"),
                           "/raid:" + raidDirectory});
    }

    TempDir dir_;
};

TEST_F(SupportDirectory, FoundWithEitherSlashAndWithoutTrailingSeparator) {
    std::string raid = Shown("raid");
    std::string backslashed = WithSlashes(raid, '/', '\\');
    std::string forward = WithSlashes(raid, '\\', '/');
    struct Case {
        std::string typed;
        std::string echoed;
    };
    for (const Case& form : {Case{backslashed, backslashed + "\\"}, Case{forward, forward + "\\"},
                             Case{backslashed + "\\", backslashed + "\\"}}) {
        ProgramResult run = Validate(form.typed);
        EXPECT_EQ(run.status, 0) << form.typed << "\n" << run.out;
        EXPECT_NE(run.out.find("RAID Support Files Directory Path:" + form.echoed + " \n"), npos) << run.out;
        EXPECT_NE(run.out.find("Validation Completed\n"), npos) << run.out;
        EXPECT_NE(ReadProgramText(dir_ / "out.ini").find("[RAIDController.2"), npos);
        EXPECT_NE(ReadProgramText(dir_ / "out.pol").find("[Policy."), npos);
        // The run's temporary policy file does not stay behind in the support directory.
        std::string names;
        for (const fs::directory_entry& entry : fs::directory_iterator(dir_ / "raid"))
            names += entry.path().filename().string() + " ";
        EXPECT_EQ(names.find("KLAMPM~~"), npos) << names;
    }
}

TEST_F(SupportDirectory, WindowsLineEndsReadLikeUnixOnes) {
    ASSERT_EQ(Validate(Shown("raid")).status, 0);
    std::string inventory = ReadProgramText(dir_ / "out.ini");
    std::string policies = WithoutClockLines(ReadProgramText(dir_ / "out.pol"));

    for (const char* input : {"in/inventory.ini", "in/policies.ini"})
        dir_.Write(input, WithWindowsLineEnds(dir_.Read(input)));
    for (const char* name : {"raid/VAULTIX-Q4.INI", "raid/vaultix-m1.ini"})
        dir_.Write(name, WithWindowsLineEnds(dir_.Read(name)));
    ProgramResult run = Validate(Shown("raid"));
    EXPECT_EQ(run.status, 0) << run.out;
    EXPECT_EQ(ReadProgramText(dir_ / "out.ini"), inventory);
    EXPECT_EQ(WithoutClockLines(ReadProgramText(dir_ / "out.pol")), policies);

    // Each build writes its own system's line ends, and only those.
    std::string raw = dir_.Read("out.ini");
    size_t lineEnds = std::count(raw.begin(), raw.end(), '\n');
    size_t returns = std::count(raw.begin(), raw.end(), '\r');
    EXPECT_GT(lineEnds, 10u);
    EXPECT_EQ(returns, TestingWindowsBuild() ? lineEnds : 0u);
    EXPECT_EQ(raw.find("\r\r"), npos);
}

} // namespace
