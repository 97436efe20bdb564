// Each program is killed at every call of a whole run that can leave a file in a new state (one run per
// call: the nth write, the nth rename, ...). After each kill the inputs must be as they were, every file
// under a real name whole, and the next run must give the result of a whole run, with no temporary file
// of the killed run left.
#include "RunJudge.h"
#include "TmpfsVolume.h"
#include "TracedRun.h"
#include "TreeSnapshot.h"
#include "TrustCases.h"

#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <memory>

namespace fs = std::filesystem;

namespace {

struct KillCase {
    Scenario scenario;
    bool onSmallVolume = false; // a tmpfs of 16 MiB, where stagedesk takes its source for CDs
};

// The scenario's name in gtest's messages, not the bytes of the case.
void PrintTo(const KillCase& row, std::ostream* out) {
    *out << row.scenario.name;
}

struct SweepFigures {
    std::map<std::string, int> kills; // kill points tried, by call
    int killed = 0;                   // runs that the kill ended (the others ran to their end)
    int temporaries = 0;              // files without a real name that killed runs left
};

std::string Describe(const std::string& name, const SweepFigures& figures, const Findings& findings) {
    int tried = 0;
    std::string byCall;
    for (const auto& [call, count] : figures.kills) {
        tried += count;
        byCall += (byCall.empty() ? "" : ", ") + call + " " + std::to_string(count);
    }
    return "kill sweep " + name + ": " + std::to_string(tried) + " kills tried (" + byCall + "), " +
           std::to_string(figures.killed) + " killed, " + std::to_string(findings.filesChecked) +
           " files checked, " + std::to_string(figures.temporaries) + " temporary files left by kills, " +
           std::to_string(findings.problems.size()) + " problems";
}

std::string Ending(const ProgramResult& run) {
    const std::string output = run.out + run.err;
    return ", status " + std::to_string(run.status) + ", output ending\n" +
           output.substr(output.size() > 600 ? output.size() - 600 : 0);
}

class KillSweep : public testing::TestWithParam<KillCase> {};

TEST_P(KillSweep, EveryKillLeavesWholeFilesAndTheNextRunRecovers) {
    const std::string unavailable = WhyTracingIsUnavailable();
    if (!unavailable.empty())
        GTEST_SKIP() << unavailable;
    const Scenario& scenario = GetParam().scenario;
    TempDir dir;
    fs::path root = dir.Path() / "run";
    std::unique_ptr<TmpfsVolume> volume;
    if (GetParam().onSmallVolume) {
        volume = std::make_unique<TmpfsVolume>(dir.Path() / "volume", size_t(16) << 20);
        if (!volume->WhyNotMounted().empty())
            GTEST_SKIP() << volume->WhyNotMounted();
        root = volume->Folder();
    }
    fs::create_directories(root);
    scenario.prepare(root);
    ASSERT_FALSE(HasFatalFailure());
    const Command command = scenario.command(root);

    ReferenceTrees references;
    references.before = SnapshotTree(root);
    ProgramResult whole = RunPlain(command);
    ASSERT_EQ(whole.status, 0) << whole.out << whole.err;
    references.after = SnapshotTree(root);
    ProgramResult second = RunPlain(command);
    ASSERT_EQ(second.status, 0) << second.out << second.err;
    references.afterTwo = SnapshotTree(root);
    const TreeSnapshot before = references.before;
    const RunJudge judge(scenario, std::move(references));

    RestoreTree(root, before);
    SweepFigures figures;
    figures.kills = CountCalls(command, (dir.Path() / "calls.log").string());
    ASSERT_FALSE(figures.kills.empty()) << "strace counted no calls of the run";
    Findings findings;
    for (const auto& [call, count] : figures.kills) {
        for (int n = 1; n <= count; ++n) {
            RestoreTree(root, before);
            const std::string when = "killed at " + call + " #" + std::to_string(n);
            ProgramResult cut = RunKilledAt(command, call, n);
            const TreeSnapshot left = SnapshotTree(root);
            if (cut.status == -1)
                ++figures.killed;
            else if (cut.status != 0)
                findings.Add(when, "the call was not reached and the run failed", Ending(cut));
            judge.CheckCutShort(when, left, findings);
            figures.temporaries += int(judge.Temporaries(left).size());

            ProgramResult next = RunPlain(command);
            if (next.status != 0)
                findings.Add(when, "the next run failed", Ending(next));
            judge.CheckRecovered(when + ", then a whole run", left, SnapshotTree(root), findings);
        }
    }
    PrintFigures(Describe(scenario.name, figures, findings));
    EXPECT_GT(figures.killed, 0) << "no run was killed";
    EXPECT_TRUE(findings.problems.empty()) << findings.Summary();
}

std::vector<KillCase> KillCases() {
    std::vector<KillCase> cases = {{ArrayplanOverExistingOutputs()},
                                   {DrvstageOverAnEarlierStaging()},
                                   {DrvstageOnOneThreadOverAnEarlierStaging()},
                                   {DrvstageAdsIntoAFilledDestination()},
                                   {DrvstageUpdateOfAnOlderStaging()}};
#ifdef KIT_TRUST_STAGEDESK
    cases.push_back({StagedeskUtilityOverAnEarlierCopy()});
    cases.push_back({StagedeskTwoDiscsSavingTheItemFile(false), true});
#endif
    return cases;
}

INSTANTIATE_TEST_SUITE_P(Programs, KillSweep, testing::ValuesIn(KillCases()), ScenarioName());

} // namespace
