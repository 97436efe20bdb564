// drvstage on a small driver set with each file-system call failing in turn: the run either ends as an
// unfailed run does, with the same destination, or it ends with status 3. A failure is never taken for an
// answer (a missing driver file, an empty folder, a missing destination).
#include "FaultSweep.h"

#include "drvstage/Run.h"
#include "support/ConsoleCapture.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Call = MemoryFileSystem::Call;
using Files = std::map<std::string, std::string>;

const char* const kAlphaInfo = "[Driver Information]\nCategory = Net\nRequired For ADS = True\n"
                               "Supported Systems = A,B\n";
const char* const kBetaInfo = "[Driver Information]\nSupported Systems = C\n";

// A driver set for machine types A, B and C: alpha suits A and B and is required for ADS; beta suits only
// C and spells its information file in another case; gamma has no information file. The destination
// holds a file of an earlier run.
void PrepareDriverSet(MemoryFileSystem& fileSystem) {
    fileSystem.AddFile("/src/DrvSet.ini", "[Main]\nSupported Systems = A,B,C\n");
    fileSystem.AddFile("/src/setup.dll", "base library");
    fileSystem.AddFile("/src/alpha/DrvInfo.ini", kAlphaInfo);
    fileSystem.AddFile("/src/alpha/alpha.sys", "alpha driver");
    fileSystem.AddFile("/src/beta/DRVINFO.INI", kBetaInfo);
    fileSystem.AddFile("/src/beta/beta.sys", "beta driver");
    fileSystem.AddFile("/src/gamma/gamma.sys", "gamma driver");
    fileSystem.AddFile("/dst/earlier.txt", "from an earlier run");
}

struct StageResult {
    int status = -1;
    std::string output;
};

StageResult Stage(const std::vector<const char*>& switches) {
    std::vector<const char*> argv = {"drvstage", "/src", "/dst"};
    argv.insert(argv.end(), switches.begin(), switches.end());
    ConsoleCapture console;
    StageResult run;
    run.status = RunDrvstage(static_cast<int>(argv.size()), argv.data());
    run.output = console.Out();
    return run;
}

bool Mentions(const StageResult& run, const std::string& text) {
    return run.output.find(text) != std::string::npos;
}

// After a failed run every file of the destination is as the unfailed run leaves it, as copied from the
// source before its driver file was narrowed, or left from before the run: never emptied or half written.
void ExpectOnlyKnownContents(const Files& actual, const Files& expected, const Files& source,
                             const Files& before) {
    for (const auto& [name, fingerprint] : actual) {
        bool known = false;
        for (const Files* listing : {&expected, &source, &before}) {
            auto file = listing->find(name);
            known = known || (file != listing->end() && file->second == fingerprint);
        }
        // ADS mode merges the drivers' files into the destination root.
        auto merged = source.find("alpha/" + name);
        known = known || (merged != source.end() && merged->second == fingerprint);
        EXPECT_TRUE(known) << name << " holds " << fingerprint;
    }
}

// Runs drvstage with switches once unfailed and once per file-system call it makes, with that call failing;
// returns the file system that the unfailed run left.
MemoryFileSystem SweepRun(const std::vector<const char*>& switches) {
    MemoryFileSystem unfailed;
    PrepareDriverSet(unfailed);
    Files source = FilesBelow(unfailed, "/src");
    Files before = FilesBelow(unfailed, "/dst");
    {
        ScopedFileSystem scoped(unfailed);
        StageResult run = Stage(switches);
        EXPECT_EQ(run.status, 0) << run.output;
    }
    Files expected = FilesBelow(unfailed, "/dst");
    std::vector<InjectedFault> faults =
        CallsMadeBy(PrepareDriverSet, [&] { EXPECT_EQ(Stage(switches).status, 0); });
    for (Call call : {Call::FindEntries, Call::OpenForReading, Call::Write, Call::Close})
        EXPECT_GT(CountOf(faults, call), 0) << "no call of a kind swept";

    for (const InjectedFault& fault : faults) {
        SCOPED_TRACE(Describe(fault));
        MemoryFileSystem fileSystem;
        PrepareDriverSet(fileSystem);
        fileSystem.FailCall(fault.call, fault.nth);
        ScopedFileSystem scoped(fileSystem);
        StageResult run = Stage(switches);
        Files actual = FilesBelow(fileSystem, "/dst");
        if (run.status == 0) {
            EXPECT_EQ(Differences(actual, expected), "") << run.output;
            continue;
        }
        EXPECT_EQ(run.status, 3) << run.output;
        ExpectOnlyKnownContents(actual, expected, source, before);
    }
    return unfailed;
}

TEST(DrvstageFaults, NarrowedRunFailsOrMatchesTheUnfailedOne) {
    MemoryFileSystem unfailed = SweepRun({"/M:A"});
    // What the unfailed run left: beta left out, alpha narrowed, gamma as it was, the earlier file gone.
    EXPECT_FALSE(unfailed.IsFile("/dst/beta/beta.sys"));
    EXPECT_FALSE(unfailed.IsFile("/dst/earlier.txt"));
    EXPECT_TRUE(unfailed.IsFile("/dst/gamma/gamma.sys"));
    EXPECT_TRUE(unfailed.IsFile("/dst/setup.dll"));
    std::string alpha = unfailed.Content("/dst/alpha/DrvInfo.ini");
    EXPECT_NE(alpha.find("Supported Systems = A\n"), std::string::npos) << alpha;
    EXPECT_NE(alpha.find("Category = Net\n"), std::string::npos) << alpha;
    EXPECT_NE(unfailed.Content("/dst/DrvSet.ini").find("Supported Systems = A\n"), std::string::npos);
}

TEST(DrvstageFaults, AdsRunFailsOrMatchesTheUnfailedOne) {
    MemoryFileSystem unfailed = SweepRun({"/ADS"});
    EXPECT_TRUE(unfailed.IsFile("/dst/alpha.sys"));
    EXPECT_FALSE(unfailed.IsFile("/dst/beta.sys"));
    EXPECT_TRUE(unfailed.IsFile("/dst/earlier.txt"));
}

// Each failure that used to pass for an answer or ended the run without saying why, with the failure line
// and the line after it that names the file and the system's reason.
struct NamedFault {
    Call call;
    const char* path; // empty: any path
    int nth;
    std::vector<const char*> switches;
    const char* lines;
};

void PrintTo(const NamedFault& fault, std::ostream* out) {
    *out << Describe({fault.call, fault.nth}) << " on " << fault.path;
}

class FailureIsNamed : public testing::TestWithParam<NamedFault> {};

TEST_P(FailureIsNamed, EndsTheRunWithStatus3) {
    const NamedFault& fault = GetParam();
    MemoryFileSystem fileSystem;
    PrepareDriverSet(fileSystem);
    fileSystem.FailCall(fault.call, fault.nth, fault.path);
    ScopedFileSystem scoped(fileSystem);
    StageResult run = Stage(fault.switches);
    EXPECT_EQ(run.status, 3);
    EXPECT_TRUE(Mentions(run, std::string(fault.lines) + "\n")) << run.output;
    EXPECT_TRUE(Mentions(run, "DRVstage complete.")) << run.output;
    // Nothing is copied after the failure: beta, unsupported for A, never.
    EXPECT_FALSE(fileSystem.IsFile("/dst/beta/beta.sys"));
    EXPECT_FALSE(fileSystem.IsFile("/dst/beta.sys"));
}

INSTANTIATE_TEST_SUITE_P(
    DrvstageFaults, FailureIsNamed,
    testing::Values(
        // A driver whose information file cannot be read is not taken for one without.
        NamedFault{Call::OpenForReading,
                   "/src/beta/DRVINFO.INI",
                   1,
                   {"/M:A"},
                   "Unable to read file /src/beta/DRVINFO.INI\n/src/beta/DRVINFO.INI: Input/output error"},
        NamedFault{Call::OpenForReading,
                   "/src/alpha/DrvInfo.ini",
                   1,
                   {"/ADS"},
                   "Unable to read file /src/alpha/DrvInfo.ini\n/src/alpha/DrvInfo.ini: Input/output error"},
        // A driver folder that cannot be searched for its information file.
        NamedFault{Call::FindEntries,
                   "/src/beta/*",
                   1,
                   {"/M:A"},
                   "Unable to list directory /src/beta\n/src/beta: Input/output error"},
        NamedFault{Call::FindEntries,
                   "/src/alpha/*",
                   1,
                   {"/ADS"},
                   "Unable to list directory /src/alpha\n/src/alpha: Input/output error"},
        // A source that cannot be searched is neither without a driver set file nor without drivers.
        NamedFault{Call::FindEntries,
                   "/src/*",
                   1,
                   {"/M:A"},
                   "Unable to list directory /src\n/src: Input/output error"},
        NamedFault{Call::FindEntries,
                   "/src/*",
                   1,
                   {"/ADS"},
                   "Unable to list directory /src\n/src: Input/output error"},
        // A destination that cannot be looked for is not taken for a missing one.
        NamedFault{Call::FindEntries,
                   "/dst",
                   1,
                   {"/M:A"},
                   "Unable to remove directory /dst\n/dst: Input/output error"},
        // The driver set file cannot be read: its support list is unknown.
        NamedFault{Call::OpenForReading,
                   "/src/DrvSet.ini",
                   1,
                   {"/M:A"},
                   "Unable to read file /src/DrvSet.ini\n/src/DrvSet.ini: Input/output error"},
        // The destination cannot be emptied or made: the reason names what failed inside it.
        NamedFault{Call::DeleteFile,
                   "/dst/earlier.txt",
                   1,
                   {"/M:A"},
                   "Unable to remove directory /dst\n/dst/earlier.txt: Input/output error"},
        NamedFault{Call::MakeDirectory,
                   "/dst",
                   1,
                   {"/M:A"},
                   "Creating /dst\n\nUnable to create directory /dst\n/dst: Input/output error"},
        NamedFault{Call::MakeDirectory,
                   "/dst/alpha",
                   1,
                   {"/M:A"},
                   "Unable to create directory /dst/alpha\n/dst/alpha: Input/output error"},
        // A copy that cannot take its name, and driver files that cannot be rewritten on a full disk: only
        // the rewrites are synced, the driver's first, the driver set file's second.
        NamedFault{Call::RenameFile,
                   "/dst/alpha/alpha.sys",
                   1,
                   {"/M:A"},
                   "Unable to copy file /src/alpha/alpha.sys to /dst/alpha/alpha.sys\n"
                   "/dst/alpha/alpha.sys: Input/output error"},
        NamedFault{
            Call::Sync,
            "",
            1,
            {"/M:A"},
            "Unable to write file /dst/alpha/DrvInfo.ini\n/dst/alpha/DrvInfo.ini: No space left on device"},
        NamedFault{Call::Sync,
                   "",
                   2,
                   {"/M:A"},
                   "Unable to write file /dst/DrvSet.ini\n/dst/DrvSet.ini: No space left on device"}));

// The copied information file can be read, but looking for it fails after the copy: its values are kept
// when it is narrowed. (The first search for it is the copy's own.)
TEST(DrvstageFaults, NarrowingKeepsTheValuesOfAFileThatCouldNotBeLookedFor) {
    MemoryFileSystem fileSystem;
    PrepareDriverSet(fileSystem);
    fileSystem.FailCall(Call::FindEntries, 2, "/dst/alpha/DrvInfo.ini");
    ScopedFileSystem scoped(fileSystem);
    StageResult run = Stage({"/M:A"});
    EXPECT_EQ(run.status, 0) << run.output;
    std::string alpha = fileSystem.Content("/dst/alpha/DrvInfo.ini");
    EXPECT_NE(alpha.find("Supported Systems = A\n"), std::string::npos) << alpha;
    EXPECT_NE(alpha.find("Category = Net\n"), std::string::npos) << alpha;
    EXPECT_NE(alpha.find("Required For ADS = True\n"), std::string::npos) << alpha;
}

} // namespace
