#include "arrayplan/model/ControllerIni.h"
#include "arrayplan/model/Catalogue.h"
#include "foundation/Console.h"
#include "support/ConsoleCapture.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

namespace {

CString directoryOf(const TempDir& dir) {
    return CString((dir.Path().string() + "/").c_str());
}

TEST(ControllerIni, ReadsEveryFieldWithItsDefaults) {
    TempDir dir;
    dir.Write("Vaultix-Q4.ini", "[RAIDController]\n"
                                "Model = Vaultix-Q4\n"
                                "StripeSizes = 8K,16K,32K,64K\n"
                                "MaxArrays = 4\n"
                                "RAIDLevels = 0,r1,5\n"
                                "Tool.linux = rxsetup\n"
                                "PCI = 1f0a:0104,1f0a:0105\n"
                                "SharePCI = true\n"
                                "[5]\n"
                                "MinPhysicalDrives = 3\n"
                                "MaxPhysicalDrives = 12\n"
                                "[r1]\n"
                                "MaxPhysicalDrives = 2\n");
    ControllerIni ini(directoryOf(dir), "Vaultix-Q4", Console::Instance(), CurrentFileSystem());
    ASSERT_TRUE(ini.load());
    EXPECT_EQ(ini.model(), "Vaultix-Q4");
    EXPECT_EQ(ini.stripeSizes(), (std::vector<int>{0, 1, 2, 3}));
    EXPECT_EQ(ini.maxArrays(), 4);
    EXPECT_EQ(ini.maxHotSpares(), 8);
    EXPECT_EQ(ini.maxLogicalDrivesInArray(), 8);
    EXPECT_EQ(ini.maxTotalLogicalDrives(), 8);
    EXPECT_EQ(ini.maxTotalPhysicalDrives(), 64);
    EXPECT_EQ(ini.toolLinux(), "rxsetup");
    EXPECT_EQ(ini.toolDos(), "");
    EXPECT_EQ(ini.pciIdentities(), (std::vector<std::string>{"1f0a:0104", "1f0a:0105"}));
    EXPECT_TRUE(ini.sharesPci());

    // Each level's limits come from the section named by its item as listed.
    EXPECT_EQ(ini.minPhysicalDrives(kRaid5), 3);
    EXPECT_EQ(ini.maxPhysicalDrives(kRaid5), 12);
    EXPECT_EQ(ini.maxLogicalDrives(kRaid5), 8);
    EXPECT_EQ(ini.maxPhysicalDrives(kRaid1), 2);
    EXPECT_EQ(ini.minPhysicalDrives(kRaid0), 1);
    EXPECT_EQ(ini.maxPhysicalDrives(kRaid0), 16);
    EXPECT_EQ(ini.minPhysicalDrives(kRaid10), -1);
    EXPECT_EQ(ini.maxPhysicalDrives(kRaid10), -1);
    EXPECT_EQ(ini.maxLogicalDrives(kRaid10), -1);
}

TEST(ControllerIni, OnlyTheLetterKIsRemovedFromStripeItems) {
    TempDir dir;
    dir.Write("Vaultix-Q1.ini", "[RAIDController]\nModel = Vaultix-Q1\nStripeSizes = 64KB,128K\n");
    ControllerIni ini(directoryOf(dir), "Vaultix-Q1", Console::Instance(), CurrentFileSystem());
    ASSERT_TRUE(ini.load());
    ConsoleCapture capture;
    EXPECT_TRUE(ini.stripeSizeSupported("128"));
    EXPECT_EQ(capture.Out(), "");
    EXPECT_FALSE(ini.stripeSizeSupported("64"));
    EXPECT_EQ(capture.Out(), "\nSupported Stripe sizes for Vaultix-Q1 are: 128\n");
}

// Items are taken as listed, blanks included: a level's section is named by its item exactly, and only
// the letter "K" is removed from the ends of a stripe item.
TEST(ControllerIni, ItemsAreNotTrimmed) {
    struct Case {
        const char* lines;
        std::vector<int> stripeSizes;
        int raid5Minimum;
        std::vector<std::string> pci;
    };
    const Case cases[] = {
        {"StripeSizes = 32K ,64K\n", {3}, -1, {}},
        {"StripeSizes = 8K, 16K,K32K\n", {0, 2}, -1, {}},
        {"RAIDLevels = 0, 5\n[5]\nMinPhysicalDrives = 3\n[ 5]\nMinPhysicalDrives = 4\n", {}, 1, {}},
        {"RAIDLevels = 0,5\n[5]\nMinPhysicalDrives = 3\n", {}, 3, {}},
        {"PCI = a, b\n", {}, -1, {"a", " b"}},
    };
    for (const Case& c : cases) {
        TempDir dir;
        dir.Write("Vaultix-Q4.ini", std::string("[RAIDController]\nModel = Vaultix-Q4\n") + c.lines);
        ControllerIni ini(directoryOf(dir), "Vaultix-Q4", Console::Instance(), CurrentFileSystem());
        ASSERT_TRUE(ini.load()) << c.lines;
        EXPECT_EQ(ini.stripeSizes(), c.stripeSizes) << c.lines;
        EXPECT_EQ(ini.minPhysicalDrives(kRaid5), c.raid5Minimum) << c.lines;
        EXPECT_EQ(ini.pciIdentities(), c.pci) << c.lines;
    }
}

TEST(ControllerIni, ListingsOfUnsupportedValues) {
    TempDir dir;
    dir.Write("Vaultix-Q2.ini", "[RAIDController]\nModel = Vaultix-Q2\nRAIDLevels = 0,1E,spanned,5\n");
    ControllerIni ini(directoryOf(dir), "Vaultix-Q2", Console::Instance(), CurrentFileSystem());
    ASSERT_TRUE(ini.load());
    ConsoleCapture capture;
    EXPECT_FALSE(ini.stripeSizeSupported("64"));
    EXPECT_FALSE(ini.raidLevelSupported(kRaid10));
    EXPECT_TRUE(ini.raidLevelSupported(kRaid1E));
    EXPECT_EQ(capture.Out(), "\nSupported Stripe sizes for Vaultix-Q2 are: \n"
                             "\nSupported RAID levels for Vaultix-Q2 are: 0, 1E, , 5\n");
}

TEST(ControllerIni, LoadFailures) {
    TempDir dir;
    dir.Write("Vaultix-Q3.ini", "[RAIDController]\nRAIDLevels = 0,7\n");
    ConsoleCapture capture;
    ControllerIni unknownLevel(directoryOf(dir), "Vaultix-Q3", Console::Instance(), CurrentFileSystem());
    EXPECT_FALSE(unknownLevel.load());
    EXPECT_EQ(capture.Out(), "DEBUG:RAID Level not supported\n");

    capture.Clear();
    ControllerIni missing(directoryOf(dir), "Vaultix-Q5", Console::Instance(), CurrentFileSystem());
    EXPECT_FALSE(missing.load());
    EXPECT_EQ(capture.Out(), missing.fileName().Str() + " doesn't exists\n");
    EXPECT_EQ(missing.failureLine(), "");

    // A file that cannot be read whole is no file without limits; the caller names it with the reason.
    dir.Write("Vaultix-Q6.ini", std::string(70000, 'x'));
    ControllerIni unreadable(directoryOf(dir), "Vaultix-Q6", Console::Instance(), CurrentFileSystem());
    EXPECT_FALSE(unreadable.load());
    EXPECT_EQ(unreadable.failureLine(),
              unreadable.fileName().Str() + ": line 1 is longer than 65536 characters\n");
}

TEST(ControllerIni, FileNameIsDirectoryModelAndExtension) {
    EXPECT_EQ(ControllerIni::fileName("C:\\kit\\raid\\", "Vaultix-Q4").Str(),
              "C:\\kit\\raid\\Vaultix-Q4.ini");
    EXPECT_EQ(ControllerIni::fileName("", "Vaultix controller").Str(), "Vaultix controller.ini");
}

TEST(ControllerIni, DumpShowsEveryField) {
    TempDir dir;
    dir.Write("Vaultix-R1.ini", "[RAIDController]\nModel=Vaultix-R1\nStripeSizes=8K,64K\nRAIDLevels=1\n"
                                "Tool.dos=m.exe\nPCI=a,b\n[1]\nMaxPhysicalDrives=2\n");
    ControllerIni ini(directoryOf(dir), "Vaultix-R1", Console::Instance(), CurrentFileSystem());
    ASSERT_TRUE(ini.load());
    ConsoleCapture capture;
    ini.dump();
    EXPECT_EQ(capture.Out(), "Model=Vaultix-R1\nStripsizes=8,64\nMaxHotSpares=8\nMaxArrays=8\n"
                             "MaxLogicalDrivesInArray=8\nMaxTotalLogicalDrives=8\nMaxTotalPhysicalDrives=64\n"
                             "Tool_dos=m.exe\nTool_linux=\nTool_windows=\na,b\nSharePCI=false\n"
                             "RAID=1\n  MinPhysicalDrives=1\n  MaxPhysicalDrives=2\n  MaxLogicalDrives=8\n");
}

} // namespace
