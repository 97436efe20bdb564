#include "DriverSetFixture.h"

namespace {

using CommandLine = DriverSetTest;

TEST_F(CommandLine, RejectedCommandLinesShowBannerAndUsage) {
    AddDriverSetFile("");
    AddDriver("a", "");
    for (const std::vector<std::string>& switches :
         {std::vector<std::string>{"/ADS", "/C:Network"}, {"/V:03"}, {"/M:a,a"}, {"/V:2", "/V:2"}, {"/?"}}) {
        ProgramResult run = Stage(switches);
        EXPECT_EQ(run.status, 1) << switches.front();
        EXPECT_EQ(run.out.rfind("\nTorvik (R) DRVstage version 1.30\n", 0), 0u) << run.out;
        EXPECT_NE(run.out.find("\nUsage... \n\tDRVstage sourcepath destinationpath [/M:machinetypes] "
                               "[/C:categories]\n\t         [/I:installationmodes] [/V:n]\n\nWhere...\n"),
                  std::string::npos)
            << run.out;
        EXPECT_NE(run.out.find("\t              \t    5 = max\n"), std::string::npos);
        EXPECT_EQ(run.out.find("complete."), std::string::npos);
        EXPECT_FALSE(Exists("out")) << "a rejected run changes nothing";
    }
    ProgramResult bare = RunProgram(BuiltProgram("drvstage"), {});
    EXPECT_EQ(bare.status, 1);
    EXPECT_NE(bare.out.find("Usage... "), std::string::npos);
}

TEST_F(CommandLine, SettingsEchoAndQuietRuns) {
    AddDriverSetFile("");
    AddDriver("a", "Category = Storage\nInstallation Mode = Setup\n");
    ProgramResult run = Stage({"/M:b,a", "/C:Storage,Network", "/I:Setup", "/W:2"});
    EXPECT_EQ(run.status, 0) << run.out;
    std::string echo = "Source Path = " + Shown(Source()) + "\nDestination Path = " + Shown(Destination()) +
                       "\nMachine Types = a,b\nCategories = Storage,Network\nInstallation Mode = Setup\n\n";
    EXPECT_NE(run.out.find(echo), std::string::npos) << run.out;

    run = Stage({"/v:1"});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out.find("Source Path = "), std::string::npos) << "the echo is at level 2";
    EXPECT_NE(run.out.find("Copying driver " + Shown(Joined(Source(), "a")) + "\n"), std::string::npos);

    run = Stage({"/M:All"});
    EXPECT_NE(run.out.find("\nMachine Types = All\n"), std::string::npos);

    // An empty /C: is still echoed, and selects every category.
    run = Stage({"/C:", "/I:setup"});
    EXPECT_EQ(run.status, 0);
    EXPECT_NE(run.out.find("\nMachine Types = All\nCategories = \nInstallation Mode = setup\n\n"),
              std::string::npos)
        << run.out;
    EXPECT_TRUE(Exists("out/a/DrvInfo.ini"));

    run = Stage({"/V:0"});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err, "");
    std::filesystem::remove(dir_ / "set/DrvSet.ini");
    run = Stage({"/V:0"});
    EXPECT_EQ(run.status, 6);
    EXPECT_EQ(run.out, "");
}

TEST_F(CommandLine, DebugLevelsShowEveryStepResult) {
    AddDriverSetFile("x");
    AddDriver("a", "");
    ProgramResult run = Stage({"/M:y", "/V:debug1"});
    EXPECT_EQ(run.status, 4);
    for (const char* line :
         {"\nCheckMachineTypeSupportInDrvSetIni nRetVAl = 4\n\n", "\nPrepareDestinationPath nRetVAl = 4\n\n",
          "\nCopyDrivers nRetVAl = 4\n\n", "\nModifyDrvSetIniSupportList nRetVal = 4\n\n",
          "\nDrvstage nRetVal = 4\n\n\nDRVstage complete.\n\n"})
        EXPECT_NE(run.out.find(line), std::string::npos) << line << " in\n" << run.out;

    run = Stage({"/ADS", "/V:debug"});
    EXPECT_EQ(run.status, 1) << "debug needs its number";
    run = Stage({"/ADS", "/V:Debug2"});
    EXPECT_EQ(run.status, 0);
    EXPECT_NE(run.out.find("\nCopyADSDrivers nRetVAl = 0\n\n"), std::string::npos) << run.out;
}

} // namespace
