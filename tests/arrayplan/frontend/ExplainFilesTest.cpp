// An explained run reads and writes the files that the same run without "/explain" does, and nothing
// else: the trials behind the explanation plan and build in memory only.
#include "arrayplan/frontend/ARRAYPLANSupport.h"
#include "foundation/Console.h"
#include "support/MemoryFileSystem.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <regex>
#include <string>
#include <vector>

namespace {

struct Recorded {
    int status = -1;
    std::string out;
    std::vector<std::string> changes; // every recorded change of the file system, then every path held
    std::string inventory;
};

// Temporary files are named uniquely per run.
std::string withoutUniquePart(const std::string& path) {
    static const std::regex unique("~[0-9a-f]+\\.tmp");
    return std::regex_replace(path, unique, "~.tmp");
}

Recorded runOn(const std::string& policies, bool explain) {
    MemoryFileSystem files;
    ScopedFileSystem scoped(files);
    files.AddFile("/in/inventory.ini", ReadWholeFile(KIT_SOURCE_DIR "/examples/arrayplan/inventory.ini"));
    files.AddFile("/in/policies.ini", policies);
    for (const char* model : {"Vaultix-Q4", "Vaultix-M1"})
        files.AddFile(std::string("/raid/") + model + ".ini",
                      ReadWholeFile(std::string(KIT_SOURCE_DIR "/data/raid/") + model + ".ini"));
    files.AddDirectory("/out");
    std::vector<const char*> argv = {"arrayplan",          "/ini:/in/inventory.ini", "/inp:/in/policies.ini",
                                     "/outi:/out/inv.ini", "/outp:/out/pol.ini",     "/raid:/raid/"};
    if (explain)
        argv.push_back("/explain");
    Recorded recorded;
    Console console;
    console.Capture(&recorded.out, &recorded.out);
    recorded.status = ARRAYPLANSupport(console, files).run(static_cast<int>(argv.size()), argv.data());
    for (const auto* list : {&files.directoriesMade, &files.directoriesRemoved, &files.filesCreated,
                             &files.filesRemoved, &files.renamed})
        for (const std::string& change : *list)
            recorded.changes.push_back(withoutUniquePart(change));
    for (const std::string& path : files.AllPaths())
        recorded.changes.push_back(path);
    recorded.inventory = files.Content("/out/inv.ini");
    return recorded;
}

TEST(ExplainFiles, AnExplainedRunWritesWhatThePlainRunWrites) {
    const std::string examples = ReadWholeFile(KIT_SOURCE_DIR "/examples/arrayplan/policies.ini");
    const std::string failing =
        "[Policy.Spare]\nAppliesTo.1 = t:Vaultix-M1\nArray_Defaults = 0%:1\nArray.A = #4\n"
        "Array.B = #2\nLogical_Mode = CUSTOM\nLogical.1 = A:FILL:10\nLogical.2 = B:FILL:1\n";
    for (const std::string& policies : {examples, failing}) {
        Recorded plain = runOn(policies, false);
        Recorded explained = runOn(policies, true);
        EXPECT_EQ(explained.status, plain.status);
        EXPECT_EQ(explained.changes, plain.changes);
        EXPECT_EQ(explained.inventory, plain.inventory);
        EXPECT_EQ(explained.out.compare(0, plain.out.size(), plain.out), 0) << explained.out;
        EXPECT_NE(explained.out.find("\nExplanation\n", plain.out.size()), std::string::npos);
    }
}

} // namespace
