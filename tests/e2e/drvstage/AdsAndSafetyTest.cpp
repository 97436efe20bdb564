#include "DriverSetFixture.h"

namespace {

using AdsCopy = DriverSetTest;
using DangerousDestination = DriverSetTest;

TEST_F(AdsCopy, MergesTaggedDriversIntoTheDestinationRoot) {
    AddDriver("a-first", "Required For ADS = Yes\n");
    dir_.Write("set/a-first/common.sys", "first");
    dir_.Write("set/a-first/sub/only-a.txt", "a");
    AddDriver("b-lower-case", "Required For ADS = yes\n");
    dir_.Write("set/b-lower-case/b.sys", "b");
    AddDriver("c-second", "Required For ADS = True\n");
    dir_.Write("set/c-second/common.sys", "second");
    dir_.Write("out/keep.txt", "keep");

    ProgramResult run = Stage({"/ADS"});
    EXPECT_EQ(run.status, 0) << run.out;
    EXPECT_NE(run.out.find("\nADS Copy = True\n"), std::string::npos);
    EXPECT_EQ(run.out.find("Removing"), std::string::npos);
    EXPECT_EQ(Read("out/keep.txt"), "keep") << "the destination is not emptied";
    EXPECT_EQ(Read("out/common.sys"), "second") << "the later folder wins";
    EXPECT_EQ(Read("out/sub/only-a.txt"), "a");
    EXPECT_FALSE(Exists("out/b.sys"));
    EXPECT_FALSE(Exists("out/a-first"));
    EXPECT_NE(run.out.find("Copying driver " + Shown(Joined(Source(), "c-second")) + "\n"),
              std::string::npos);
}

TEST_F(AdsCopy, NoTaggedDriversIsNoFailure) {
    AddDriver("a", "Required For ADS =\n");
    ProgramResult run = Stage({"/ADS", "/V:5"});
    EXPECT_EQ(run.status, 0);
    EXPECT_NE(run.out.find("The driver is not required for ADS.\n"), std::string::npos);
    EXPECT_NE(run.out.find("There were no drivers tagged for ADS.\n"), std::string::npos);

    std::filesystem::remove_all(dir_ / "set/a");
    run = Stage({"/ADS"});
    EXPECT_EQ(run.status, 6);
    EXPECT_NE(run.out.find("\nNo drivers found in "), std::string::npos);
}

// Each refusal must leave the source exactly as it was.
TEST_F(DangerousDestination, OverlapWithTheSourceIsRefusedInBothModes) {
    AddDriverSetFile("x");
    AddDriver("a", "Required For ADS = Yes\nSupported Systems = x\n");
    dir_.Write("set/a/a.sys", "payload");
    const std::string inside = Joined(Source(), "a");
    for (const std::string& destination : {Source(), inside, dir_.Path().string()}) {
        for (bool ads : {false, true}) {
            ProgramResult run = StageTo(destination, ads ? std::vector<std::string>{"/ADS"}
                                                         : std::vector<std::string>{"/M:x"});
            EXPECT_EQ(run.status, 3) << destination << (ads ? " /ADS" : "");
            EXPECT_NE(run.out.find("The destination path " + Shown(destination) +
                                   " overlaps the source path " + Shown(Source()) + "."),
                      std::string::npos)
                << run.out;
            EXPECT_EQ(Read("set/a/a.sys"), "payload");
            EXPECT_TRUE(HasLine("set/a/DrvInfo.ini", "Supported Systems = x"));
            EXPECT_TRUE(HasLine("set/DrvSet.ini", "Supported Systems = x"));
            EXPECT_FALSE(Exists("set/a.sys")) << "nothing copied onto the source";
        }
    }
}

} // namespace
