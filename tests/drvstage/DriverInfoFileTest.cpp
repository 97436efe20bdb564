#include "drvstage/DriverInfoFile.h"

#include "support/ConsoleCapture.h"
#include "support/MemoryFileSystem.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>
#include <string>
#include <vector>

namespace {

std::vector<std::string> LinesOf(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

long CountLines(const std::string& text, const std::string& line) {
    std::vector<std::string> lines = LinesOf(text);
    return std::count(lines.begin(), lines.end(), line);
}

DriverInfo ReadDriver(const TempDir& dir, const std::string& content) {
    std::string path = dir.Write("DrvInfo.ini", content);
    DriverInfoFile file(path.c_str(), "", "", 0, DriverFileKind::DriverInformation);
    return file.Info();
}

TEST(DriverInfoFile, ReadsEveryValueForm) {
    TempDir dir;
    DriverInfo info = ReadDriver(dir, "[Driver Information]\n"
                                      "Description =  Storage driver \t\n"
                                      "installation mode=Setup\n"
                                      "Automatically Reboots = Yes\n"
                                      "Reboot Required = True\n"
                                      "Required For ADS = yes\n"
                                      "Time Delay After = 15s\n"
                                      "Category = Storage\n"
                                      "Supported Systems = 8840,8841\n"
                                      "Supported Locales = en\n");
    EXPECT_STREQ(info.description, "Storage driver");
    EXPECT_STREQ(info.installationMode, "Setup");
    EXPECT_TRUE(info.automaticallyReboots);
    EXPECT_TRUE(info.rebootRequired);
    EXPECT_FALSE(info.requiredForAds) << "flags are case-sensitive";
    EXPECT_EQ(info.timeDelayAfter, 15);
    EXPECT_STREQ(info.category, "Storage");
    EXPECT_STREQ(info.supportedSystems, "8840,8841");
    EXPECT_STREQ(info.unsupportedSystems, "");
    EXPECT_STREQ(info.supportedLocales, "en");

    info = ReadDriver(dir, "[Driver Information]\nRequired For ADS = TRUE\nTime Delay After = soon\n");
    EXPECT_FALSE(info.requiredForAds);
    EXPECT_EQ(info.timeDelayAfter, 0);
}

TEST(DriverInfoFile, MissingFileIsADriverForEveryMachineType) {
    TempDir dir;
    DriverInfoFile file((dir / "none.ini").c_str(), "", "", 0, DriverFileKind::DriverInformation);
    EXPECT_TRUE(file.IsOpened());
    EXPECT_STREQ(file.Info().category, "");
    EXPECT_FALSE(file.Info().requiredForAds);
    EXPECT_TRUE(file.SupportsMachineType("8840"));
}

// A file that exists but cannot be read is no empty driver: it reports the failure and is never written
// over. One that can be read but not looked for keeps its values when rewritten.
TEST(DriverInfoFile, FailingFileSystemIsNotTakenForAMissingFile) {
    const std::string content = "[Driver Information]\nCategory = Net\nSupported Systems = a,b\n";
    {
        MemoryFileSystem fileSystem;
        fileSystem.AddFile("/d/DrvInfo.ini", content);
        fileSystem.FailCall(MemoryFileSystem::Call::OpenForReading, 1);
        ScopedFileSystem scoped(fileSystem);
        DriverInfoFile file("/d/DrvInfo.ini", "", "", 0, DriverFileKind::DriverInformation);
        EXPECT_TRUE(file.ReadFailed());
        file.SetSupportedSystems("a");
        EXPECT_FALSE(file.Write());
        EXPECT_TRUE(file.WriteFailed());
        file.Release();
        EXPECT_EQ(fileSystem.Content("/d/DrvInfo.ini"), content);
    }
    {
        MemoryFileSystem fileSystem;
        fileSystem.AddFile("/d/DrvInfo.ini", content);
        fileSystem.FailCall(MemoryFileSystem::Call::FindEntries, 0, "/d/DrvInfo.ini");
        ScopedFileSystem scoped(fileSystem);
        DriverInfoFile file("/d/DrvInfo.ini", "", "", 0, DriverFileKind::DriverInformation);
        EXPECT_FALSE(file.ReadFailed());
        EXPECT_STREQ(file.Info().category, "Net");
        file.SetSupportedSystems("a");
        EXPECT_TRUE(file.Write());
        EXPECT_EQ(CountLines(fileSystem.Content("/d/DrvInfo.ini"), "Category = Net"), 1);
        EXPECT_EQ(CountLines(fileSystem.Content("/d/DrvInfo.ini"), "Supported Systems = a"), 1);
    }
}

struct SupportCase {
    const char* supported;
    const char* unsupported;
    const char* machineType;
    bool expected;
};

class SupportRule : public testing::TestWithParam<SupportCase> {};

TEST_P(SupportRule, Decides) {
    const SupportCase& c = GetParam();
    EXPECT_EQ(DriverInfoFile::IsSupported(c.supported, c.unsupported, c.machineType), c.expected)
        << "supported '" << c.supported << "' unsupported '" << c.unsupported << "' type " << c.machineType;
}

INSTANTIATE_TEST_SUITE_P(
    Lists, SupportRule,
    testing::Values(SupportCase{"All", "", "x", true}, SupportCase{"ALL", "x", "x", true},
                    SupportCase{"none", "", "x", false}, SupportCase{"NONE", "", "", false},
                    SupportCase{"x,y", "", "y", true}, SupportCase{"x,y", "", "z", false},
                    SupportCase{"x,y", "", "Y", false}, SupportCase{"xy", "", "x", false},
                    SupportCase{"", "x,y", "x", false}, SupportCase{"", "x,y", "z", true},
                    SupportCase{"", "", "z", true}, SupportCase{"x", "x", "x", true}));

TEST(DriverInfoFile, BothListsMakeTheFileUnsupportedAndSayWhyWhenAsked) {
    TempDir dir;
    std::string path = dir.Write("DrvInfo.ini", "[Driver Information]\nSupported Systems = x,y\n"
                                                "Unsupported Systems = z\n");
    ConsoleCapture console;
    DriverInfoFile quiet(path.c_str(), "", "", 0, DriverFileKind::DriverInformation);
    EXPECT_FALSE(quiet.SupportsMachineType("x"));
    EXPECT_EQ(console.Out(), "");

    DriverInfoFile talking(path.c_str(), "", "", 1, DriverFileKind::DriverInformation);
    EXPECT_FALSE(talking.SupportsMachineType("x"));
    EXPECT_EQ(console.Out(), "\nError  Supported Systems and Unsupported Systems are both specified\n"
                             "       in the driver information file " +
                                 path + "\n\n");
}

TEST(DriverInfoFile, WritesEveryKeyInOrderWithTheirValueForms) {
    TempDir dir;
    std::string path = dir.Write("DrvInfo.ini", "[Driver Information]\nPath = setup.exe\n"
                                                "Time Delay After = 0\nReboot Required = Yes\n"
                                                "Supported Systems = x,y\n\n[Other]\n; keep me\nKey = 1\n");
    {
        DriverInfoFile file(path.c_str(), "", "", 0, DriverFileKind::DriverInformation);
        file.SetSupportedSystems("y");
        file.SetUnsupportedSystems("");
        EXPECT_TRUE(file.Write());
        EXPECT_FALSE(file.WriteFailed());
    }
    std::string written = dir.Read("DrvInfo.ini");
    std::vector<std::string> lines = LinesOf(written);
    const std::vector<std::string> keys = {
        "Path = setup.exe", "Time Delay After =",    "Reboot Required = True", "Supported Systems = y",
        "Description =",    "Installation Mode =",   "Parameters =",           "Automatically Reboots =",
        "PCIVenDevId =",    "Order Before =",        "Order After =",          "Required For ADS =",
        "Category =",       "Unsupported Systems =", "Supported Locales =",    "Unsupported Locales ="};
    for (const std::string& key : keys)
        EXPECT_EQ(CountLines(written, key), 1) << key << " in\n" << written;
    EXPECT_EQ(CountLines(written, "; keep me"), 1);
    EXPECT_EQ(CountLines(written, "Key = 1"), 1);
    auto at = [&](const std::string& line) {
        return std::find(lines.begin(), lines.end(), line) - lines.begin();
    };
    EXPECT_LT(at("Unsupported Locales ="), at("[Other]")) << "new keys stay in their section";
    const std::vector<std::string> header = {
        ";" + std::string(57, '/'), ";//", ";//  Driver Information File", ";//", ";//", "",
        "[Driver Information]"};
    ASSERT_GE(lines.size(), header.size());
    EXPECT_EQ(std::vector<std::string>(lines.begin(), lines.begin() + 7), header);
}

TEST(DriverInfoFile, RewritingKeepsASingleHeader) {
    TempDir dir;
    std::string path = dir.Write("DrvInfo.ini", "[Driver Information]\nSupported Systems = x,y\n");
    for (const char* list : {"y", "x"}) {
        DriverInfoFile file(path.c_str(), "scan", "2.0", 0, DriverFileKind::DriverInformation);
        file.SetSupportedSystems(list);
        EXPECT_TRUE(file.Write());
    } // each release may write again
    std::string once = dir.Read("DrvInfo.ini");
    EXPECT_EQ(CountLines(once, ";" + std::string(57, '/')), 1);
    EXPECT_EQ(CountLines(once, ";//  Driver Information File"), 1);
    EXPECT_EQ(CountLines(once, ";//  Generated by scan Driver Scan Tool version 2.0"), 1);
    EXPECT_EQ(CountLines(once, ";//"), 4);
    EXPECT_EQ(CountLines(once, "Supported Systems = x"), 1);
}

TEST(DriverInfoFile, TextmodeAndDriverSetKinds) {
    TempDir dir;
    std::string textmode = dir.Write("txtsetup.ini", "[Main]\nDrivers = a.sys, b.sys \n");
    {
        DriverInfoFile file(textmode.c_str(), "", "", 0, DriverFileKind::Textmode);
        EXPECT_STREQ(file.Info().textmodeDrivers, "a.sys, b.sys");
        EXPECT_TRUE(file.Write());
    }
    std::string written = dir.Read("txtsetup.ini");
    EXPECT_EQ(CountLines(written, ";//  Driver Information File"), 1);
    EXPECT_EQ(CountLines(written, "Drivers = a.sys, b.sys"), 1);
    EXPECT_EQ(CountLines(written, "Description ="), 0);

    std::string driverSet = dir.Write("set.ini", "[Driver Information]\nSupported Systems = x\n"
                                                 "Unsupported Systems = y\n");
    {
        DriverInfoFile file(driverSet.c_str(), "", "", 0, DriverFileKind::DriverSetInformation);
        EXPECT_STREQ(file.Info().supportedSystems, "x");
        EXPECT_STREQ(file.Info().unsupportedSystems, "y");
        file.SetSupportedSystems("z");
        EXPECT_TRUE(file.Write());
    }
    EXPECT_EQ(dir.Read("set.ini"), "[Driver Information]\nSupported Systems = x\nUnsupported Systems = y\n")
        << "a driver set information file is never written";
}

} // namespace
