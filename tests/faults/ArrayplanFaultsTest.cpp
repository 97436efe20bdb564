// arrayplan on the example inventory and policies with each file-system call failing in turn: the run ends
// with the code of the step that failed, and the output files are either complete or as they were before.
#include "FaultSweep.h"
#include "foundation/Console.h"
#include "foundation/platform/FileSystem.h"

#include "arrayplan/frontend/ARRAYPLANSupport.h"
#include "support/ConsoleCapture.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>

namespace {

using Call = MemoryFileSystem::Call;

const char* const kOutInventory = "/out/inventory.ini";
const char* const kOutPolicies = "/out/policies.ini";

std::string ReadSourceFile(const std::filesystem::path& path) {
    std::ostringstream content;
    content << std::ifstream(path, std::ios::binary).rdbuf();
    return content.str();
}

// The example inventory and policies and the kit's support files, in a memory file system.
void LoadExamples(MemoryFileSystem& fileSystem) {
    namespace fs = std::filesystem;
    const fs::path root(KIT_SOURCE_DIR);
    fileSystem.AddFile("/in/inventory.ini", ReadSourceFile(root / "examples/arrayplan/inventory.ini"));
    fileSystem.AddFile("/in/policies.ini", ReadSourceFile(root / "examples/arrayplan/policies.ini"));
    for (const fs::directory_entry& entry : fs::directory_iterator(root / "data/raid")) {
        if (entry.path().extension() == ".ini")
            fileSystem.AddFile("/kit/raid/" + entry.path().filename().string(), ReadSourceFile(entry.path()));
    }
    fileSystem.AddDirectory("/out");
}

struct Run {
    int status = -1;
    std::string output;
};

Run Validate() {
    const char* argv[] = {"arrayplan",
                          "/ini:/in/inventory.ini",
                          "/inp:/in/policies.ini",
                          "/outi:/out/inventory.ini",
                          "/outp:/out/policies.ini",
                          "/raid:/kit/raid"};
    ConsoleCapture console;
    Run run;
    run.status = ARRAYPLANSupport(Console::Instance(), CurrentFileSystem()).run(6, argv);
    run.output = console.Out();
    return run;
}

// The codes a failure may end with, by the last step the run announced before it failed.
std::set<int> CodesOfLastStep(const std::string& output) {
    static const std::vector<std::pair<const char*, std::set<int>>> kSteps = {
        {"Verifying input inventory file:", {12}},
        {"Processing input inventory file ...", {2, 3}},
        {"Verifying input policy file:", {11}},
        {"Processing input policy file ...", {1, 3}}, // the support files are opened after it, silently
        {"Creating KLAMP Configurations ...", {3}},
        {"Verifying output inventory file:", {13}},
        {"Writing output inventory file ...", {14}},
        {"Verifying output policy file:", {15}},
        {"Writing output policy file ...", {16}},
    };
    std::set<int> codes;
    size_t last = 0;
    for (const auto& [line, stepCodes] : kSteps) {
        size_t at = output.rfind(line);
        if (at != std::string::npos && at >= last) {
            last = at;
            codes = stepCodes;
        }
    }
    return codes;
}

// A policy file without the lines that carry the time of the run.
std::string WithoutTimes(const std::string& policies) {
    std::istringstream lines(policies);
    std::string kept;
    for (std::string line; std::getline(lines, line);) {
        if (line.rfind("; * Captured on", 0) != 0 && line.rfind("; * System time", 0) != 0)
            kept += line + "\n";
    }
    return kept;
}

// A temporary file of the run beside an output or in the support folder.
bool HasTemporaryFile(const MemoryFileSystem& fileSystem) {
    for (const char* folder : {"/kit/raid", "/out"}) {
        for (const auto& [name, content] : FilesBelow(fileSystem, folder)) {
            if (name.rfind("KLAMPM~~", 0) == 0 || name.rfind("~arrayplan~", 0) == 0)
                return true;
        }
    }
    return false;
}

// Sweeps a run whose output policy file holds previousPolicies before it (none when empty).
void SweepValidation(const std::string& previousPolicies) {
    auto prepare = [&](MemoryFileSystem& fileSystem) {
        LoadExamples(fileSystem);
        if (!previousPolicies.empty())
            fileSystem.AddFile(kOutPolicies, previousPolicies);
    };
    std::string inventory, policies;
    std::vector<InjectedFault> faults = CallsMadeBy(prepare, [] { ASSERT_EQ(Validate().status, 0); });
    {
        MemoryFileSystem fileSystem;
        prepare(fileSystem);
        ScopedFileSystem scoped(fileSystem);
        ASSERT_EQ(Validate().status, 0);
        inventory = fileSystem.Content(kOutInventory);
        policies = WithoutTimes(fileSystem.Content(kOutPolicies));
    }
    ASSERT_NE(policies, WithoutTimes(previousPolicies));
    for (Call call : {Call::FindEntries, Call::OpenForReading, Call::OpenForWriting, Call::Write, Call::Sync,
                      Call::Close, Call::RenameFile})
        EXPECT_GT(CountOf(faults, call), 0) << "no call of a kind swept";

    for (const InjectedFault& fault : faults) {
        SCOPED_TRACE(Describe(fault));
        MemoryFileSystem fileSystem;
        prepare(fileSystem);
        fileSystem.FailCall(fault.call, fault.nth);
        ScopedFileSystem scoped(fileSystem);
        Run run = Validate();

        if (fault.call != Call::DeleteFile) { // the removal of the temporary file itself may fail
            EXPECT_FALSE(HasTemporaryFile(fileSystem)) << "a temporary file was left";
        }
        if (run.status == 0) {
            EXPECT_EQ(fileSystem.Content(kOutInventory), inventory);
            EXPECT_EQ(WithoutTimes(fileSystem.Content(kOutPolicies)), policies);
            continue;
        }
        std::set<int> codes = CodesOfLastStep(run.output);
        EXPECT_TRUE(codes.count(run.status)) << "status " << run.status << " after\n" << run.output;
        // An output inventory written before a failure of the policy steps stays; otherwise there is none.
        EXPECT_TRUE(!fileSystem.IsFile(kOutInventory) || fileSystem.Content(kOutInventory) == inventory);
        if (previousPolicies.empty())
            EXPECT_FALSE(fileSystem.IsFile(kOutPolicies));
        else
            EXPECT_EQ(fileSystem.Content(kOutPolicies), previousPolicies);
    }
}

TEST(ArrayplanFaults, FirstRunIntoNewOutputFiles) {
    SweepValidation("");
}

TEST(ArrayplanFaults, SecondRunAppendingToAnOutputPolicyFile) {
    std::string firstRun;
    {
        MemoryFileSystem fileSystem;
        LoadExamples(fileSystem);
        ScopedFileSystem scoped(fileSystem);
        ASSERT_EQ(Validate().status, 0);
        firstRun = fileSystem.Content(kOutPolicies);
    }
    SweepValidation(firstRun);
}

} // namespace
