// The output files of real arrayplan runs: never one of the inputs, replaced whole, shared safely by runs
// started together, and free of what interrupted runs left.
#include "tests/support/RunProgram.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <string>
#include <thread>
#include <vector>

namespace fs = std::filesystem;

namespace {

std::string sourceText(const std::string& relative) {
    return ReadWholeFile(std::string(KIT_SOURCE_DIR) + "/" + relative);
}

// Every file below folder with its content.
std::map<std::string, std::string> filesBelow(const fs::path& folder) {
    std::map<std::string, std::string> files;
    for (const auto& entry : fs::recursive_directory_iterator(folder)) {
        if (entry.is_regular_file())
            files[fs::relative(entry.path(), folder).generic_string()] = ReadWholeFile(entry.path().string());
    }
    return files;
}

// The example inventory and policies and a copy of the shipped support files, in one folder.
class OutputRun : public testing::Test {
protected:
    OutputRun() {
        dir_.Write("inventory.ini", sourceText("examples/arrayplan/inventory.ini"));
        dir_.Write("policies.ini", sourceText("examples/arrayplan/policies.ini"));
        dir_.CopyIn(std::string(KIT_SOURCE_DIR) + "/data/raid", "raid");
    }

    std::string path(const std::string& name) const { return ProgramPath(dir_ / name); }

    // A run with the folder's inputs; outputs as given, the relative ones taken from the folder.
    ProgramResult run(const std::string& outi, const std::string& outp,
                      const std::string& inp = "policies.ini") {
        return RunProgram(BuiltProgram("arrayplan"),
                          {"/ini:inventory.ini", "/inp:" + ProgramPath(inp), "/outi:" + ProgramPath(outi),
                           "/outp:" + ProgramPath(outp), "/raid:raid"},
                          dir_.Path().string());
    }

    TempDir dir_;
};

// An output that names an input, or the other output, however it is written, is refused before anything
// is written: the inputs stay byte for byte and no output appears.
TEST_F(OutputRun, OutputNamingAnInputOrTheOtherOutputIsRefused) {
    fs::create_hard_link(dir_ / "inventory.ini", dir_ / "hard-inventory.ini");
    fs::create_symlink(dir_ / "raid/Vaultix-Q4.ini", dir_ / "support-link.ini");
    struct Case {
        std::string outi;
        std::string outp;
        int status;
        std::string message;
    };
    const Case cases[] = {
        {"./inventory.ini", "p.ini", 13,
         "/outi:" + ProgramPath("./inventory.ini") + " is the file of /ini:inventory.ini"},
        {"o.ini", dir_ / "policies.ini", 15,
         "/outp:" + ProgramPath(dir_ / "policies.ini") + " is the file of /inp:policies.ini"},
        {"POLICIES.INI", "p.ini", 13, "/outi:POLICIES.INI is the file of /inp:policies.ini"},
        {"o.ini", "hard-inventory.ini", 15, "/outp:hard-inventory.ini is the file of /ini:inventory.ini"},
        {"support-link.ini", "p.ini", 13,
         "/outi:support-link.ini is the support file raid\\Vaultix-Q4.ini of /raid:"},
        {"same.ini", "./same.ini", 13, "/outi:same.ini is the file of /outp:" + ProgramPath("./same.ini")},
    };
    const std::map<std::string, std::string> before = filesBelow(dir_.Path());
    for (const Case& c : cases) {
        ProgramResult result = run(c.outi, c.outp);
        EXPECT_EQ(result.status, c.status) << c.outi << " " << c.outp << "\n" << result.out;
        EXPECT_NE(result.out.find("##ERROR\n   " + c.message +
                                  "; an output file must not replace an input or the other output.\n"),
                  std::string::npos)
            << result.out;
        EXPECT_EQ(result.out.find("Creating KLAMP Configurations"), std::string::npos) << "refused first";
        EXPECT_EQ(filesBelow(dir_.Path()), before) << c.outi << " " << c.outp;
    }
}

// A run removes the temporary files that killed runs left beside its outputs (and, from earlier versions,
// in the support folder), and nothing else.
TEST_F(OutputRun, TemporaryFilesOfInterruptedRunsAreRemoved) {
    dir_.Write("~arrayplan~o.ini~0123abcd.tmp", "[System]\nTotal_Nu");
    dir_.Write("KLAMPM~~p.ini~89abcdef.tmp", "[Policy.AUTO-Vaul");
    dir_.Write("raid/KLAMPM~~0A1B2C3D.TMP", "[Policy.AUTO-Vaul");
    dir_.Write("KLAMPM~~other.ini~0123abcd.tmp", "another output's");
    dir_.Write("raid/KLAMPM~~.TMP", "a debug run's, named by the user");
    ProgramResult result = run("o.ini", "p.ini");
    ASSERT_EQ(result.status, 0) << result.out;
    std::set<std::string> names;
    for (const auto& [name, content] : filesBelow(dir_.Path()))
        names.insert(name);
    for (const char* gone :
         {"~arrayplan~o.ini~0123abcd.tmp", "KLAMPM~~p.ini~89abcdef.tmp", "raid/KLAMPM~~0A1B2C3D.TMP"})
        EXPECT_EQ(names.count(gone), 0u) << gone;
    for (const char* kept : {"KLAMPM~~other.ini~0123abcd.tmp", "raid/KLAMPM~~.TMP", "o.ini", "p.ini"})
        EXPECT_EQ(names.count(kept), 1u) << kept;
}

// A support folder that takes no new file is no obstacle: nothing is written there.
TEST_F(OutputRun, ReadOnlySupportFolderIsEnough) {
    if (TestingWindowsBuild())
        GTEST_SKIP() << "folder permissions of this machine do not bind the Windows build";
    fs::permissions(dir_ / "raid", fs::perms::owner_read | fs::perms::owner_exec);
    bool writable = static_cast<bool>(std::ofstream(dir_ / "raid/probe"));
    if (writable) {
        fs::permissions(dir_ / "raid", fs::perms::owner_all);
        GTEST_SKIP() << "this user writes into read-only folders (root)";
    }
    ProgramResult result = run("o.ini", "p.ini");
    fs::permissions(dir_ / "raid", fs::perms::owner_all);
    EXPECT_EQ(result.status, 0) << result.out;
}

// Ten runs started together on one output policy file: each reads, checks and writes it in turn, so every
// policy is there once, no name is given out twice, and the file reads back whole.
TEST_F(OutputRun, TenRunsSharingOneOutputPolicyFile) {
    constexpr int kRuns = 10;
    std::vector<ProgramResult> results(kRuns);
    std::vector<std::thread> runs;
    for (int i = 0; i < kRuns; ++i)
        runs.emplace_back([&, i] { results[i] = run("o" + std::to_string(i) + ".ini", "shared.ini"); });
    for (std::thread& t : runs)
        t.join();
    for (const ProgramResult& result : results)
        ASSERT_EQ(result.status, 0) << result.out;

    std::string policies = ReadProgramText(dir_ / "shared.ini");
    static const std::regex declaration(R"(^\[(Policy\.[^\]]+)\]$)", std::regex::multiline);
    std::multiset<std::string> names;
    for (auto it = std::sregex_iterator(policies.begin(), policies.end(), declaration);
         it != std::sregex_iterator(); ++it)
        names.insert((*it)[1]);
    std::multiset<std::string> expected;
    for (int n = 1; n <= kRuns; ++n) {
        expected.insert("Policy.AUTO-Vaultix-Q4-" + std::to_string(n));
        expected.insert("Policy.AUTO-Vaultix-M1-" + std::to_string(n));
    }
    EXPECT_EQ(names, expected);

    fs::copy_file(dir_ / "shared.ini", dir_ / "read-back.ini");
    ProgramResult readBack = run("o.ini", "p.ini", "read-back.ini");
    EXPECT_EQ(readBack.status, 0) << readBack.out;
    for (const auto& [name, content] : filesBelow(dir_.Path()))
        EXPECT_EQ(name.find(".tmp"), std::string::npos) << name;
}

// A serial number too long for a policy line: the run fails with 16 and names the controller and the
// line; the output policy file stays as it was, readable by the next run.
TEST_F(OutputRun, GeneratedLineTooLongForTheReaderFailsWithCode16) {
    std::string inventory = sourceText("examples/arrayplan/inventory.ini");
    inventory.replace(inventory.find("KQ4711X"), 7, std::string(230, 'K'));
    dir_.Write("inventory.ini", inventory);
    const std::string existing = "[Policy.Earlier]\nAppliesTo.1 = t:Vaultix-Q1\n";
    dir_.Write("p.ini", existing);
    ProgramResult result = run("o.ini", "p.ini");
    EXPECT_EQ(result.status, 16) << result.out;
    EXPECT_NE(
        result.out.find("Controller 1 (Vaultix-Q4) -- Generated policy line longer than 254 characters:  "
                        "; * System serial number:     KKKK"),
        std::string::npos)
        << result.out;
    EXPECT_EQ(ReadWholeFile(dir_ / "p.ini"), existing);
}

} // namespace
