#include "DriverSetFixture.h"

namespace {

using Staging = DriverSetTest;

TEST_F(Staging, DefaultOutputOfASmallRun) {
    AddDriverSetFile("x,y");
    AddDriver("a", "Supported Systems = x\n");
    ProgramResult run = Stage({"/M:x"});
    EXPECT_EQ(run.status, 0);
    std::string source = Shown(Source());
    std::string destination = Shown(Destination());
    std::string sourceDriver = Joined(source, "a");
    std::string destinationDriver = Joined(destination, "a");
    EXPECT_EQ(run.out, "\nTorvik (R) DRVstage version 1.30\n\nCopyright (C) Torvik. All rights reserved.\n\n"
                       "Device Driver Copy Tool\n\n"
                       "Source Path = " +
                           source + "\nDestination Path = " + destination +
                           "\nMachine Type = x\n\n"
                           "Creating " +
                           destination +
                           "\n\n"
                           "Scanning drivers in " +
                           source +
                           "\n\n"
                           "Copying driver " +
                           sourceDriver +
                           "\n\n"
                           "copy " +
                           Joined(sourceDriver, "DrvInfo.ini") + " -> " +
                           Joined(destinationDriver, "DrvInfo.ini") +
                           "\n\n"
                           "Modifying " +
                           Joined(destinationDriver, "DrvInfo.ini") +
                           "\n\n"
                           "Copying base library files.\n\n"
                           "copy " +
                           Joined(source, "DrvSet.ini") + " -> " + Joined(destination, "DrvSet.ini") +
                           "\n\nModifying " + Joined(destination, "DrvSet.ini") +
                           "\n\n"
                           "DRVstage complete.\n\n");
}

TEST_F(Staging, SelectsByEveryCriterionAndNarrowsTheSupportLists) {
    AddDriverSetFile("x,y,z");
    AddDriver("10-storage", "Description = Array controller\nCategory = Storage\nInstallation Mode = Setup\n"
                            "Supported Systems = x,y\nTime Delay After = 5\n");
    AddDriver("20-other-type", "Category = Storage\nInstallation Mode = Setup\nSupported Systems = x\n");
    AddDriver("30-video", "Category = Video\nInstallation Mode = Setup\n");
    AddDriver("40-gui", "Category = storage\nInstallation Mode = GUI\n");
    AddDriver("50-not-z", "Category = STORAGE\nInstallation Mode = setup\nUnsupported Systems = z\n");
    AddDriver("60-everywhere", "Category = Storage\nInstallation Mode = Setup\nSupported Systems = All\n");
    dir_.Write("set/10-storage/bin/nested/payload.bin", std::string(70000, 'p'));
    dir_.Write("set/10-storage/empty.cat", "");
    dir_.Write("set/readme.txt", "top file");
    std::string everywhere = Read("set/60-everywhere/DrvInfo.ini");

    ProgramResult run = Stage({"/M:z,y", "/C:Network, storage", "/I:SETUP"});
    ASSERT_EQ(run.status, 0) << run.out;
    EXPECT_TRUE(Exists("out/10-storage/bin/nested/payload.bin"));
    EXPECT_EQ(Read("out/10-storage/bin/nested/payload.bin"), std::string(70000, 'p'));
    EXPECT_TRUE(Exists("out/10-storage/empty.cat"));
    EXPECT_EQ(Read("out/10-storage/empty.cat"), "");
    EXPECT_FALSE(Exists("out/20-other-type")) << "supports neither y nor z";
    EXPECT_FALSE(Exists("out/30-video")) << "category";
    EXPECT_FALSE(Exists("out/40-gui")) << "installation mode";
    EXPECT_TRUE(Exists("out/50-not-z"));
    EXPECT_TRUE(Exists("out/60-everywhere"));
    EXPECT_EQ(Read("out/readme.txt"), "top file");

    EXPECT_TRUE(HasLine("out/10-storage/DrvInfo.ini", "Supported Systems = y"));
    EXPECT_TRUE(HasLine("out/10-storage/DrvInfo.ini", "Unsupported Systems ="));
    EXPECT_TRUE(HasLine("out/10-storage/DrvInfo.ini", "Description = Array controller"));
    EXPECT_TRUE(HasLine("out/10-storage/DrvInfo.ini", "Time Delay After = 5"));
    EXPECT_TRUE(HasLine("out/50-not-z/DrvInfo.ini", "Supported Systems ="));
    EXPECT_TRUE(HasLine("out/50-not-z/DrvInfo.ini", "Unsupported Systems = z"));
    EXPECT_EQ(Read("out/60-everywhere/DrvInfo.ini"), everywhere) << "\"All\" is left as it was";
    EXPECT_TRUE(HasLine("out/DrvSet.ini", "Supported Systems = y,z"));
    EXPECT_TRUE(HasLine("set/10-storage/DrvInfo.ini", "Supported Systems = x,y"))
        << "the source is untouched";
}

TEST_F(Staging, AllMachineTypesKeepTheFilesAsTheyAre) {
    AddDriverSetFile("x");
    AddDriver("a", "Supported Systems = x\n");
    AddDriver("b", "Supported Systems = NONE\n");
    // "All" is no machine type of its own: the driver set's list does not have to name it.
    for (const std::vector<std::string>& switches : {std::vector<std::string>{}, {"/M:All"}}) {
        dir_.Write("out/stale/old.txt", "old");
        ProgramResult run = Stage(switches);
        EXPECT_EQ(run.status, 0) << run.out;
        EXPECT_NE(run.out.find("Removing " + Shown(Destination()) + "\n\n"), std::string::npos);
        EXPECT_FALSE(Exists("out/stale")) << "the destination is emptied first";
        EXPECT_EQ(Read("out/a/DrvInfo.ini"), Read("set/a/DrvInfo.ini"));
        EXPECT_FALSE(Exists("out/b"));
        EXPECT_EQ(Read("out/DrvSet.ini"), Read("set/DrvSet.ini"));
    }
}

TEST_F(Staging, FolderWithoutDriverFileIsCopiedAsItIs) {
    AddDriverSetFile("");
    dir_.Write("set/tools/tool.exe", "tool");
    ProgramResult run = Stage({"/M:x"});
    EXPECT_EQ(run.status, 0) << run.out;
    EXPECT_EQ(Read("out/tools/tool.exe"), "tool");
    EXPECT_FALSE(Exists("out/tools/DrvInfo.ini"));
    EXPECT_TRUE(HasLine("out/DrvSet.ini", "Supported Systems = x"));
}

// Driver sets come from Windows media: any letter case, and lines ending in CR LF.
TEST_F(Staging, ReadsDriverSetsFromWindowsMedia) {
    dir_.Write("set/DRVSET.INI", "[Main]\r\nSupported Systems = x,y\r\n");
    dir_.Write("set/a/drvinfo.ini", "[Driver Information]\r\nSupported Systems = x,y\r\n");
    ProgramResult run = Stage({"/M:y"});
    ASSERT_EQ(run.status, 0) << run.out;
    EXPECT_TRUE(HasLine("out/a/drvinfo.ini", "Supported Systems = y"));
    EXPECT_TRUE(HasLine("out/DRVSET.INI", "Supported Systems = y"));
    EXPECT_EQ(Names("out"), (std::vector<std::string>{"DRVSET.INI", "a"})) << "no second driver set file";
    EXPECT_EQ(Names("out/a"), (std::vector<std::string>{"drvinfo.ini"}));
}

TEST_F(Staging, LinkedDestinationIsReplacedNotEmptied) {
    if (TestingWindowsBuild())
        GTEST_SKIP() << "links are followed transparently under Wine";
    AddDriverSetFile("");
    AddDriver("a", "");
    dir_.Write("elsewhere/keep.txt", "keep");
    std::filesystem::create_directory_symlink(dir_.Path() / "elsewhere", dir_.Path() / "out");
    ProgramResult run = Stage({});
    EXPECT_EQ(run.status, 0) << run.out;
    EXPECT_EQ(Read("elsewhere/keep.txt"), "keep");
    EXPECT_FALSE(std::filesystem::is_symlink(dir_.Path() / "out"));
    EXPECT_TRUE(Exists("out/a/DrvInfo.ini"));
    EXPECT_FALSE(Exists("elsewhere/a"));
}

TEST_F(Staging, NothingToStage) {
    AddDriver("a", "");
    ProgramResult run = Stage({"/M:x"});
    EXPECT_EQ(run.status, 6);
    EXPECT_NE(run.out.find("\nFile not found:  " + Shown(Joined(Source(), "DrvSet.ini")) + "\n"),
              std::string::npos);
    EXPECT_NE(run.out.find("\nDevice driver copy canceled.\n"), std::string::npos);
    EXPECT_FALSE(Exists("out"));

    std::filesystem::remove_all(dir_ / "set/a");
    AddDriverSetFile("");
    dir_.Write("out/old.txt", "old");
    run = Stage({});
    EXPECT_EQ(run.status, 6);
    EXPECT_NE(run.out.find("\nNo drivers found in " + Shown(Source()) + "\n"), std::string::npos);
    EXPECT_TRUE(std::filesystem::is_directory(dir_ / "out")) << "recreated before the folders are listed";
    EXPECT_FALSE(Exists("out/old.txt"));
    EXPECT_FALSE(Exists("out/DrvSet.ini")) << "the top files are not copied after a failure";
}

TEST_F(Staging, UnsupportedMachineTypeLeavesTheDestinationAlone) {
    AddDriverSetFile("8840,8841");
    AddDriver("a", "");
    dir_.Write("out/keep.txt", "keep");
    ProgramResult run = Stage({"/M:8840,9999,0001"});
    EXPECT_EQ(run.status, 4);
    EXPECT_NE(run.out.find("The machine type '0001' is not supported by this device driver set.\n"
                           "The machine type '9999' is not supported by this device driver set.\n"
                           "\nDevice driver copy canceled.\n"),
              std::string::npos)
        << run.out;
    EXPECT_EQ(Read("out/keep.txt"), "keep");
    EXPECT_FALSE(Exists("out/a"));
}

} // namespace
