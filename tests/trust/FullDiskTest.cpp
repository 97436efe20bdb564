// Each program runs on a small tmpfs that a filler leaves with 0, 1, 2, ... free pages, until the run has
// room to succeed; so every failing run's writes fail at a later point than the one before. A failed run
// must keep the inputs and every earlier output as they were (an output it completed is the whole new
// file), leave no temporary file, end with a failure status and print a line with the file and the
// system's reason.
#include "RunJudge.h"
#include "TmpfsVolume.h"
#include "TracedRun.h"
#include "TreeSnapshot.h"
#include "TrustCases.h"

#include "support/TempDir.h"

#include <gtest/gtest.h>

namespace fs = std::filesystem;

namespace {

const std::string kReason = "No space left on device";
// Far more than any case needs: the runs write a few tens of pages.
constexpr size_t kMostFreePages = 300;

struct FullDiskCase {
    Scenario scenario;
};

// The scenario's name in gtest's messages, not the bytes of the case.
void PrintTo(const FullDiskCase& row, std::ostream* out) {
    *out << row.scenario.name;
}

// A line with the reason that names an output file, or follows a line that names one.
bool NamesFileAndReason(const std::string& output, const fs::path& root,
                        const std::vector<std::string>& outputs) {
    const std::vector<std::string> lines = Lines(output);
    auto namesOutput = [&](const std::string& line) {
        for (const std::string& relative : outputs) {
            if (line.find((root / relative).string()) != std::string::npos)
                return true;
        }
        return false;
    };
    for (size_t i = 0; i < lines.size(); ++i) {
        if (lines[i].find(kReason) != std::string::npos &&
            (namesOutput(lines[i]) || (i > 0 && namesOutput(lines[i - 1]))))
            return true;
    }
    return false;
}

class FullDisk : public testing::TestWithParam<FullDiskCase> {};

TEST_P(FullDisk, EveryFailedRunKeepsTheFilesAndSaysWhy) {
    if (TestingWindowsBuild())
        GTEST_SKIP() << "the Windows build runs under Wine, which reports full disks its own way";
    const Scenario& scenario = GetParam().scenario;
    TempDir dir;
    TmpfsVolume volume(dir.Path() / "volume", size_t(2) << 20);
    if (!volume.WhyNotMounted().empty())
        GTEST_SKIP() << volume.WhyNotMounted();
    const fs::path root = volume.Folder();
    scenario.prepare(root);
    ASSERT_FALSE(HasFatalFailure());
    const Command command = scenario.command(root);

    ReferenceTrees references;
    references.before = SnapshotTree(root);
    ProgramResult whole = RunPlain(command);
    ASSERT_EQ(whole.status, 0) << whole.out << whole.err;
    references.after = SnapshotTree(root);
    references.afterTwo = references.after;
    const TreeSnapshot before = references.before;
    const RunJudge judge(scenario, std::move(references));
    const std::vector<std::string> outputs = judge.Outputs();

    Findings findings;
    int failed = 0;
    size_t succeededWith = kMostFreePages + 1;
    for (size_t pages = 0; pages <= kMostFreePages; ++pages) {
        RestoreTree(root, before);
        std::string why;
        ASSERT_TRUE(volume.FillLeaving(pages, why)) << why;
        ProgramResult run = RunPlain(command);
        const TreeSnapshot left = SnapshotTree(root);
        volume.RemoveFiller();
        const std::string when = "with " + std::to_string(pages) + " free pages";
        if (run.status == 0) {
            judge.CheckWholeRun(when, left, findings);
            succeededWith = pages;
            break;
        }
        ++failed;
        if (run.status < 0)
            findings.Add(when, "the run ended by a signal");
        judge.CheckCutShort(when, left, findings);
        for (const std::string& temporary : judge.Temporaries(left))
            findings.Add(when, "the failed run left the file " + temporary);
        if (!NamesFileAndReason(run.out + run.err, root, outputs))
            findings.Add(when, "no line names the file and \"" + kReason + "\"",
                         ", status " + std::to_string(run.status) + ", output:\n" + run.out + run.err);
    }
    PrintFigures("full disk " + scenario.name + ": " + std::to_string(failed) + " failing runs (0 to " +
                 std::to_string(failed > 0 ? failed - 1 : 0) + " free pages), first success with " +
                 std::to_string(succeededWith) + " free pages, " + std::to_string(findings.filesChecked) +
                 " files checked, " + std::to_string(findings.problems.size()) + " problems");
    EXPECT_GT(failed, 0) << "the run never ran out of space";
    EXPECT_LE(succeededWith, kMostFreePages) << "the run never succeeded";
    EXPECT_TRUE(findings.problems.empty()) << findings.Summary();
}

std::vector<FullDiskCase> FullDiskCases() {
    std::vector<FullDiskCase> cases = {{ArrayplanOverExistingOutputs()},
                                       {DrvstageIntoANewDestination()},
                                       {DrvstageAdsIntoAFilledDestination()},
                                       {DrvstageUpdateOfAnOlderStaging()}};
#ifdef KIT_TRUST_STAGEDESK
    cases.push_back({StagedeskTwoDiscsSavingTheItemFile(true)});
#endif
    return cases;
}

INSTANTIATE_TEST_SUITE_P(Programs, FullDisk, testing::ValuesIn(FullDiskCases()), ScenarioName());

} // namespace
