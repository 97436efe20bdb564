// The console's manifests end to end: the built program copies, checks and resumes on a copy of the
// sample kit, with sha256sum and a kill by strace as the outside witnesses.
#include "support/RunProgram.h"
#include "support/TempDir.h"

#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <map>
#include <sstream>

namespace fs = std::filesystem;

namespace {

const std::vector<std::string> kRaidUtility = {
    "--task",   "utilities",          "--item", "Sample RAID Utility",
    "--source", "kit/media/raidutil", "--dest", "RAIDUTIL"};

bool Has(const ProgramResult& result, const std::string& text) {
    return result.out.find(text) != std::string::npos;
}

// Every file below root with its bytes.
std::map<std::string, std::string> Tree(const fs::path& root) {
    std::map<std::string, std::string> files;
    for (const auto& entry : fs::recursive_directory_iterator(root)) {
        if (!entry.is_regular_file())
            continue;
        std::ifstream in(entry.path(), std::ios::binary);
        std::ostringstream bytes;
        bytes << in.rdbuf();
        files[fs::relative(entry.path(), root).string()] = bytes.str();
    }
    return files;
}

class ConsoleKit : public testing::Test {
protected:
    void SetUp() override { MakeKit(dir.Path()); }
    // The sample kit with a larger RAID utility: 60 files in 6 folders.
    static void MakeKit(const fs::path& at) {
        fs::copy(fs::path(KIT_SOURCE_DIR) / "examples/kit", at / "kit", fs::copy_options::recursive);
        for (int i = 0; i < 60; ++i) {
            const fs::path folder = at / "kit/media/raidutil/utils" / ("d" + std::to_string(i % 6));
            fs::create_directories(folder);
            std::ofstream(folder / ("f" + std::to_string(i) + ".bin"), std::ios::binary)
                << std::string(size_t(1000 + 997 * i), char('a' + i % 26));
        }
    }
    ProgramResult Run(std::vector<std::string> args, const fs::path& in, const std::string& input = "") {
        args.insert(args.begin(), {"--console", "--home", "kit/stagedesk"});
        return RunProgram(BuiltProgram("stagedesk"), args, in.string(), input);
    }
    ProgramResult Run(std::vector<std::string> args, const std::string& input = "") {
        return Run(std::move(args), dir.Path(), input);
    }
    std::vector<std::string> Verify(std::vector<std::string> extra = {}) {
        extra.insert(extra.begin(), "--verify");
        return extra;
    }

    TempDir dir;
};

TEST_F(ConsoleKit, ACopysManifestIsAcceptedBySha256sumAndOneChangedByteMakesVerifyFail) {
    ASSERT_EQ(Run(kRaidUtility).status, 0);
    ProgramResult checked =
        RunProgram("/bin/sh", {"-c", "cd kit/utils/RAIDUTIL && sha256sum -c --quiet ../RAIDUTIL.sha256"},
                   dir.Path().string());
    EXPECT_EQ(checked.status, 0) << checked.out << checked.err;
    EXPECT_NE(dir.Read("kit/utils/RAIDUTIL.sha256").find("  d3/f9.bin\n"), std::string::npos);

    ProgramResult same = Run(Verify());
    EXPECT_EQ(same.status, 0) << same.out;
    EXPECT_TRUE(Has(same, "RAIDUTIL: all 62 files match\n")) << same.out;
    EXPECT_TRUE(Has(same, "All items match their manifests (1 checked).\n"));

    {
        std::fstream file(dir.Path() / "kit/utils/RAIDUTIL/d3/f9.bin",
                          std::ios::in | std::ios::out | std::ios::binary);
        file.seekp(100);
        file.put('#');
    }
    ProgramResult changed = Run(Verify({"--task", "utilities", "--dest", "RAIDUTIL"}));
    EXPECT_EQ(changed.status, 4) << changed.out;
    EXPECT_TRUE(Has(changed, "RAIDUTIL: 1 changed, 0 missing, 0 added\n  changed: d3/f9.bin\n"))
        << changed.out;
    EXPECT_TRUE(Has(changed, "1 of 1 items differ from their manifests.\n"));

    ProgramResult none = Run(Verify({"--task", "os", "--dest", "W2K3"}));
    EXPECT_EQ(none.status, 2) << none.out;
    EXPECT_TRUE(Has(none, "No manifest was found for ")) << none.out;
    EXPECT_EQ(Run(Verify({"--task", "os"})).status, 2);
}

TEST_F(ConsoleKit, ARefusedDiscPrintsTheRuleAfterTheQuestion) {
    ProgramResult refused = Run({"--task", "utilities", "--item", "Sample RAID Utility", "--source",
                                 "kit/media/drvpack", "--dest", "RAIDUTL2"});
    EXPECT_EQ(refused.status, 3);
    EXPECT_TRUE(Has(refused, "Please insert Sample RAID Utility CD disc 1\nRule: "
                             "//cd/media[@number=1]/validation/file[1]: a file that must be present\nFile: "))
        << refused.out;
    EXPECT_TRUE(Has(refused, "\nExpected: a file matching \"RAIDCFG.EXE\"\nFound: no such file in "));
}

TEST_F(ConsoleKit, ACopyKilledMidwayAndResumedEqualsAnUninterruptedCopy) {
    if (!fs::exists("/usr/bin/strace"))
        GTEST_SKIP() << "/usr/bin/strace is not installed (scripts/install-deps installs strace)";
    TempDir reference;
    MakeKit(reference.Path());
    ASSERT_EQ(Run(kRaidUtility, reference.Path()).status, 0);
    const auto expected = Tree(reference.Path() / "kit/utils/RAIDUTIL");
    const std::string expectedManifest = reference.Read("kit/utils/RAIDUTIL.sha256");

    // Copied files are put in place with renameat2 and manifests saved with rename, and strace counts
    // each call apart: kills amid the files, and one at the partial manifest saved after the last file.
    struct KillPoint {
        std::string call;
        int nth;
    };
    const std::vector<KillPoint> killPoints = {
        {"renameat2", 2}, {"renameat2", 5}, {"renameat2", 20}, {"renameat2", 45}, {"rename", 8}};
    bool keptAny = false;
    for (const KillPoint& point : killPoints) {
        const std::string killAt = point.call + " " + std::to_string(point.nth);
        TempDir run;
        MakeKit(run.Path());
        std::vector<std::string> traced = {"-f",
                                           "-qq",
                                           "-o",
                                           "/dev/null",
                                           "-e",
                                           "inject=" + point.call +
                                               ":signal=KILL:when=" + std::to_string(point.nth),
                                           BuiltProgram("stagedesk"),
                                           "--console",
                                           "--home",
                                           "kit/stagedesk"};
        traced.insert(traced.end(), kRaidUtility.begin(), kRaidUtility.end());
        const ProgramResult killed = RunProgram("/usr/bin/strace", traced, run.Path().string());
        ASSERT_FALSE(Has(killed, "completed successfully")) << "kill at " << killAt << "\n" << killed.out;

        const fs::path kept = run.Path() / "kit/utils/RAIDUTIL/RAIDCFG.EXE";
        struct stat before {};
        const bool hadFirst = ::stat(kept.c_str(), &before) == 0;
        if (fs::exists(run.Path() / "kit/utils/RAIDUTIL")) {
            // Without --resume the question is answered No, then the old question: nothing changes.
            const ProgramResult declined = Run(kRaidUtility, run.Path());
            EXPECT_EQ(declined.status, 3) << declined.out;
            EXPECT_TRUE(Has(declined, "Resume Copy?\n")) << "kill at " << killAt << "\n" << declined.out;
        }
        std::vector<std::string> again = kRaidUtility;
        again.push_back("--resume");
        const ProgramResult finished = Run(again, run.Path());
        ASSERT_EQ(finished.status, 0) << "kill at " << killAt << "\n" << finished.out;
        EXPECT_EQ(Tree(run.Path() / "kit/utils/RAIDUTIL"), expected) << "kill at " << killAt;
        EXPECT_EQ(run.Read("kit/utils/RAIDUTIL.sha256"), expectedManifest) << "kill at " << killAt;
        EXPECT_FALSE(fs::exists(run.Path() / "kit/utils/RAIDUTIL.sha256.partial"));
        struct stat after {};
        if (hadFirst && Has(finished, "Resume it?\nYes\n") && ::stat(kept.c_str(), &after) == 0)
            keptAny = keptAny || after.st_ino == before.st_ino;
    }
    EXPECT_TRUE(keptAny) << "no kill point left a file that the resumed copy kept";
}

} // namespace
