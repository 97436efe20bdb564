// Two runs at once in one process, each on its own console and file system: each prints and writes exactly
// what it does when it runs alone.
#include "arrayplan/frontend/ARRAYPLANSupport.h"
#include "foundation/Console.h"
#include "foundation/platform/FileSystem.h"
#include "support/MemoryFileSystem.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

namespace {

struct RunResult {
    int status = -1;
    std::string out;
    std::string err;
    std::string inventory; // the output inventory written
};

// One run of example inputs (inventory and policies of examples/arrayplan) into its own output folder.
class ExampleRun {
public:
    ExampleRun(const TempDir& dir, const std::string& name, const std::string& inventory,
               const std::string& policies)
        : output_(dir / name) {
        const std::string examples = KIT_SOURCE_DIR "/examples/arrayplan/";
        arguments_ = {"arrayplan",
                      "/ini:" + examples + inventory,
                      "/inp:" + examples + policies,
                      "/outi:" + output_ + "/inventory.ini",
                      "/outp:" + output_ + "/policies.ini",
                      "/raid:" KIT_SOURCE_DIR "/data/raid/"};
    }

    // Runs on a console of its own, from an empty output folder.
    RunResult run() const {
        std::filesystem::remove_all(output_);
        std::filesystem::create_directories(output_);
        std::vector<const char*> argv;
        for (const std::string& argument : arguments_)
            argv.push_back(argument.c_str());
        RunResult result;
        Console console;
        console.Capture(&result.out, &result.err);
        result.status =
            ARRAYPLANSupport(console, NativeFileSystem()).run(static_cast<int>(argv.size()), argv.data());
        result.inventory = ReadWholeFile(output_ + "/inventory.ini");
        return result;
    }

private:
    std::string output_;
    std::vector<std::string> arguments_;
};

void expectSameRun(const RunResult& alone, const RunResult& together, const char* name) {
    EXPECT_EQ(together.status, alone.status) << name;
    EXPECT_EQ(together.out, alone.out) << name;
    EXPECT_EQ(together.err, alone.err) << name;
    EXPECT_EQ(together.inventory, alone.inventory) << name;
}

TEST(ConcurrentRuns, TwoRunsOnTwoThreadsGiveWhatEachGivesAlone) {
    TempDir dir;
    const ExampleRun small(dir, "small", "inventory.ini", "policies.ini");
    const ExampleRun rack(dir, "rack", "rack-inventory.ini", "rack-policies.ini");
    const RunResult smallAlone = small.run();
    const RunResult rackAlone = rack.run();
    // Both runs succeed and differ, so that output crossing from one into the other would show.
    ASSERT_EQ(smallAlone.status, 0) << smallAlone.out;
    ASSERT_EQ(rackAlone.status, 0) << rackAlone.out;
    ASSERT_NE(smallAlone.out, rackAlone.out);
    ASSERT_NE(smallAlone.inventory, rackAlone.inventory);

    // Several rounds, so that the two runs' steps overlap in different places.
    for (int round = 0; round < 10; ++round) {
        RunResult smallTogether;
        RunResult rackTogether;
        std::thread first([&] { smallTogether = small.run(); });
        std::thread second([&] { rackTogether = rack.run(); });
        first.join();
        second.join();
        expectSameRun(smallAlone, smallTogether, "small");
        expectSameRun(rackAlone, rackTogether, "rack");
    }
}

// The example's inputs and the kit's support files in a memory file system, with an empty output folder.
void loadExample(MemoryFileSystem& files, const std::string& inventory, const std::string& policies) {
    namespace fs = std::filesystem;
    auto read = [](const fs::path& path) {
        std::ostringstream content;
        content << std::ifstream(path, std::ios::binary).rdbuf();
        return content.str();
    };
    const fs::path root(KIT_SOURCE_DIR);
    files.AddFile("/in/inventory.ini", read(root / "examples/arrayplan" / inventory));
    files.AddFile("/in/policies.ini", read(root / "examples/arrayplan" / policies));
    for (const fs::directory_entry& entry : fs::directory_iterator(root / "data/raid"))
        files.AddFile("/raid/" + entry.path().filename().string(), read(entry.path()));
    files.AddDirectory("/out");
}

RunResult runInMemory(MemoryFileSystem& files) {
    const char* argv[] = {"arrayplan",
                          "/ini:/in/inventory.ini",
                          "/inp:/in/policies.ini",
                          "/outi:/out/inventory.ini",
                          "/outp:/out/policies.ini",
                          "/raid:/raid/"};
    RunResult result;
    Console console;
    console.Capture(&result.out, &result.err);
    result.status = ARRAYPLANSupport(console, files).run(6, argv);
    result.inventory = files.Content("/out/inventory.ini");
    return result;
}

// Every file the run reads or replaces, the support files and the policy file included, is on the file
// system it was given; the process-wide one (the disk, where none of these paths exist) is never asked.
TEST(ConcurrentRuns, EachRunReadsAndWritesOnlyItsOwnFileSystem) {
    TempDir dir;
    const RunResult smallOnDisk = ExampleRun(dir, "small", "inventory.ini", "policies.ini").run();
    const RunResult rackOnDisk = ExampleRun(dir, "rack", "rack-inventory.ini", "rack-policies.ini").run();
    MemoryFileSystem smallFiles;
    MemoryFileSystem rackFiles;
    loadExample(smallFiles, "inventory.ini", "policies.ini");
    loadExample(rackFiles, "rack-inventory.ini", "rack-policies.ini");
    ASSERT_FALSE(std::filesystem::exists("/in/inventory.ini"));

    RunResult small;
    RunResult rack;
    std::thread first([&] { small = runInMemory(smallFiles); });
    std::thread second([&] { rack = runInMemory(rackFiles); });
    first.join();
    second.join();
    EXPECT_EQ(small.status, 0) << small.out;
    EXPECT_EQ(rack.status, 0) << rack.out;
    EXPECT_EQ(small.inventory, smallOnDisk.inventory);
    EXPECT_EQ(rack.inventory, rackOnDisk.inventory);
    EXPECT_NE(smallFiles.Content("/out/policies.ini"), "");
    EXPECT_NE(rackFiles.Content("/out/policies.ini"), "");
    EXPECT_FALSE(std::filesystem::exists("/out/inventory.ini"));
}

} // namespace
