// /LINT findings and the ADS mode's warning about files that replace others, on driver sets in memory.
#include "StagedRun.h"
#include "drvstage/DriverSetLint.h"
#include "support/MemoryFileSystem.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <string>
#include <vector>

namespace {

size_t Count(const std::string& text, const std::string& part) {
    size_t count = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
        ++count;
    return count;
}

// A clean set: two drivers for listed machine types, one of them required for ADS.
void AddCleanSet(MemoryFileSystem& fileSystem) {
    fileSystem.AddFile("/src/DrvSet.ini", "[Main]\nSupported Systems = 8832,8840,X3650\n");
    fileSystem.AddFile("/src/alpha/DrvInfo.ini",
                       "[Driver Information]\nSupported Systems = 8840\nRequired For ADS = Yes\n");
    fileSystem.AddFile("/src/alpha/alpha.sys", "alpha");
    fileSystem.AddFile("/src/beta/DrvInfo.ini", "[Driver Information]\nUnsupported Systems = 8832\n");
}

struct Finding {
    const char* name;
    void (*seed)(MemoryFileSystem&);
    const char* line;
};

void BothLists(MemoryFileSystem& fileSystem) {
    fileSystem.AddFile("/src/both/DrvInfo.ini",
                       "[Driver Information]\nSupported Systems = 8840\nUnsupported Systems = 8832\n");
}
void FlagInLowerCase(MemoryFileSystem& fileSystem) {
    fileSystem.AddFile("/src/flag/DrvInfo.ini", "[Driver Information]\nReboot Required = yes\n");
}
void MachineTypeInOtherCase(MemoryFileSystem& fileSystem) {
    fileSystem.AddFile("/src/spelt/DrvInfo.ini", "[Driver Information]\nSupported Systems = 8840, x3650\n");
}
void UnlistedMachineType(MemoryFileSystem& fileSystem) {
    fileSystem.AddFile("/src/other/DrvInfo.ini", "[Driver Information]\nUnsupported Systems = 8841\n");
}
void NoInformationFile(MemoryFileSystem& fileSystem) {
    fileSystem.AddFile("/src/bare/bare.sys", "bare");
}
void BinaryFile(MemoryFileSystem& fileSystem) {
    fileSystem.AddFile("/src/wide/DrvInfo.ini", std::string("[\0D\0r\0", 7));
}
// gamma's information file is alpha's: only its driver file differs.
void AdsCollision(MemoryFileSystem& fileSystem) {
    fileSystem.AddFile("/src/gamma/DrvInfo.ini", fileSystem.Content("/src/alpha/DrvInfo.ini"));
    fileSystem.AddFile("/src/gamma/alpha.sys", "another alpha");
}

const Finding kFindings[] = {
    {"BothLists", BothLists,
     "/src/both/DrvInfo.ini: Supported Systems and Unsupported Systems are both set, so no machine type is "
     "supported"},
    {"FlagInLowerCase", FlagInLowerCase,
     "/src/flag/DrvInfo.ini: Reboot Required = yes reads as not set (only \"True\" and \"Yes\" set it)"},
    {"MachineTypeInOtherCase", MachineTypeInOtherCase,
     "/src/spelt/DrvInfo.ini: Supported Systems item \" x3650\" differs from the listed \"X3650\" only in "
     "letter case or blanks"},
    {"UnlistedMachineType", UnlistedMachineType,
     "/src/other/DrvInfo.ini: Unsupported Systems item \"8841\" is not listed in DrvSet.ini (nearest: 8840)"},
    {"NoInformationFile", NoInformationFile, "/src/bare: no DrvInfo.ini"},
    {"BinaryFile", BinaryFile, "/src/wide/DrvInfo.ini: not readable as text (NUL bytes)"},
    {"AdsCollision", AdsCollision,
     "/src/gamma/alpha.sys: replaces the differing copy of /src/alpha/alpha.sys in the ADS mode"},
};

class LintFinding : public testing::TestWithParam<Finding> {};

TEST_P(LintFinding, IsReportedOnceWithStatus2) {
    MemoryFileSystem fileSystem;
    AddCleanSet(fileSystem);
    GetParam().seed(fileSystem);
    ScopedFileSystem scoped(fileSystem);
    Staged run = Stage({"/LINT", "/V:1"});
    EXPECT_EQ(run.status, kLintFound);
    EXPECT_EQ(Count(run.output, std::string("\n") + GetParam().line + "\n"), 1u) << run.output;
    EXPECT_EQ(Count(run.output, "\n1 finding.\n"), 1u) << run.output;
    EXPECT_FALSE(fileSystem.IsDirectory("/dst"));
}

INSTANTIATE_TEST_SUITE_P(Findings, LintFinding, testing::ValuesIn(kFindings),
                         [](const testing::TestParamInfo<Finding>& info) { return info.param.name; });

TEST(Lint, CleanSetHasNoFindingsAndEveryFindingOfASeededSetIsReportedOnce) {
    MemoryFileSystem clean;
    AddCleanSet(clean);
    {
        ScopedFileSystem scoped(clean);
        Staged run = Stage({"/LINT", "/V:1"});
        EXPECT_EQ(run.status, 0);
        EXPECT_NE(run.output.find("\nNo findings.\n"), std::string::npos) << run.output;
    }
    MemoryFileSystem seeded;
    AddCleanSet(seeded);
    for (const Finding& finding : kFindings)
        finding.seed(seeded);
    ScopedFileSystem scoped(seeded);
    Staged run = Stage({"/LINT", "/V:1"});
    EXPECT_EQ(run.status, kLintFound);
    for (const Finding& finding : kFindings)
        EXPECT_EQ(Count(run.output, std::string("\n") + finding.line + "\n"), 1u) << finding.name;
    EXPECT_EQ(Count(run.output, "\n7 findings.\n"), 1u) << run.output;
}

TEST(Lint, NearestItemTakesTheFewestEdits) {
    EXPECT_EQ(NearestItem("8850", "7100,8840,8841"), "8840");
    EXPECT_EQ(NearestItem("x3650M2", "x3550,X3650,x3850"), "X3650");
    EXPECT_EQ(NearestItem("a", ""), "");
}

// An ADS driver whose file replaces another driver's differing file: a warning at level 2 that names the
// file and both folders, in the run, in its preview and in the report. The same file does not warn.
TEST(AdsMerge, WarnsOfAFileThatReplacesADifferingOne) {
    MemoryFileSystem fileSystem;
    AddCleanSet(fileSystem);
    AdsCollision(fileSystem);
    ScopedFileSystem scoped(fileSystem);
    const std::string warning =
        "\nWarning: alpha.sys from /src/gamma replaces the one from /src/alpha, which differs.\n";
    for (std::vector<const char*> switches : {std::vector<const char*>{"/ADS", "/V:2", "/L"},
                                              std::vector<const char*>{"/ADS", "/V:2", "/REPORT:/r.json"}}) {
        Staged run = Stage(switches);
        EXPECT_EQ(run.status, 0);
        EXPECT_EQ(Count(run.output, warning), 1u) << run.output;
        EXPECT_EQ(Count(run.output, "Warning: "), 1u) << run.output;
    }
    nlohmann::json report = nlohmann::json::parse(fileSystem.Content("/r.json"));
    ASSERT_EQ(report["adsCollisions"].size(), 1u);
    EXPECT_EQ(report["adsCollisions"][0]["file"], "alpha.sys");
    EXPECT_EQ(report["adsCollisions"][0]["earlier"], "/src/alpha");
    EXPECT_EQ(report["adsCollisions"][0]["later"], "/src/gamma");
    EXPECT_EQ(fileSystem.Content("/dst/alpha.sys"), "another alpha");
    // Below its level it is not shown.
    Staged quiet = Stage({"/ADS", "/V:1"});
    EXPECT_EQ(Count(quiet.output, "Warning: "), 0u) << quiet.output;
}

} // namespace
